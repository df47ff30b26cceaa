#pragma once
// The host's road to a project: a project object created the way a host creates it, the whole
// project read into memory through it, and edits written back through the working copy so a
// failed command leaves the project file as it was.
#include <memory>
#include <string>
#include <vector>

#include "host/ComRef.h"
#include "host/HostCommand.h"
#include "somnex/ScrProject.h"

namespace host {

enum class ProjectKind { Slideshow, Flash };

// Through CoCreateInstance when the engine is registered, else from the libsomnex.so beside
// this executable.
void* CreateEngineObject(const CLSID& clsid, const IID& iid);
// A Flash project is the one with a movie list or Flash settings; anything else is a slideshow.
ProjectKind KindOfProjectFile(const std::string& path);

std::u16string Wide(const std::string& text);
std::string Narrow(const char16_t* text);

struct Movie {
    somnex::Record<TFlashRec> Flash;
    std::vector<std::string> Attachments;
};

// One project with every setting and list, as the project object gives them.
class HostProject {
public:
    explicit HostProject(ProjectKind kind);

    ProjectKind Kind() const { return kind_; }
    const std::string& Path() const { return path_; }

    // Opens PROJECT (the kind chosen from the file) and reads everything.
    static std::unique_ptr<HostProject> Open(const std::string& path);
    // A new project at path with the format's defaults, written at once; path must not exist.
    static void Create(ProjectKind kind, const std::string& path, const std::string* name,
                       const std::string* author);
    // Writes the records and lists through the working copy and replaces the project file.
    void Save();

    // Calls fn(recordName, record) for every settings record of this kind, in order.
    template <class Fn>
    void ForEachRecord(Fn&& fn) {
        fn("FileInfo", *FileInfo);
        fn("ScrInfo", *ScrInfo);
        fn("ControlSetting", *ControlSetting);
        fn("InterfaceSetting", *InterfaceSetting);
        fn("InternetBanner", *InternetBanner);
        fn("PlayerLogo", *PlayerLogo);
        if (kind_ == ProjectKind::Slideshow) {
            fn("SplashScreen", *SplashScreen);
            fn("ImageSetting", *ImageSetting);
            fn("MusicSetting", *MusicSetting);
            fn("Background", *Background);
            fn("Effect", *Effect);
            fn("BuildSetting", *BuildSetting);
        } else {
            fn("FlashSetting", *FlashSetting);
        }
    }

    somnex::Record<TFileInfo> FileInfo;
    somnex::Record<TScrInfo> ScrInfo;
    somnex::Record<TControlSetting> ControlSetting;
    somnex::Record<TScreenSaverInterface> InterfaceSetting;
    somnex::Record<TInternetBanner> InternetBanner;
    somnex::Record<TPlayerLogo> PlayerLogo;
    somnex::Record<TSplashScreen> SplashScreen;
    somnex::Record<TImageSetting> ImageSetting;
    somnex::Record<TMusicSetting> MusicSetting;
    somnex::Record<TScreenSaverBackground> Background;
    somnex::Record<TScreensaverEffect> Effect;
    somnex::Record<TBuildSetting> BuildSetting;
    somnex::Record<TScreenSaverFlash> FlashSetting;
    std::vector<somnex::Record<TImageRec>> Images;
    std::vector<std::string> Music;
    std::vector<Movie> Movies;

private:
    void SetDefaults();
    void ReadAll();
    void WriteAll();

    ProjectKind kind_;
    std::string path_;
    ComRef<IIniScrProject> object_;
    IIniPCVScrProject* pcv_ = nullptr; // the same object, when a slideshow
    IIniVCVScrProject* vcv_ = nullptr; // the same object, when a Flash project
};

// Sets RECORD.FIELD from text; raises std::invalid_argument naming what is wrong.
void SetField(HostProject& project, const std::string& assignment);

std::string ToJson(HostProject& project);
std::string ToText(HostProject& project);

// Full path of an existing regular file; raises std::invalid_argument otherwise.
std::string ExistingFile(const std::string& path);
// Parses a whole decimal 32-bit number; raises std::invalid_argument naming what.
int32_t ParseInt(const std::string& text, const std::string& what);
// Line breaks as the project records carry them: CR LF.
std::string CrLf(const std::string& text);

// Options of the form --name VALUE mixed with positional arguments. Names listed in multi take
// every following argument up to the next option; flags take none.
struct ParsedArgs {
    std::vector<std::string> Positional;
    std::vector<std::pair<std::string, std::vector<std::string>>> Options;
    const std::vector<std::string>* Find(const std::string& name) const;
    const std::string* Single(const std::string& name) const;
    bool Has(const std::string& name) const { return Find(name) != nullptr; }
};
ParsedArgs ParseArgs(const Args& args, const std::vector<std::string>& single,
                     const std::vector<std::string>& multi, const std::vector<std::string>& flags = {});

} // namespace host
