#include "host/ProjectAccess.h"

#include <cctype>
#include <fstream>
#include <unistd.h>

#include <charconv>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "platform/com/InprocServer.h"
#include "platform/text/AnsiText.h"
#include "somnex/Somnex.h"

namespace host {

namespace fs = std::filesystem;

namespace {

// Versions below this split picture lines at "|", but WriteProject labels the file "2.0": lines
// written in the same session would not read back, so such projects are not edited in place.
constexpr const char* kOldestEditableVersion = "1.4";

const char* EditorOf(ProjectKind kind) {
    return kind == ProjectKind::Slideshow ? "Pictavio" : "Vectavio";
}

ComRef<IIniScrProject> NewObject(ProjectKind kind, IIniPCVScrProject*& pcv, IIniVCVScrProject*& vcv) {
    pcv = nullptr;
    vcv = nullptr;
    if (kind == ProjectKind::Slideshow) {
        pcv = static_cast<IIniPCVScrProject*>(
            CreateEngineObject(CLSID_IIniPCVScrProject, IID_IIniPCVScrProject));
        return ComRef<IIniScrProject>(pcv);
    }
    vcv = static_cast<IIniVCVScrProject*>(CreateEngineObject(CLSID_IIniVCVScrProject, IID_IIniVCVScrProject));
    return ComRef<IIniScrProject>(vcv);
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

std::string ValueText(bool v) {
    return v ? "true" : "false";
}
std::string ValueText(int32_t v) {
    return std::to_string(v);
}
std::string ValueText(uint8_t v) {
    return std::to_string(v);
}
std::string ValueText(const char16_t* v) {
    return JsonString(Narrow(v));
}

template <class R>
std::string RecordJson(const R& r, const std::string& indent) {
    std::string out = "{";
    bool first = true;
    somnex::ForEachField(r, [&](const char* name, const auto& field) {
        out += first ? "\n" : ",\n";
        first = false;
        out += indent + "  " + JsonString(name) + ": " + ValueText(field);
    });
    return out + "\n" + indent + "}";
}

template <class R>
std::string RecordText(const R& r, const std::string& indent) {
    std::string out;
    somnex::ForEachField(r, [&](const char* name, const auto& field) {
        out += indent + name + " = " + ValueText(field) + "\n";
    });
    return out;
}

std::string ArrayJson(const std::vector<std::string>& items, const std::string& indent) {
    if (items.empty()) return "[]";
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i)
        out += (i ? ",\n" : "\n") + indent + "  " + JsonString(items[i]);
    return out + "\n" + indent + "]";
}

bool ParseBool(const std::string& text, const std::string& what) {
    if (text == "1" || text == "true" || text == "yes") return true;
    if (text == "0" || text == "false" || text == "no") return false;
    throw std::invalid_argument(what + ": '" + text + "' is not a Boolean (1, 0, true, false)");
}

void Assign(bool& field, const std::string& text, const std::string& what) {
    field = ParseBool(text, what);
}
void Assign(int32_t& field, const std::string& text, const std::string& what) {
    field = ParseInt(text, what);
}
void Assign(BSTR& field, const std::string& text, const std::string&) {
    BSTR b = plat::AnsiToBstr(text);
    if (!b) throw std::bad_alloc();
    SysFreeString(field);
    field = b;
}

} // namespace

void* CreateEngineObject(const CLSID& clsid, const IID& iid) {
    void* object = nullptr;
    HRESULT hr = plat::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, &object);
    if (SUCCEEDED(hr) && object) return object;
    if (hr != REGDB_E_CLASSNOTREG) throw std::runtime_error(plat::LastCreateError());
    // Not registered: the library this host was built with.
    plat::InprocServer server = plat::LoadInprocServer(ExecutableFolder() + "libsomnex.so");
    IClassFactory* factory = nullptr;
    hr = server.GetClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (FAILED(hr) || !factory) throw std::runtime_error("the engine library has no factory for this class");
    hr = factory->CreateInstance(nullptr, iid, &object);
    factory->Release();
    if (FAILED(hr) || !object) throw std::runtime_error("the engine library could not create the object");
    return object;
}

ProjectKind KindOfProjectFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] != '[') continue;
        size_t end = line.find(']', start);
        if (end == std::string::npos) continue;
        std::string section = line.substr(start + 1, end - start - 1);
        for (char& c : section) c = char(std::tolower(static_cast<unsigned char>(c)));
        if (section == "flashs" || section == "flashsetting") return ProjectKind::Flash;
    }
    return ProjectKind::Slideshow;
}

std::u16string Wide(const std::string& text) {
    return plat::AnsiToWide(text);
}

std::string Narrow(const char16_t* text) {
    return plat::BstrToAnsi(text);
}

std::string ExistingFile(const std::string& path) {
    std::error_code ec;
    fs::path full = fs::absolute(path, ec).lexically_normal();
    if (ec || !fs::is_regular_file(full, ec))
        throw std::invalid_argument("'" + path + "' is not an existing file");
    return full.string();
}

int32_t ParseInt(const std::string& text, const std::string& what) {
    int32_t v = 0;
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, v);
    if (text.empty() || ec != std::errc() || p != end)
        throw std::invalid_argument(what + ": '" + text + "' is not a whole number in the 32-bit range");
    return v;
}

std::string CrLf(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out += "\r\n";
            ++i;
        } else if (text[i] == '\n' || text[i] == '\r') {
            out += "\r\n";
        } else {
            out += text[i];
        }
    }
    return out;
}

HostProject::HostProject(ProjectKind kind) : kind_(kind) {}

std::unique_ptr<HostProject> HostProject::Open(const std::string& path) {
    std::error_code ec;
    fs::path full = fs::absolute(path, ec).lexically_normal();
    if (ec || !fs::is_regular_file(full, ec)) throw std::invalid_argument("'" + path + "' does not exist");
    std::u16string name = Wide(full.string());

    // A slideshow object accepts every project, and any file without a version as an old one;
    // a file counts when it is marked as a project or really names an old version.
    ComRef<IIniScrProject> probe(
        static_cast<IIniScrProject*>(CreateEngineObject(CLSID_IIniScrProject, IID_IIniScrProject)));
    bool marked = probe->IsProjectFile(name.c_str());
    auto project = std::make_unique<HostProject>(ProjectKind::Slideshow);
    project->path_ = full.string();
    project->object_ = NewObject(ProjectKind::Slideshow, project->pcv_, project->vcv_);
    const std::string notProject = "'" + path + "' is not a screensaver project";
    if (!project->object_->IsProjectFile(name.c_str())) throw std::invalid_argument(notProject);
    if (!project->object_->OpenProject(name.c_str()))
        throw std::runtime_error("'" + path + "' could not be opened (its folder must be writable)");
    project->object_->GetFileInfo(project->FileInfo.Out());
    if (!marked && Narrow(project->FileInfo->Version) >= "2.0") throw std::invalid_argument(notProject);
    if (Narrow(project->FileInfo->EditorName) == EditorOf(ProjectKind::Flash)) {
        project->object_->CloseProject();
        project->kind_ = ProjectKind::Flash;
        project->object_ = NewObject(ProjectKind::Flash, project->pcv_, project->vcv_);
        if (!project->object_->OpenProject(name.c_str()))
            throw std::runtime_error("'" + path + "' could not be opened as a Flash project");
    }
    project->ReadAll();
    return project;
}

void HostProject::Create(ProjectKind kind, const std::string& path, const std::string* name,
                         const std::string* author) {
    std::error_code ec;
    fs::path full = fs::absolute(path, ec).lexically_normal();
    if (ec) throw std::invalid_argument("'" + path + "' is not a usable path");
    if (fs::exists(full, ec)) throw std::invalid_argument("'" + path + "' already exists");
    if (!fs::is_directory(full.parent_path(), ec))
        throw std::invalid_argument("the folder of '" + path + "' does not exist");

    HostProject project(kind);
    project.path_ = full.string();
    project.object_ = NewObject(kind, project.pcv_, project.vcv_);
    try {
        project.object_->NewProject(Wide(project.path_).c_str());
        project.object_->SetEditorInfo(Wide(EditorOf(kind)).c_str(), u"2.0");
        project.object_->GetFileInfo(project.FileInfo.Out());
        project.object_->GetScrInfo(project.ScrInfo.Out());
        project.SetDefaults();
        if (name) Assign(project.ScrInfo->Name, *name, "--name");
        if (author) Assign(project.ScrInfo->Author, *author, "--author");
        project.WriteAll();
        project.object_->CloseProject();
    } catch (...) {
        fs::remove(full, ec);
        throw;
    }
}

void HostProject::SetDefaults() {
    // What the file format reads for a missing key, so a new project plays as a default one.
    ControlSetting->UseSetting = true;
    ControlSetting->RestoreMouse = true;
    ControlSetting->RestoreNormalKey = true;
    ControlSetting->MouseSensitvity = 40;
    PlayerLogo->OnClickMode = -1;
    SplashScreen->SplashTransformID = 118;
    SplashScreen->SplashScreenInterval = 2;
    ImageSetting->Interval = 5;
    ImageSetting->SizeMode = 2;
    ImageSetting->CaptionPos = 3;
    MusicSetting->IsLoop = true;
    MusicSetting->Pause = 5;
    Background->BackgroundMode = 2;
    Background->GradientDirection = 2;
    Background->GradientColor_02 = 16744576;
    Effect->EffectMode = 1;
    Effect->OrderMode = 1;
    Effect->EffectStep = 4;
    Effect->EffectDelay = 40;
    BuildSetting->ImageWidth = 800;
    BuildSetting->ImageHeight = 600;
    BuildSetting->ImageQuality = 80;
    BuildSetting->Compress = true;
    FlashSetting->Quality = 1;
    Assign(FlashSetting->DefBackgroundColor, "000000", "");
}

void HostProject::ReadAll() {
    IIniScrProject* o = object_.Get();
    o->GetFileInfo(FileInfo.Out());
    o->GetScrInfo(ScrInfo.Out());
    o->GetControlSetting(ControlSetting.Out());
    o->GetInterfaceSetting(InterfaceSetting.Out());
    o->GetInternetBanner(InternetBanner.Out());
    o->GetPlayerLogo(PlayerLogo.Out());
    if (pcv_) {
        pcv_->GetSplashScreen(SplashScreen.Out());
        pcv_->GetImageSetting(ImageSetting.Out());
        pcv_->GetMusicSetting(MusicSetting.Out());
        pcv_->GetBackground(Background.Out());
        pcv_->GetEffect(Effect.Out());
        pcv_->GetBuildSetting(BuildSetting.Out());
        for (int32_t i = 0, n = pcv_->GetImageCount(); i < n; ++i) {
            Images.emplace_back();
            pcv_->GetImage(i, Images.back().Out());
        }
        for (int32_t i = 0, n = pcv_->GetMusicCount(); i < n; ++i) {
            somnex::BStr music = somnex::BStr::Adopt(pcv_->GetMusic(i));
            Music.push_back(Narrow(music.Get()));
        }
    } else {
        vcv_->GetFlashSetting(FlashSetting.Out());
        for (int32_t i = 0, n = vcv_->GetFlashCount(); i < n; ++i) {
            Movies.emplace_back();
            vcv_->GetFlash(i, Movies.back().Flash.Out());
            somnex::Record<TStrArray> files;
            vcv_->GetAttachments(i, files.Out());
            for (int32_t k = 0; k < files->Count; ++k)
                Movies.back().Attachments.push_back(Narrow(files->Items[k]));
        }
    }
}

void HostProject::WriteAll() {
    IIniScrProject* o = object_.Get();
    o->SetEditorInfo(FileInfo->EditorName, FileInfo->EditorVersion);
    o->SetScrInfo(ScrInfo.Out());
    o->SetControlSetting(ControlSetting.Out());
    o->SetInterfaceSetting(InterfaceSetting.Out());
    o->SetInternetBanner(InternetBanner.Out());
    o->SetPlayerLogo(PlayerLogo.Out());
    if (pcv_) {
        pcv_->SetSplashScreen(SplashScreen.Out());
        pcv_->SetImageSetting(ImageSetting.Out());
        pcv_->SetMusicSetting(MusicSetting.Out());
        pcv_->SetBackground(Background.Out());
        pcv_->SetEffect(Effect.Out());
        pcv_->SetBuildSetting(BuildSetting.Out());
    } else {
        vcv_->SetFlashSetting(FlashSetting.Out());
    }
    // WriteProject erases the slideshow lists: they are written afresh after it.
    if (!o->WriteProject()) throw std::runtime_error("the project's settings could not be written");
    if (pcv_) {
        for (size_t i = 0; i < Images.size(); ++i) pcv_->SetImage(static_cast<int32_t>(i), Images[i].Out());
        pcv_->SetImageCount(static_cast<int32_t>(Images.size()));
        for (size_t i = 0; i < Music.size(); ++i)
            pcv_->SetMusic(static_cast<int32_t>(i), Wide(Music[i]).c_str());
        pcv_->SetMusicCount(static_cast<int32_t>(Music.size()));
    } else {
        int32_t before = vcv_->GetFlashCount();
        for (size_t i = 0; i < Movies.size(); ++i) {
            auto index = static_cast<int32_t>(i);
            vcv_->SetFlash(index, Movies[i].Flash.Out());
            std::vector<std::u16string> wide;
            std::vector<BSTR> items;
            for (const std::string& a : Movies[i].Attachments) wide.push_back(Wide(a));
            for (std::u16string& w : wide) items.push_back(w.data());
            TStrArray files{static_cast<int32_t>(items.size()), items.empty() ? nullptr : items.data()};
            vcv_->SetAttachments(index, &files);
        }
        // Movies removed from the end keep no attachments for a movie added there later.
        TStrArray none{0, nullptr};
        for (auto i = static_cast<int32_t>(Movies.size()); i < before; ++i) vcv_->SetAttachments(i, &none);
        vcv_->SetFlashCount(static_cast<int32_t>(Movies.size()));
    }
}

void HostProject::Save() {
    std::string version = Narrow(FileInfo->Version);
    if (version < kOldestEditableVersion)
        throw std::runtime_error("'" + path_ + "' is a version " + version +
                                 " project; projects older than 1.4 are not edited in place");
    // SaveProject never overwrites, so it saves beside the project and the copy then replaces it.
    std::string temp = path_ + ".saving-" + std::to_string(::getpid());
    std::error_code ec;
    if (fs::exists(temp, ec)) throw std::runtime_error("'" + temp + "' is in the way");
    try {
        WriteAll();
        object_->SaveProject(Wide(temp).c_str());
        if (!fs::is_regular_file(temp, ec)) throw std::runtime_error("the project could not be saved");
        object_->CloseProject();
        fs::rename(temp, path_);
    } catch (...) {
        fs::remove(temp, ec);
        throw;
    }
}

void SetField(HostProject& project, const std::string& assignment) {
    size_t eq = assignment.find('=');
    size_t dot = assignment.find('.');
    if (eq == std::string::npos || dot == std::string::npos || dot > eq)
        throw std::invalid_argument("'" + assignment + "' is not of the form RECORD.FIELD=VALUE");
    std::string record = assignment.substr(0, dot);
    std::string field = assignment.substr(dot + 1, eq - dot - 1);
    std::string value = assignment.substr(eq + 1);
    if (record == "FileInfo" && field != "EditorName" && field != "EditorVersion")
        throw std::invalid_argument("FileInfo." + field + " cannot be changed");
    bool recordFound = false, fieldFound = false;
    project.ForEachRecord([&](const char* name, auto& r) {
        if (record != name) return;
        recordFound = true;
        somnex::ForEachField(r, [&](const char* f, auto& target) {
            if (field != f) return;
            fieldFound = true;
            Assign(target, value, record + "." + field);
        });
    });
    if (!recordFound) throw std::invalid_argument("this project has no record '" + record + "'");
    if (!fieldFound) throw std::invalid_argument(record + " has no field '" + field + "'");
}

std::string ToJson(HostProject& project) {
    std::string out = "{\n  \"Kind\": ";
    out += project.Kind() == ProjectKind::Slideshow ? "\"slideshow\"" : "\"flash\"";
    out += ",\n  \"FileName\": " + JsonString(project.Path());
    project.ForEachRecord(
        [&](const char* name, auto& r) { out += ",\n  " + JsonString(name) + ": " + RecordJson(r, "  "); });
    if (project.Kind() == ProjectKind::Slideshow) {
        out += ",\n  \"Images\": [";
        for (size_t i = 0; i < project.Images.size(); ++i)
            out += (i ? ",\n    " : "\n    ") + RecordJson(*project.Images[i], "    ");
        out += project.Images.empty() ? "]" : "\n  ]";
        out += ",\n  \"Music\": " + ArrayJson(project.Music, "  ");
    } else {
        out += ",\n  \"Movies\": [";
        for (size_t i = 0; i < project.Movies.size(); ++i) {
            const Movie& m = project.Movies[i];
            out += std::string(i ? ",\n" : "\n") + "    {\n      \"Name\": " + ValueText(m.Flash->Name) +
                   ",\n      \"FileName\": " + ValueText(m.Flash->FileName) +
                   ",\n      \"Attachments\": " + ArrayJson(m.Attachments, "      ") + "\n    }";
        }
        out += project.Movies.empty() ? "]" : "\n  ]";
    }
    return out + "\n}\n";
}

std::string ToText(HostProject& project) {
    std::string out = "Project " + project.Path() + " (" +
                      (project.Kind() == ProjectKind::Slideshow ? "slideshow" : "flash") + ")\n";
    project.ForEachRecord(
        [&](const char* name, auto& r) { out += std::string("\n[") + name + "]\n" + RecordText(r, "  "); });
    if (project.Kind() == ProjectKind::Slideshow) {
        out += "\n[Images] " + std::to_string(project.Images.size()) + "\n";
        for (size_t i = 0; i < project.Images.size(); ++i)
            out += "  Image" + std::to_string(i) + "\n" + RecordText(*project.Images[i], "    ");
        out += "\n[Music] " + std::to_string(project.Music.size()) + "\n";
        for (size_t i = 0; i < project.Music.size(); ++i)
            out += "  Music" + std::to_string(i) + " = " + JsonString(project.Music[i]) + "\n";
    } else {
        out += "\n[Movies] " + std::to_string(project.Movies.size()) + "\n";
        for (size_t i = 0; i < project.Movies.size(); ++i) {
            const Movie& m = project.Movies[i];
            out += "  Flash" + std::to_string(i) + "\n" + RecordText(*m.Flash, "    ");
            for (const std::string& a : m.Attachments) out += "    Attachment = " + JsonString(a) + "\n";
        }
    }
    return out;
}

const std::vector<std::string>* ParsedArgs::Find(const std::string& name) const {
    for (const auto& [n, values] : Options)
        if (n == name) return &values;
    return nullptr;
}

const std::string* ParsedArgs::Single(const std::string& name) const {
    const std::vector<std::string>* v = Find(name);
    return v && !v->empty() ? &v->back() : nullptr;
}

ParsedArgs ParseArgs(const Args& args, const std::vector<std::string>& single,
                     const std::vector<std::string>& multi, const std::vector<std::string>& flags) {
    auto listed = [](const std::vector<std::string>& names, const std::string& n) {
        for (const std::string& s : names)
            if (s == n) return true;
        return false;
    };
    ParsedArgs parsed;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) != 0 || a == "--") {
            parsed.Positional.push_back(a);
            continue;
        }
        if (listed(flags, a)) {
            parsed.Options.push_back({a, {}});
        } else if (listed(single, a)) {
            if (i + 1 >= args.size()) throw std::invalid_argument(a + " needs a value");
            parsed.Options.push_back({a, {args[++i]}});
        } else if (listed(multi, a)) {
            std::vector<std::string> values;
            while (i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0) values.push_back(args[++i]);
            if (values.empty()) throw std::invalid_argument(a + " needs at least one value");
            parsed.Options.push_back({a, std::move(values)});
        } else {
            throw std::invalid_argument("unknown option '" + a + "'");
        }
    }
    return parsed;
}

} // namespace host
