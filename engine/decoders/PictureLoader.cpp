#include "engine/decoders/PictureLoader.h"

#include "engine/decoders/DecodeLimits.h"
#include "engine/decoders/Decoders.h"

#include "somnex/EngineError.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace somnex {

namespace {

using DecodeFn = plat::Bitmap (*)(const uint8_t*, size_t, const std::string&);

struct Format {
    const char* ext;
    DecodeFn decode;    // our own decoder, or
    const char* magick; // the GraphicsMagick coder named for it
};

// The extension decides the format, with its Windows meaning.
constexpr Format Formats[] = {
    {"bmp", nullptr, "BMP"},
    {"dib", nullptr, "BMP"},
    {"rle", nullptr, "BMP"},
    {"ico", nullptr, "ICO"},
    {"wmf", nullptr, "WMF"},
    {"emf", DecodeEmf, nullptr},
    {"jpg", DecodeJpeg, nullptr},
    {"jpeg", DecodeJpeg, nullptr},
    {"jpe", DecodeJpeg, nullptr},
    {"jfif", DecodeJpeg, nullptr},
    {"tif", nullptr, "TIFF"},
    {"tiff", nullptr, "TIFF"},
    {"fax", nullptr, "FAX"},
    {"eps", nullptr, "EPS"},
    {"tga", nullptr, "TGA"},
    {"vst", nullptr, "TGA"},
    {"icb", nullptr, "TGA"},
    {"vda", nullptr, "TGA"},
    {"win", nullptr, "TGA"},
    {"pcx", nullptr, "PCX"},
    {"pcd", nullptr, "PCD"},
    {"psd", DecodePsd, nullptr},
    {"psp", DecodePsp, nullptr},
    {"png", DecodePng, nullptr},
    {"gif", nullptr, "GIF"},
    {"sgi", nullptr, "SGI"},
    {"rgb", nullptr, "SGI"},
    {"rgba", nullptr, "SGI"},
    {"bw", nullptr, "SGI"},
    {"rla", nullptr, "RLA"},
    {"rpf", nullptr, "RLA"},
    {"ppm", nullptr, "PPM"},
    {"pgm", nullptr, "PGM"},
    {"pbm", nullptr, "PBM"},
    {"cut", nullptr, "CUT"},
    {"pic", DecodeAnimatorPic, nullptr},
    {"cel", DecodeAnimatorPic, nullptr},
};

// Files are read whole before decoding; none of the formats needs more.
constexpr std::uintmax_t MaxPictureFileBytes = std::uintmax_t(1) << 30;

std::string Lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string ExtensionOf(const std::string& pathOrExt) {
    const std::string ext = std::filesystem::path(pathOrExt).extension().string();
    if (!ext.empty()) return Lower(ext.substr(1));
    return Lower(pathOrExt[0] == '.' ? pathOrExt.substr(1) : pathOrExt);
}

const Format* FindFormat(const std::string& ext) {
    for (const Format& f : Formats)
        if (ext == f.ext) return &f;
    return nullptr;
}

} // namespace

const std::vector<std::string>& PictureExtensions() {
    static const std::vector<std::string> list = [] {
        std::vector<std::string> v;
        for (const Format& f : Formats) v.emplace_back(f.ext);
        return v;
    }();
    return list;
}

bool IsPictureExtension(const std::string& path) {
    const std::string ext = std::filesystem::path(path).extension().string();
    return ext.size() > 1 && FindFormat(Lower(ext.substr(1))) != nullptr;
}

plat::Bitmap DecodePicture(const std::string& ext, const uint8_t* data, size_t size,
                           const std::string& what) {
    const Format* f = ext.empty() ? nullptr : FindFormat(ExtensionOf(ext));
    if (!f) FailDecode(what, "unknown picture format");
    if (f->decode) return f->decode(data, size, what);
    return DecodeWithMagick(f->magick, data, size, what);
}

plat::Bitmap LoadPicture(const std::string& path) {
    const std::string ext = std::filesystem::path(path).extension().string();
    if (ext.size() < 2 || !FindFormat(Lower(ext.substr(1)))) FailDecode(path, "unknown picture format");
    std::error_code ec;
    const std::uintmax_t bytes = std::filesystem::file_size(path, ec);
    if (ec) FailDecode(path, "file not found");
    if (bytes > MaxPictureFileBytes) FailDecode(path, "file too large");
    std::ifstream in(path, std::ios::binary);
    if (!in) FailDecode(path, "cannot open the file");
    std::vector<uint8_t> data(static_cast<size_t>(bytes));
    if (!data.empty() && !in.read(reinterpret_cast<char*>(data.data()), std::streamsize(data.size())))
        FailDecode(path, "cannot read the file");
    return DecodePicture(ext, data.data(), data.size(), path);
}

bool TryLoadPicture(const std::string& path, plat::Bitmap& out) {
    try {
        out = LoadPicture(path);
        return true;
    } catch (const EngineError&) {
        out = plat::Bitmap();
        return false;
    } catch (const std::bad_alloc&) {
        out = plat::Bitmap();
        return false;
    }
}

} // namespace somnex
