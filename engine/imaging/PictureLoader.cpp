#include "engine/imaging/PictureLoader.h"

#include "engine/decoders/JpegCodec.h"
#include "engine/decoders/PictureLoader.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

namespace somnex {

namespace {

bool IsJpegFile(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return ext == ".jpg" || ext == ".jpeg" || ext == ".jpe" || ext == ".jfif";
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& data) {
    std::error_code ec;
    const std::uintmax_t bytes = std::filesystem::file_size(path, ec);
    if (ec || bytes == 0 || bytes > (std::uintmax_t(1) << 30)) return false;
    std::ifstream in(path, std::ios::binary);
    data.resize(size_t(bytes));
    return bool(in.read(reinterpret_cast<char*>(data.data()), std::streamsize(data.size())));
}

} // namespace

plat::Bitmap LoadPictureFile(const std::string& path, const PictureSizeHint& hint) {
    // A JPEG decodes far faster at a reduced DCT scale. Covering the size in both directions is
    // enough for a stretch and more than enough for a fit.
    if (hint.Width > 0 && hint.Height > 0 && IsJpegFile(path)) {
        std::vector<uint8_t> data;
        if (ReadWholeFile(path, data))
            return DecodeJpegScaled(data.data(), data.size(), path, hint.Width, hint.Height);
    }
    // Everything else, including files that cannot be read, goes the loader's ordinary way so its
    // error messages stay the same.
    return LoadPicture(path);
}

} // namespace somnex
