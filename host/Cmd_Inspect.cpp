// somnex inspect: what a screensaver package holds, read the way a player reads it.
#include "engine/compiler/PackageFile.h"
#include "engine/compiler/Unit_ScrFileObj.h"
#include "engine/store/TTinyDatabase.h"
#include "engine/store/TTinyTable.h"
#include "host/HostCommand.h"

#include <gcrypt.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>

namespace host {

namespace {

namespace fs = std::filesystem;

std::string sha256(const std::string& bytes) {
    static const bool ready = gcry_check_version(nullptr) != nullptr;
    (void)ready;
    unsigned char digest[32];
    gcry_md_hash_buffer(GCRY_MD_SHA256, digest, bytes.data(), bytes.size());
    static const char hex[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : digest) out += hex[c >> 4], out += hex[c & 15];
    return out;
}

// Width and height from a JPEG's frame header, without decoding it.
std::optional<std::pair<int, int>> jpegSize(const std::string& b) {
    if (b.size() < 4 || uint8_t(b[0]) != 0xFF || uint8_t(b[1]) != 0xD8) return std::nullopt;
    size_t at = 2;
    while (at + 4 <= b.size()) {
        if (uint8_t(b[at]) != 0xFF) return std::nullopt;
        uint8_t marker = uint8_t(b[at + 1]);
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        size_t len = size_t(uint8_t(b[at + 2])) << 8 | uint8_t(b[at + 3]);
        if (len < 2) return std::nullopt;
        bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (at + 9 > b.size()) return std::nullopt;
            int h = uint8_t(b[at + 5]) << 8 | uint8_t(b[at + 6]);
            int w = uint8_t(b[at + 7]) << 8 | uint8_t(b[at + 8]);
            return std::pair{w, h};
        }
        at += 2 + len;
    }
    return std::nullopt;
}

bool isText(const std::string& v) {
    if (v.size() > 1024) return false;
    for (unsigned char c : v)
        if ((c < 0x20 && c != '\t' && c != '\r' && c != '\n' && c != 0x17) || c == 0x7F) return false;
    return true;
}

std::string escaped(const std::string& v, bool json) {
    std::string out;
    for (unsigned char c : v) {
        if (c == '"' && json)
            out += "\\\"";
        else if (c == '\\' && json)
            out += "\\\\";
        else if (c < 0x20 || c == 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, json ? "\\u%04x" : "\\x%02X", c);
            out += buf;
        } else
            out += char(c);
    }
    return out;
}

// One value as the report shows it: text as it stands, anything else as size and digest.
struct Shown {
    std::string text; // the value, or empty for bytes
    bool bytes = false;
    size_t size = 0;
    std::string digest;
    std::optional<std::pair<int, int>> picture;
};

Shown show(const std::string& v, bool forceBytes) {
    Shown s;
    if (!forceBytes && isText(v)) {
        s.text = v;
        return s;
    }
    s.bytes = true;
    s.size = v.size();
    s.digest = sha256(v);
    s.picture = jpegSize(v);
    return s;
}

std::string textOf(const Shown& s) {
    if (!s.bytes) return "\"" + escaped(s.text, false) + "\"";
    std::string out = std::to_string(s.size) + " bytes sha256 " + s.digest;
    if (s.picture)
        out += " jpeg " + std::to_string(s.picture->first) + "x" + std::to_string(s.picture->second);
    return out;
}

std::string jsonOf(const Shown& s) {
    if (!s.bytes) return "\"" + escaped(s.text, true) + "\"";
    std::string out = "{\"size\":" + std::to_string(s.size) + ",\"sha256\":\"" + s.digest + "\"";
    if (s.picture)
        out += ",\"width\":" + std::to_string(s.picture->first) +
               ",\"height\":" + std::to_string(s.picture->second);
    return out + "}";
}

struct Field {
    std::string name;
    Shown value;
};
struct Record {
    std::vector<Field> fields;
};

struct Member {
    somnex::TPackageEntry entry;
    std::string kind; // "", "parameters", "images", "music", "flashs"
    std::string error;
    std::vector<Record> records;
};

const char* kindOfTable(const std::string& table) {
    if (table == "Params") return "parameters";
    if (table == "Images") return "images";
    if (table == "Music") return "music";
    if (table == "Flashs") return "flashs";
    return nullptr;
}

void readDatabase(const std::string& file, Member& m) {
    somnex::TTinyDatabase db;
    db.SetFileName(file);
    db.SetPassword(somnex::kScrFilePassword);
    std::vector<std::string> tables = db.TableNames();
    db.Disconnect();
    for (const std::string& name : tables) {
        const char* kind = kindOfTable(name);
        if (!kind) continue;
        m.kind = kind;
        somnex::TTinyTable t;
        t.SetDatabaseName(file);
        t.SetPassword(somnex::kScrFilePassword);
        t.SetTableName(name);
        t.Open();
        for (t.First(); !t.Eof(); t.Next()) {
            Record r;
            for (size_t i = 0; i < t.FieldCount(); ++i) {
                somnex::TTinyField& f = t.Fields(i);
                bool blob = f.DataType() == somnex::TFieldType::Blob && m.kind != "parameters";
                r.fields.push_back({f.FieldName(), show(f.AsString(), blob)});
            }
            m.records.push_back(std::move(r));
        }
        return;
    }
}

void printText(const std::string& package, const std::vector<Member>& members) {
    std::printf("%s: %zu members\n", package.c_str(), members.size());
    for (size_t i = 0; i < members.size(); ++i) {
        const Member& m = members[i];
        std::printf("%zu  %s  offset %d  size %d%s%s\n", i, escaped(m.entry.Name, false).c_str(),
                    m.entry.Offset, m.entry.Size, m.kind.empty() ? "" : "  ", m.kind.c_str());
        if (!m.error.empty()) std::printf("    error: %s\n", m.error.c_str());
        for (const Record& r : m.records) {
            if (m.kind == "parameters" && r.fields.size() == 3) {
                std::printf("    [%s] %s = %s\n", r.fields[0].value.text.c_str(),
                            r.fields[1].value.text.c_str(), textOf(r.fields[2].value).c_str());
                continue;
            }
            std::string line = "   ";
            for (const Field& f : r.fields) line += " " + f.name + "=" + textOf(f.value);
            std::printf("%s\n", line.c_str());
        }
    }
}

void printJson(const std::string& package, const std::vector<Member>& members) {
    std::printf("{\"package\":\"%s\",\"members\":[", escaped(package, true).c_str());
    for (size_t i = 0; i < members.size(); ++i) {
        const Member& m = members[i];
        std::printf("%s{\"name\":\"%s\",\"offset\":%d,\"size\":%d", i ? "," : "",
                    escaped(m.entry.Name, true).c_str(), m.entry.Offset, m.entry.Size);
        if (!m.kind.empty()) std::printf(",\"kind\":\"%s\"", m.kind.c_str());
        if (!m.error.empty()) std::printf(",\"error\":\"%s\"", escaped(m.error, true).c_str());
        if (m.kind == "parameters") {
            std::printf(",\"parameters\":[");
            for (size_t k = 0; k < m.records.size(); ++k) {
                const auto& f = m.records[k].fields;
                std::printf("%s{\"section\":%s,\"key\":%s,\"value\":%s}", k ? "," : "",
                            jsonOf(f[0].value).c_str(), jsonOf(f[1].value).c_str(),
                            jsonOf(f[2].value).c_str());
            }
            std::printf("]");
        } else if (!m.kind.empty()) {
            std::printf(",\"records\":[");
            for (size_t k = 0; k < m.records.size(); ++k) {
                std::printf("%s{", k ? "," : "");
                const auto& fs = m.records[k].fields;
                for (size_t j = 0; j < fs.size(); ++j)
                    std::printf("%s\"%s\":%s", j ? "," : "", escaped(fs[j].name, true).c_str(),
                                jsonOf(fs[j].value).c_str());
                std::printf("}");
            }
            std::printf("]");
        }
        std::printf("}");
    }
    std::printf("]}\n");
}

// A private folder for the members that are read as databases, removed on every way out.
struct ScratchFolder {
    std::string path;
    ScratchFolder() {
        std::string pattern = (fs::temp_directory_path() / "somnex-inspect-XXXXXX").string();
        if (::mkdtemp(pattern.data())) path = pattern;
    }
    ~ScratchFolder() {
        std::error_code ec;
        if (!path.empty()) fs::remove_all(path, ec);
    }
};

int Inspect(const Args& args) {
    std::string package, extractTo;
    bool json = false;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--json")
            json = true;
        else if (args[i] == "--extract") {
            if (++i == args.size()) return Fail("--extract needs a folder", kUsage);
            extractTo = args[i];
        } else if (int rc = TakeOnePositional(args[i], package)) {
            return rc;
        }
    }
    if (package.empty()) return Fail("inspect needs a PACKAGE", kUsage);

    somnex::TPackageFile reader;
    std::string error;
    reader.OnError = [&](somnex::TBasePackageFile&, const std::string& text) {
        if (error.empty()) error = text;
    };
    if (!fs::is_regular_file(package)) return Fail("no package file '" + package + "'");
    if (!reader.Open(package)) return Fail(error);

    ScratchFolder scratch;
    if (scratch.path.empty()) return Fail("cannot make a temporary folder");
    std::vector<Member> members;
    bool damaged = false;
    for (size_t i = 0; i < reader.Entries().size(); ++i) {
        Member m;
        m.entry = reader.Entries()[i];
        std::vector<uint8_t> bytes;
        if (!reader.ExtractToStream(int32_t(i), bytes)) return Fail(error);
        static const char kSqlite[] = "SQLite format 3";
        if (bytes.size() >= sizeof kSqlite && std::equal(kSqlite, kSqlite + sizeof kSqlite, bytes.begin())) {
            const std::string file = scratch.path + "/member" + std::to_string(i) + ".db";
            std::ofstream(file, std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
            try {
                readDatabase(file, m);
            } catch (const std::exception& e) {
                m.error = e.what();
                damaged = true;
            }
            std::error_code ec;
            fs::remove(file, ec);
            fs::remove(file + "-journal", ec);
        }
        members.push_back(std::move(m));
    }
    if (json)
        printJson(package, members);
    else
        printText(package, members);

    if (!extractTo.empty()) {
        if (!fs::is_directory(extractTo)) return Fail("no folder '" + extractTo + "' to extract to");
        if (extractTo.back() != '/') extractTo += '/';
        if (!reader.ExtractAll(extractTo)) return Fail(error);
    }
    if (damaged) return Fail("some members of '" + package + "' could not be read");
    return kOk;
}

const HostCommandRegistrar command(
    {"inspect", "PACKAGE [--json] [--extract DIR]",
     "List a screensaver package's members, its parameters and its library records.",
     "Parameters are shown as section, key and value; bytes that are not text as their size and SHA-256,\n"
     "pictures also with their JPEG size. --extract writes every member into DIR.",
     Inspect});

} // namespace

} // namespace host
