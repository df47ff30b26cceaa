// The compile driver and both builds in scripted UI mode: every box recorded and answered, every
// progress step recorded by the build hook, the real dialog running offscreen.
#include "engine/com/Unit_ScrCompiler.h"
#include "engine/compiler/BuildProgress.h"
#include "engine/compiler/form_CustomBuildScr.h"
#include "platform/ui/MessageBox.h"
#include "tests/compile/CompileFixture.h"

#include <QApplication>
#include <QPushButton>

#include <fstream>
#include <functional>
#include <iostream>

namespace compiletest {
namespace {

using somnex::kCurrentBar;
using somnex::kTotalBar;

struct Box {
    std::string Text;
    uint32_t Flags;
};

struct Step {
    char Kind; // 'p' progress, 'm' maximum
    int Bar, Position;
    std::string Text;
    bool operator==(const Step&) const = default;
};
std::ostream& operator<<(std::ostream& o, const Step& s) {
    return o << s.Kind << s.Bar << ':' << s.Position << ' ' << s.Text;
}

// Records what the build reports; `OnStep` may ask for a cancel, which the next
// ProcessMessages hands to the build.
class Recorder : public somnex::TBuildProgress {
public:
    void SetMaximum(int Bar, int Maximum) override { add({'m', Bar, Maximum, ""}); }
    void SetProgress(int Bar, int Position, const std::string& Text) override {
        add({'p', Bar, Position, Text});
    }
    void SetReport(const std::string& Text) override { Report = Text; }
    void SetBusy(bool) override {}
    bool ProcessMessages() override { return std::exchange(cancel, false); }

    std::vector<Step> Steps;
    std::string Report;
    std::function<bool(const Step&)> OnStep;

    std::vector<Step> Progress(int bar) const {
        std::vector<Step> out;
        for (const Step& s : Steps)
            if (s.Kind == 'p' && s.Bar == bar) out.push_back(s);
        return out;
    }

private:
    void add(const Step& s) {
        Steps.push_back(s);
        if (OnStep && OnStep(s)) cancel = true;
    }
    bool cancel = false;
};

class CompileTest : public CompileFixture {
protected:
    void SetUp() override {
        CompileFixture::SetUp();
        plat::SetMessageBoxHandler([this](const std::string&, const std::string& text, uint32_t flags) {
            boxes.push_back({text, flags});
            return answer;
        });
        somnex::SetBuildProgressHook(&recorder);
        output = (dir / "out" / "show.scr").string();
        player = MakePlayer();
        fs::create_directories(dir / "out");
    }
    void TearDown() override {
        for (const Box& b : boxes) RecordProperty("box", b.Text);
        if (HasFailure())
            for (const Box& b : boxes) std::cerr << "box: " << b.Text << "\n";
        somnex::SetBuildProgressHook(nullptr);
        plat::SetMessageBoxHandler({});
        CompileFixture::TearDown();
    }

    std::vector<std::string> PcvParams(const std::string& project) const {
        return {player, output, project, work.string() + "/", "Params.dat", "Images.dat", "Music.dat"};
    }
    std::vector<std::string> VcvParams(const std::string& project) const {
        return {player, output, project, work.string() + "/", "Params.dat", "Flashs.dat"};
    }

    template <class Compiler>
    bool Compile(const std::vector<std::string>& params, int32_t value = 0) {
        auto* compiler = new Compiler();
        std::vector<const char*> list;
        for (const std::string& p : params) list.push_back(p.c_str());
        compiler->SetParams(list.data(), int32_t(list.size()) - 1);
        bool result = compiler->Compile(value);
        compiler->Release();
        return result;
    }

    std::string MakePlayer() {
        std::ofstream((dir / "player.exe").string(), std::ios::binary) << "MZ player bytes";
        return (dir / "player.exe").string();
    }

    std::vector<Box> boxes;
    int answer = plat::IDYES;
    Recorder recorder;
    std::string output;
    std::string player;
};

// ---- The driver's checks ----

struct CountCase {
    const char* name;
    bool flash;
    int entries;
};

class WrongParameters : public CompileTest, public ::testing::WithParamInterface<CountCase> {};

TEST_P(WrongParameters, AreReportedOnceAndNothingIsBuilt) {
    std::string project = GetParam().flash ? FlashProject({}) : SlideshowProject({}, {});
    std::vector<std::string> params = {player,  output,  project, work.string() + "/",
                                       "P.dat", "I.dat", "M.dat", "X"};
    params.resize(size_t(GetParam().entries));
    bool result =
        GetParam().flash ? Compile<somnex::TVcvCompiler>(params) : Compile<somnex::TPcvCompiler>(params);
    EXPECT_FALSE(result);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "You input wrong parameter.");
    EXPECT_EQ(boxes[0].Flags & plat::MB_ICONMASK, plat::MB_ICONINFORMATION);
    EXPECT_TRUE(recorder.Steps.empty());
    EXPECT_FALSE(fs::exists(output));
}

INSTANTIATE_TEST_SUITE_P(Counts, WrongParameters,
                         ::testing::Values(CountCase{"SlideshowGivenSix", false, 6},
                                           CountCase{"SlideshowGivenEight", false, 8},
                                           CountCase{"FlashGivenSeven", true, 7},
                                           CountCase{"FlashGivenFive", true, 5}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CompileTest, MissingProjectFileIsAWrongParameter) {
    EXPECT_FALSE(Compile<somnex::TPcvCompiler>(PcvParams((dir / "none.pcv").string())));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "You input wrong parameter.");
}

TEST_F(CompileTest, NoToCreatingTheOutputFolderCreatesNothing) {
    std::string project = SlideshowProject({Picture("a.jpg")}, {});
    output = (dir / "new" / "deeper" / "show.scr").string();
    answer = plat::IDNO;
    EXPECT_FALSE(Compile<somnex::TPcvCompiler>(PcvParams(project)));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "This output folder did not exist. Do you want to create this folder?");
    EXPECT_EQ(boxes[0].Flags, plat::MB_ICONQUESTION | plat::MB_YESNO | plat::MB_DEFBUTTON2);
    EXPECT_FALSE(fs::exists(dir / "new"));
    EXPECT_TRUE(recorder.Steps.empty());
}

TEST_F(CompileTest, YesToCreatingTheOutputFolderMakesEveryLevelAndBuilds) {
    std::string project = SlideshowProject({Picture("a.jpg")}, {});
    output = (dir / "new" / "deeper" / "show.scr").string();
    EXPECT_TRUE(Compile<somnex::TPcvCompiler>(PcvParams(project)));
    EXPECT_TRUE(fs::exists(output));
}

TEST_F(CompileTest, NoToOverwritingLeavesTheFileUntouched) {
    std::string project = SlideshowProject({Picture("a.jpg")}, {});
    std::ofstream(output) << "an older screensaver";
    answer = plat::IDNO;
    EXPECT_FALSE(Compile<somnex::TPcvCompiler>(PcvParams(project)));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "The file \"show.scr\" is existing, Do you want to overwrite it?");
    EXPECT_EQ(boxes[0].Flags & plat::MB_DEFMASK, plat::MB_DEFBUTTON2);
    std::ifstream in(output);
    std::string content((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(content, "an older screensaver");
    EXPECT_TRUE(FilesIn(work).empty());
}

// ---- The slideshow build ----

TEST_F(CompileTest, ThreePicturesAndTwoTunesReportEveryStageInOrder) {
    std::string project = SlideshowProject({Picture("a.jpg"), Picture("b.bmp"), Picture("c.jpg")},
                                           {Tune("x.wav"), Tune("y.wav")});
    ASSERT_TRUE(Compile<somnex::TPcvCompiler>(PcvParams(project)));
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(recorder.Report, "Images: 3 ; Music: 2");
    std::string x = (dir / "x.wav").string(), y = (dir / "y.wav").string();
    std::vector<Step> expected = {
        {'m', kTotalBar, 6, ""},
        {'p', kTotalBar, 1, "Create screensaver."},
        {'p', kTotalBar, 2, "Create screensaver images..."},
        {'m', kCurrentBar, 3, ""},
        {'p', kCurrentBar, 0, "Compress image_1..."},
        {'p', kCurrentBar, 1, "Saving image_1..."},
        {'p', kCurrentBar, 1, "Compress image_2..."},
        {'p', kCurrentBar, 2, "Saving image_2..."},
        {'p', kCurrentBar, 2, "Compress image_3..."},
        {'p', kCurrentBar, 3, "Saving image_3..."},
        {'p', kTotalBar, 3, "Saving screensaver music..."},
        {'m', kCurrentBar, 2, ""},
        {'p', kCurrentBar, 0, "Saving screensaver music..."},
        {'p', kCurrentBar, 1, "Saving Music: " + x},
        {'p', kCurrentBar, 2, "Saving Music: " + y},
        {'p', kTotalBar, 4, "Saving screensaver paramenters..."},
        {'p', kCurrentBar, 0, "Saving screensaver paramenters..."},
        {'p', kCurrentBar, 0, "..."},
        {'m', kCurrentBar, 4, ""},
        {'p', kTotalBar, 5, "Compile screensaver ..."},
        {'p', kCurrentBar, 0, "Start compile screensaver ..."},
        {'p', kCurrentBar, 0, "player.exe"},
        {'p', kCurrentBar, 1, "Params.dat"},
        {'p', kCurrentBar, 2, "Images.dat"},
        {'p', kCurrentBar, 3, "Music.dat"},
        {'p', kTotalBar, 6, "Build screensaver is complete."},
        {'p', kCurrentBar, 0, "..."},
    };
    EXPECT_EQ(recorder.Steps, expected);
    EXPECT_TRUE(FilesIn(work).empty());
}

// The output checked against its documented layout only.
TEST_F(CompileTest, PackageHoldsThePlayerAndDatabasesTheProjectImplies) {
    std::string project = SlideshowProject(
        {Picture("wide.jpg", 400, 100), Picture("small.bmp", 40, 30), (dir / "missing.jpg").string()},
        {Tune("x.wav"), (dir / "gone.wav").string()});
    ASSERT_TRUE(Compile<somnex::TPcvCompiler>(PcvParams(project)));
    std::vector<Member> members = ReadPackage(output);
    ASSERT_EQ(members.size(), 4u);
    EXPECT_EQ(members[0].Name, "player.exe");
    EXPECT_EQ(members[0].Bytes, "MZ player bytes");
    EXPECT_EQ(members[1].Name, "Params.dat");
    EXPECT_EQ(members[2].Name, "Images.dat");
    EXPECT_EQ(members[3].Name, "Music.dat");

    auto images = ReadTable(dir, members[2], "Images");
    ASSERT_EQ(images.size(), 3u);
    for (int i : {0, 1}) {
        JpegInfo jpeg = InspectJpeg(images[i]["ImageData"]);
        EXPECT_TRUE(jpeg.Valid);
        EXPECT_EQ(jpeg.Width, 160);
        EXPECT_EQ(jpeg.Height, 120);
    }
    // A picture that cannot be fitted because its file is missing keeps its place, without data.
    EXPECT_TRUE(images[2]["ImageData"].empty());
    // The example writer gives entry i interval 5 + i % 3 and transition i * 11 % 150.
    EXPECT_EQ(images[1]["ImageOpts"], "6\x17"
                                      "11\x17"
                                      "4\x17"
                                      "40\x17");

    auto music = ReadTable(dir, members[3], "Music");
    ASSERT_EQ(music.size(), 1u) << "a missing tune is skipped";
    EXPECT_EQ(music[0]["FileName"], "x.wav");
    std::ifstream tune((dir / "x.wav").string(), std::ios::binary);
    EXPECT_EQ(music[0]["MusicData"], std::string((std::istreambuf_iterator<char>(tune)), {}));

    auto params = ReadParams(dir, members[1]);
    EXPECT_EQ(params["IMAGES/COUNT"], "3");
    EXPECT_EQ(params["IMAGES/WIDTH"], "160");
    EXPECT_EQ(params["IMAGES/HEIGHT"], "120");
    EXPECT_EQ(params["MUSIC/COUNT"], "2");
    EXPECT_EQ(params["MUSIC/MUTESOUND"], "0");
    EXPECT_EQ(params["VERSION/EDITOR"], "Pictavio");
    EXPECT_EQ(params["VERSION/CANMODIFYPARAMS"], "0");
    EXPECT_EQ(params["BACKGROUND/BACKGROUNDMODE"], "2");
    EXPECT_EQ(params["BASIC/NAME"], "Somnex example");
}

TEST_F(CompileTest, MutedMusicSkipsItsStageAndStoresNoTune) {
    std::string project = SlideshowProject({Picture("a.jpg")}, {Tune("x.wav"), Tune("y.wav")}, true);
    ASSERT_TRUE(Compile<somnex::TPcvCompiler>(PcvParams(project)));
    std::vector<int> totals;
    for (const Step& s : recorder.Progress(kTotalBar)) totals.push_back(s.Position);
    EXPECT_EQ(totals, (std::vector<int>{1, 2, 4, 5, 6}));
    EXPECT_EQ(recorder.Report, "Images: 1 ; Music: 2");
    std::vector<Member> members = ReadPackage(output);
    ASSERT_EQ(members.size(), 4u);
    EXPECT_TRUE(ReadTable(dir, members[3], "Music").empty());
    auto params = ReadParams(dir, members[1]);
    EXPECT_EQ(params["MUSIC/COUNT"], "0");
    EXPECT_EQ(params["MUSIC/MUTESOUND"], "1");
}

TEST_F(CompileTest, BuildKindTwoLeavesThePlayerOut) {
    std::string project = SlideshowProject({Picture("a.jpg")}, {});
    player = (dir / "no-player-needed").string();
    ASSERT_TRUE(Compile<somnex::TPcvCompiler>(PcvParams(project), 2));
    std::vector<Member> members = ReadPackage(output);
    ASSERT_EQ(members.size(), 3u);
    EXPECT_EQ(members[0].Name, "Params.dat");
    auto packing = std::find(recorder.Steps.begin(), recorder.Steps.end(),
                             Step{'p', kTotalBar, 5, "Compile screensaver ..."});
    ASSERT_NE(packing, recorder.Steps.begin());
    EXPECT_EQ(*(packing - 1), (Step{'m', kCurrentBar, 3, ""}));
}

TEST_F(CompileTest, WorkFolderWithoutSeparatorPrefixesTheWorkFileNames) {
    std::string project = SlideshowProject({Picture("a.jpg")}, {});
    std::vector<std::string> params = PcvParams(project);
    params[3] = work.string(); // no trailing separator
    bool sawPrefixed = false;
    recorder.OnStep = [&](const Step& s) {
        if (s.Text == "Saving image_1...") sawPrefixed = fs::exists(dir / "workImages.dat");
        return false;
    };
    ASSERT_TRUE(Compile<somnex::TPcvCompiler>(params));
    EXPECT_TRUE(sawPrefixed);
    EXPECT_TRUE(FilesIn(work).empty());
    EXPECT_FALSE(fs::exists(dir / "workImages.dat"));
    EXPECT_FALSE(fs::exists(dir / "workParams.dat"));
    EXPECT_EQ(ReadPackage(output).at(2).Name, "workImages.dat");
}

struct QualityCase {
    int32_t quality;
    int firstQuant; // libjpeg's luminance DC step for the quality it applied
};

class ImageQuality : public CompileTest, public ::testing::WithParamInterface<QualityCase> {};

// The quality is the project's number taken as one byte and given to libjpeg uncorrected.
TEST_P(ImageQuality, ReachesTheEncoderAsOneByte) {
    std::string project = SlideshowProject({Picture("a.jpg")}, {}, false, GetParam().quality);
    ASSERT_TRUE(Compile<somnex::TPcvCompiler>(PcvParams(project)));
    auto images = ReadTable(dir, ReadPackage(output).at(2), "Images");
    ASSERT_EQ(images.size(), 1u);
    JpegInfo jpeg = InspectJpeg(images[0]["ImageData"]);
    ASSERT_TRUE(jpeg.Valid);
    EXPECT_EQ(jpeg.FirstQuant, GetParam().firstQuant);
}

INSTANTIATE_TEST_SUITE_P(Qualities, ImageQuality,
                         ::testing::Values(QualityCase{0, 255}, QualityCase{256, 255}, QualityCase{50, 16},
                                           QualityCase{306, 16}, QualityCase{100, 1}));

// ---- Cancel ----

enum class CancelBy { Hook, Button, CloseBox };

class CancelPictures : public CompileTest, public ::testing::WithParamInterface<CancelBy> {};

// However the person cancels, the pictures after the current one are not stored, the music stage
// stops at once, the package is still written, and the result is false.
TEST_P(CancelPictures, StoresWhatWasDoneAndReturnsFalse) {
    std::string project =
        SlideshowProject({Picture("a.jpg"), Picture("b.jpg"), Picture("c.jpg")}, {Tune("x.wav")});
    recorder.OnStep = [&](const Step& s) {
        if (s.Text != "Saving image_1...") return false;
        QWidget* dialog = QApplication::activeModalWidget();
        switch (GetParam()) {
        case CancelBy::Hook:
            return true;
        case CancelBy::Button:
            dialog->findChild<QPushButton*>()->click();
            return false;
        case CancelBy::CloseBox:
            dialog->close();
            return false;
        }
        return false;
    };
    EXPECT_FALSE(Compile<somnex::TPcvCompiler>(PcvParams(project)));
    EXPECT_TRUE(boxes.empty());
    std::vector<Member> members = ReadPackage(output);
    ASSERT_EQ(members.size(), 4u);
    EXPECT_EQ(ReadTable(dir, members[2], "Images").size(), 1u);
    EXPECT_TRUE(ReadTable(dir, members[3], "Music").empty());
    for (const Step& s : recorder.Steps) EXPECT_EQ(s.Text.find("Saving Music:"), std::string::npos) << s;
    EXPECT_EQ(recorder.Progress(kTotalBar).back().Position, 6);
    EXPECT_EQ(ReadParams(dir, members[1])["IMAGES/COUNT"], "3");
    EXPECT_TRUE(FilesIn(work).empty());
}

INSTANTIATE_TEST_SUITE_P(Ways, CancelPictures,
                         ::testing::Values(CancelBy::Hook, CancelBy::Button, CancelBy::CloseBox));

// ---- Errors ----

struct ErrorCase {
    const char* name;
    std::function<void(std::vector<std::string>&, const fs::path&)> spoil;
    const char* textPart;
};

class BuildError : public CompileTest, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(BuildError, IsShownWithTheErrorIconAndLeavesNoWorkFile) {
    std::string project = SlideshowProject({Picture("a.jpg")}, {Tune("x.wav")});
    std::vector<std::string> params = PcvParams(project);
    GetParam().spoil(params, dir);
    output = params[1];
    EXPECT_FALSE(Compile<somnex::TPcvCompiler>(params));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Flags & plat::MB_ICONMASK, plat::MB_ICONERROR);
    EXPECT_NE(boxes[0].Text.find(GetParam().textPart), std::string::npos) << boxes[0].Text;
    EXPECT_TRUE(FilesIn(work).empty()) << FilesIn(work).size() << " work files left";
    EXPECT_FALSE(fs::is_regular_file(output));
}

INSTANTIATE_TEST_SUITE_P(
    Errors, BuildError,
    ::testing::Values(
        ErrorCase{"MissingPlayer", [](auto& p, const fs::path& d) { p[0] = (d / "no-player.exe").string(); },
                  "no-player.exe"},
        // Not even root may create a file there.
        ErrorCase{"UnwritableOutputFolder", [](auto& p, const fs::path&) { p[1] = "/proc/somnex-test.scr"; },
                  "somnex-test.scr"},
        ErrorCase{"OutputIsAFolder",
                  [](auto& p, const fs::path& d) {
                      fs::create_directories(d / "taken");
                      p[1] = (d / "taken").string();
                  },
                  "taken"},
        ErrorCase{"UnwritableWorkFolder", [](auto& p, const fs::path&) { p[3] = "/proc/"; }, "/proc/"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- The Flash build ----

TEST_F(CompileTest, FlashProjectSkipsAMissingMovieButCountsIt) {
    std::string project = FlashProject(
        {Movie("one.swf", 100), (dir / "two.swf").string(), Movie("three.swf", 300), Movie("four.swf", 40)});
    ASSERT_TRUE(Compile<somnex::TVcvCompiler>(VcvParams(project)));
    EXPECT_EQ(recorder.Report, "Flashs: 4");
    std::vector<Step> compiling;
    for (const Step& s : recorder.Progress(kCurrentBar))
        if (s.Text.starts_with("Compiling")) compiling.push_back(s);
    EXPECT_EQ(compiling, (std::vector<Step>{{'p', kCurrentBar, 0, "Compiling flash_1..."},
                                            {'p', kCurrentBar, 2, "Compiling flash_3..."},
                                            {'p', kCurrentBar, 3, "Compiling flash_4..."}}));
    std::vector<int> totals;
    for (const Step& s : recorder.Progress(kTotalBar)) totals.push_back(s.Position);
    EXPECT_EQ(totals, (std::vector<int>{1, 5, 6}));

    std::vector<Member> members = ReadPackage(output);
    ASSERT_EQ(members.size(), 3u);
    EXPECT_EQ(members[2].Name, "Flashs.dat");
    auto movies = ReadTable(dir, members[2], "Flashs");
    ASSERT_EQ(movies.size(), 3u);
    EXPECT_EQ(movies[1]["FileName"], "three.swf");
    EXPECT_EQ(movies[1]["FlashData"].size(), 300u);
    EXPECT_EQ(ReadParams(dir, members[1])["FLASHS/COUNT"], "4");
    EXPECT_TRUE(FilesIn(work).empty());
}

TEST_F(CompileTest, CancelDuringMoviesStillWritesThePackage) {
    std::string project = FlashProject({Movie("one.swf", 10), Movie("two.swf", 20), Movie("three.swf", 30)});
    recorder.OnStep = [](const Step& s) { return s.Text == "Compiling flash_1..."; };
    EXPECT_FALSE(Compile<somnex::TVcvCompiler>(VcvParams(project)));
    std::vector<Member> members = ReadPackage(output);
    ASSERT_EQ(members.size(), 3u);
    EXPECT_EQ(ReadTable(dir, members[2], "Flashs").size(), 1u);
    EXPECT_TRUE(FilesIn(work).empty());
}

} // namespace
} // namespace compiletest
