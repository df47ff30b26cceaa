// The picture commands of the reference host, run as a person runs them: the real binary, real
// files made by GraphicsMagick, PNGs read back with Qt.
#include "engine/project/Unit_IniPcvProjectFile.h"
#include "engine/transitions/PSEffect.h"
#include "tests/imaging/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QImage>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

namespace {

namespace fs = std::filesystem;
using somnex::TImageRec;
using somnex::TIniPCVProjectFile;

struct HostRun {
    int status;
    std::string err;
};

std::string Quoted(const std::string& s) {
    return "'" + s + "'";
}

std::set<std::string> NamesIn(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
    return names;
}

// Enough distinct colours to tell a drawn picture from a flat fill.
size_t DistinctColours(const QImage& image) {
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3) colours.insert(image.pixel(x, y));
    return colours.size();
}

void KeepForPeople(const fs::path& file, const std::string& name) {
    const char* out = std::getenv("SOMNEX_TEST_OUT");
    if (!out || !*out) return;
    fs::create_directories(out);
    fs::copy_file(file, fs::path(out) / name, fs::copy_options::overwrite_existing);
}

class HostPicturesTest : public testing::Test {
protected:
    void SetUp() override {
        const char* build = std::getenv("SOMNEX_BUILD_DIR");
        ASSERT_TRUE(build && *build) << "SOMNEX_BUILD_DIR is not set";
        binary = fs::path(build) / "bin" / "somnex";
        ASSERT_TRUE(fs::exists(binary)) << binary;

        Gm("-size 300x200 gradient:navy-orange " + Quoted(File("sea.jpg")));
        Gm("-size 64x48 xc:firebrick " + Quoted(File("a.png")));
        Gm("-size 64x48 gradient:white-darkgreen " + Quoted(File("b.png")));
        std::ofstream(File("broken.jpg")) << "not a picture at all";
        std::ofstream(File("notes.txt")) << "just some notes\n";

        TIniPCVProjectFile p;
        ASSERT_TRUE(p.NewProject(File("show.pcv")));
        p.BuildSetting = {320, 240, 90, false};
        p.WriteProject();
        TImageRec sea, broken;
        sea.FileName = File("sea.jpg");
        broken.FileName = File("broken.jpg");
        p.WriteImage(0, sea);
        p.WriteImage(1, broken);
        p.SetListCount(somnex::TListKind::Images, 2);
        p.CloseProject();
        fixture = NamesIn(dir);
    }

    void Gm(const std::string& args) { ASSERT_EQ(std::system(("gm convert " + args).c_str()), 0) << args; }

    HostRun Somnex(const std::string& args) {
        const std::string errFile =
            (fs::temp_directory_path() / ("somnex-hostpic-err-" + std::to_string(::getpid()))).string();
        const std::string cmd = "cd " + Quoted(dir.string()) + " && " + Quoted(binary.string()) + " " + args +
                                " >/dev/null 2>" + Quoted(errFile);
        const int status = std::system(cmd.c_str());
        HostRun r{WIFEXITED(status) ? WEXITSTATUS(status) : -1, {}};
        std::ifstream err(errFile);
        r.err.assign(std::istreambuf_iterator<char>(err), {});
        fs::remove(errFile);
        return r;
    }

    QImage Png(const std::string& name) {
        QImage image(QString::fromStdString(File(name)), "PNG");
        EXPECT_FALSE(image.isNull()) << name << " is not a readable PNG";
        return image;
    }

    std::string File(const std::string& name) const { return folder.File(name); }

    somnex::testing_support::TempFolder folder{"somnex-hostpic-"};
    const fs::path& dir = folder.Path();
    fs::path binary;
    std::set<std::string> fixture;
};

TEST_F(HostPicturesTest, SheetsComeOutAtTheRequestedSize) {
    // An effects sheet size that is no whole number of cells still comes out exact.
    const struct {
        std::string args, file, keepAs;
        int width, height;
    } cases[] = {
        {"gradients --sheet grad.png --size 900x700", "grad.png", "gradients.png", 900, 700},
        {"effects --sheet fx.png --size 1777x2333 --progress 40", "fx.png", "effects-sheet.png", 1777, 2333},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const HostRun r = Somnex(c.args);
        ASSERT_EQ(r.status, 0) << r.err;
        const QImage image = Png(c.file);
        EXPECT_EQ(image.width(), c.width);
        EXPECT_EQ(image.height(), c.height);
        EXPECT_GT(DistinctColours(image), 100u);
        KeepForPeople(File(c.file), c.keepAs);
    }
}

TEST_F(HostPicturesTest, EffectFramesAreNamedByProgressAndEndOnTheTargetPicture) {
    const HostRun r = Somnex("effects --style 5 --step 25 --from a.png --to b.png -o frames");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(NamesIn(dir / "frames"), (std::set<std::string>{"025.png", "050.png", "075.png", "100.png"}));
    const QImage target = QImage(QString::fromStdString(File("b.png"))).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(Png("frames/100.png").convertToFormat(QImage::Format_RGB32), target);
    const QImage middle = Png("frames/050.png");
    EXPECT_EQ(middle.size(), target.size());
    EXPECT_NE(middle.convertToFormat(QImage::Format_RGB32), target);

    // The same effect chosen by name draws the same frames.
    const std::string name(somnex::EffectName(5));
    ASSERT_EQ(
        Somnex("effects --style " + Quoted(name) + " --step 25 --from a.png --to b.png -o byname").status, 0);
    for (const char* f : {"025.png", "050.png", "075.png", "100.png"})
        EXPECT_EQ(Png(std::string("byname/") + f), Png(std::string("frames/") + f)) << f;
}

TEST_F(HostPicturesTest, BuiltInPicturesAndSizeOptionSetTheFrameSize) {
    const HostRun r = Somnex("effects --style 1 --step 60 --size 120x90 -o frames");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(NamesIn(dir / "frames"), (std::set<std::string>{"060.png", "100.png"}));
    const QImage last = Png("frames/100.png");
    EXPECT_EQ(last.size(), QSize(120, 90));
    EXPECT_GT(DistinctColours(last), 3u);
}

TEST_F(HostPicturesTest, SlideHasTheRequestedOrTheProjectsBuildSize) {
    const struct {
        std::string size;
        int width, height;
    } cases[] = {{"", 320, 240}, {"--size 200x150", 200, 150}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        const HostRun r = Somnex("slide show.pcv 0 -o slide.png " + c.size);
        ASSERT_EQ(r.status, 0) << r.err;
        const QImage slide = Png("slide.png");
        EXPECT_EQ(slide.width(), c.width);
        EXPECT_EQ(slide.height(), c.height);
        EXPECT_GT(DistinctColours(slide), 10u);
    }
    // Preparing the slide leaves no working copy of the project behind.
    std::set<std::string> expected = fixture;
    expected.insert("slide.png");
    EXPECT_EQ(NamesIn(dir), expected);
}

TEST_F(HostPicturesTest, BadInputFailsWithAMessageAndLeavesNothing) {
    const struct {
        std::string args, message;
    } cases[] = {
        {"effects --style 999 -o out", "--style"},
        {"effects --style NoSuchEffect -o out", "NoSuchEffect"},
        {"effects --style 5 --from missing.png -o out", "missing.png"},
        {"effects --style 5 --to broken.jpg -o out", "broken.jpg"},
        {"effects --sheet out.png --size 0x10", "--size"},
        {"effects --sheet out.png --size 100x100", "too small"},
        {"effects --sheet out.png --style 3", "either"},
        {"gradients --sheet out.png --size 12xab", "--size"},
        {"gradients --sheet nofolder/out.png", "nofolder/out.png"},
        {"gradients --sheet out.png --colour red", "--colour"},
        {"slide missing.pcv 0 -o out.png", "missing.pcv"},
        {"slide notes.txt 0 -o out.png", "not a slideshow project"},
        {"slide show.pcv 2 -o out.png", "no picture 2"},
        {"slide show.pcv -1 -o out.png", "INDEX"},
        {"slide show.pcv 1 -o out.png", "could not be prepared"},
        {"slide show.pcv 0", "-o"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const HostRun r = Somnex(c.args);
        EXPECT_NE(r.status, 0);
        EXPECT_NE(r.err.find("somnex: "), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(NamesIn(dir), fixture);
    }
}

} // namespace
