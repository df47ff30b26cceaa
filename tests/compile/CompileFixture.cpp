#include "tests/compile/CompileFixture.h"

#include "engine/project/Unit_IniPcvProjectFile.h"
#include "engine/project/Unit_IniVcvProjectFile.h"
#include "examples/ExampleProject.h"
#include "tests/store/IndependentReader.h"

#include <jpeglib.h>
#include <unistd.h>

#include <csetjmp>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>

namespace compiletest {

namespace {
int32_t Le32(const std::string& s, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | uint8_t(s[at + i]);
    return int32_t(v);
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct JpegErr {
    jpeg_error_mgr mgr;
    jmp_buf jump;
};
void OnJpegError(j_common_ptr cinfo) {
    longjmp(reinterpret_cast<JpegErr*>(cinfo->err)->jump, 1);
}
} // namespace

std::vector<Member> ReadPackage(const std::string& path) {
    std::string data = Slurp(path);
    std::vector<Member> members;
    if (data.size() < 4) {
        ADD_FAILURE() << path << " is too short for a package";
        return members;
    }
    int32_t count = Le32(data, data.size() - 4);
    int64_t dirAt = int64_t(data.size()) - 4 - 264 * int64_t(count);
    if (count < 0 || dirAt < 0) {
        ADD_FAILURE() << "directory of " << count << " entries does not fit";
        return members;
    }
    int64_t expectedOffset = 0;
    for (int32_t i = 0; i < count; ++i) {
        size_t e = size_t(dirAt) + 264 * size_t(i);
        uint8_t len = uint8_t(data[e]);
        Member m;
        m.Name = data.substr(e + 1, len);
        int32_t offset = Le32(data, e + 256), size = Le32(data, e + 260);
        EXPECT_EQ(offset, expectedOffset) << "member " << i;
        if (offset < 0 || size < 0 || offset + int64_t(size) > dirAt) {
            ADD_FAILURE() << "member " << i << " lies outside the member data";
            return members;
        }
        m.Bytes = data.substr(size_t(offset), size_t(size));
        expectedOffset = offset + int64_t(size);
        members.push_back(m);
    }
    EXPECT_EQ(expectedOffset, dirAt) << "bytes between the last member and the directory";
    return members;
}

std::vector<std::map<std::string, std::string>> ReadTable(const fs::path& scratch, const Member& member,
                                                          const std::string& table) {
    fs::path file = scratch / ("extracted-" + member.Name);
    std::ofstream(file, std::ios::binary).write(member.Bytes.data(), std::streamsize(member.Bytes.size()));
    auto records = independent::readTable(file.string(), "TORVALQUINE", table);
    fs::remove(file);
    return records;
}

std::map<std::string, std::string> ReadParams(const fs::path& scratch, const Member& member) {
    std::map<std::string, std::string> params;
    for (auto& r : ReadTable(scratch, member, "Params")) params[r["Section"] + "/" + r["Key"]] = r["Value"];
    return params;
}

JpegInfo InspectJpeg(const std::string& bytes) {
    JpegInfo info;
    if (bytes.empty()) return info;
    jpeg_decompress_struct cinfo{};
    JpegErr err{};
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = OnJpegError;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return JpegInfo{};
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()), (unsigned long)bytes.size());
    jpeg_read_header(&cinfo, TRUE);
    if (cinfo.quant_tbl_ptrs[0]) info.FirstQuant = cinfo.quant_tbl_ptrs[0]->quantval[0];
    jpeg_start_decompress(&cinfo);
    std::vector<unsigned char> row(size_t(cinfo.output_width) * size_t(cinfo.output_components));
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW r = row.data();
        jpeg_read_scanlines(&cinfo, &r, 1);
    }
    info.Width = int(cinfo.output_width);
    info.Height = int(cinfo.output_height);
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    info.Valid = true;
    return info;
}

void CompileFixture::SetUp() {
    dir = fs::temp_directory_path() /
          ("somnex-compile-" + std::to_string(::getpid()) + "-" + std::to_string(std::random_device{}()));
    work = dir / "work";
    fs::create_directories(work);
}

void CompileFixture::TearDown() {
    std::error_code ec;
    fs::remove_all(dir, ec);
}

std::string CompileFixture::Picture(const std::string& name, int w, int h) {
    std::string path = (dir / name).string();
    example::WritePicture(path, w, h, int(name.size()) % 13, uint32_t(name[0]));
    return path;
}

std::string CompileFixture::Tune(const std::string& name) {
    std::string path = (dir / name).string();
    example::WriteTune(path, 0.1, 440);
    return path;
}

std::string CompileFixture::Movie(const std::string& name, size_t size) {
    std::string path = (dir / name).string();
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = char(i * 7 + name.size());
    std::memcpy(bytes.data(), "FWS", std::min<size_t>(3, size));
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    return path;
}

std::string CompileFixture::SlideshowProject(const std::vector<std::string>& pictures,
                                             const std::vector<std::string>& music, bool mute,
                                             int32_t quality) {
    example::ExampleProject show;
    show.Pictures = pictures;
    show.Music = music;
    show.Width = 160;
    show.Height = 120;
    show.Quality = quality;
    show.Mute = mute;
    std::string path = (dir / "show.pcv").string();
    example::WriteProject(path, show);
    return path;
}

std::string CompileFixture::FlashProject(const std::vector<std::string>& movies) {
    std::string path = (dir / "movies.vcv").string();
    somnex::TIniVCVProjectFile p;
    p.NewProject(path);
    p.FileInfo.EditorName = "Vectavio";
    p.FileInfo.EditorVersion = "2.0";
    p.ScrInfo.Name = "Movies";
    p.WriteProject();
    p.SetFlashCount(int32_t(movies.size()));
    for (size_t i = 0; i < movies.size(); ++i)
        p.WriteFlash(int32_t(i), {"movie" + std::to_string(i), movies[i]});
    p.CloseProject();
    return path;
}

std::vector<std::string> CompileFixture::FilesIn(const fs::path& folder) {
    std::vector<std::string> files;
    std::error_code ec;
    for (auto& e : fs::recursive_directory_iterator(folder, ec))
        files.push_back(e.path().filename().string());
    return files;
}

} // namespace compiletest
