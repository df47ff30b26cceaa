// The slideshow form on a virtual clock: which picture and effect come when, the splash screen,
// the music playlist and what closing leaves behind. Transitions take 200 ms of virtual time.
#include "engine/core/SharedRandom.h"
#include "engine/preview/PreviewFlags.h"
#include "platform/raster/BitmapFile.h"
#include "somnex/EngineError.h"
#include "tests/ini/TempFolder.h"
#include "tests/preview/PreviewFakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

using namespace somnex;
using namespace somnex::test;

namespace {

constexpr uint32_t NoPicture = 0xFFFFFFFFu;

class Slideshow : public testing::Test {
protected:
    void SetUp() override {
        ::setenv("SOMNEX_REGISTRY", (dir / "registry.db").c_str(), 1);
        ThePreviewFlags() = {};
        TheRandom().SetSeed(7);
        project.NewProject(dir / "show.pcv");
        project.ScrInfo.Name = "Harbour";
        project.ControlSetting.RestoreNormalKey = true;
        project.ControlSetting.RestoreMouse = true;
        // The settings a new project starts with.
        project.SplashScreen = {false, "", 118, 2, ""};
        project.ImageSetting = {0, 5, 2, 3, 0, 0, false};
        project.MusicSetting = {false, 0, 0, true, 5};
        project.Background = {2, 0, 2, 0, 16744576, 0, ""};
        project.Effect = {1, "", 1, 4, 40};
        project.BuildSetting = {800, 600, 80, false};
    }
    void TearDown() override {
        form.reset();
        project.CloseProject();
    }

    // A picture of one colour, of the screen's proportions.
    std::string Picture(const std::string& name, plat::Color c) {
        plat::Bitmap bmp(40, 30);
        bmp.Fill(c);
        const std::string file = dir / name;
        plat::SaveBitmapFile(bmp, file);
        return file;
    }
    TImageRec Entry(const std::string& file) {
        TImageRec r;
        r.FileName = file;
        r.CaptionPos = -1;
        r.Opacity = 255;
        r.LogoTransform = -1;
        r.TransformID = -1;
        return r;
    }
    void AddPictures(std::initializer_list<plat::Color> colours) {
        for (plat::Color c : colours) {
            entries.push_back(Entry(Picture("p" + std::to_string(entries.size()) + ".bmp", c)));
        }
    }
    // Music files the fake player plays for `ms` each (they exist on disk, empty).
    void AddMusic(std::initializer_list<std::string> names, int64_t ms) {
        for (const std::string& name : names) {
            const std::string file = dir / name;
            WriteFile(dir / name, "");
            music.push_back(file);
            sys.slideshow.lengths[file] = ms;
        }
    }

    // Writes the project and starts the form as the preview object and a shown window would.
    TFrmPcvEnginePreview& Start(uint8_t runMode = 0) {
        project.WriteProject(); // clears the lists, so they come after it
        project.SetListCount(TListKind::Images, int32_t(entries.size()));
        for (size_t i = 0; i < entries.size(); ++i) project.WriteImage(int32_t(i), entries[i]);
        project.SetListCount(TListKind::Music, int32_t(music.size()));
        for (size_t i = 0; i < music.size(); ++i) project.WriteMusic(int32_t(i), music[i]);
        project.CloseProject();
        auto made = sys.Players()(TPreviewKind::Slideshow);
        form.reset(static_cast<TFrmPcvEnginePreview*>(made.release()));
        form->FormCreate();
        form->SetRunMode(runMode);
        form->LoadProject(dir / "show.pcv");
        form->FormShow();
        form->FormActivate();
        return *form;
    }
    void Advance(int64_t ms) { sys.slideshow.clock.Advance(ms); }
    FakeScreen& Screen() { return *sys.slideshow.screen; }
    plat::FakeMediaPlayer& Media() { return *sys.slideshow.media; }
    std::vector<uint32_t> Pictures() const {
        std::vector<uint32_t> v;
        for (const Shown& s : sys.slideshow.screen->shown) v.push_back(s.picture);
        return v;
    }
    std::vector<int32_t> Styles() const {
        std::vector<int32_t> v;
        for (const Shown& s : sys.slideshow.screen->shown) v.push_back(s.style);
        return v;
    }
    std::vector<int64_t> Starts() const {
        std::vector<int64_t> v;
        for (const Shown& s : sys.slideshow.screen->shown) v.push_back(s.at);
        return v;
    }
    // The files opened by the media player, in order.
    std::vector<std::string> Opened() const {
        std::vector<std::string> v;
        for (const std::string& line : sys.slideshow.media->Log)
            if (line.rfind("open ", 0) == 0) v.push_back(std::filesystem::path(line.substr(5)).filename());
        return v;
    }

    TempFolder dir;
    FakeSystem sys;
    TIniPCVProjectFile project;
    std::vector<TImageRec> entries;
    std::vector<std::string> music;
    std::unique_ptr<TFrmPcvEnginePreview> form;
};

constexpr plat::Color Red = plat::MakeColor(200, 0, 0), Green = plat::MakeColor(0, 200, 0),
                      Blue = plat::MakeColor(0, 0, 200);

// --- pictures and their timing ---

TEST_F(Slideshow, DefaultsShowPicturesInListOrderFiveSecondsAfterEachTransition) {
    AddPictures({Red, Green, Blue});
    Start();
    EXPECT_EQ(Screen().bgMode, TBackgroundMode::bmStretched);
    EXPECT_TRUE(Screen().bgPictureSet); // the gradient
    Advance(20 + 3 * 5200 + 100);
    EXPECT_EQ(Pictures(), (std::vector<uint32_t>{Red, Green, Blue, Red}));
    EXPECT_EQ(Starts(), (std::vector<int64_t>{20, 5220, 10420, 15620}));
    EXPECT_EQ(Screen().pictureSize, (std::pair<int, int>{160, 120})); // prepared to screen size
    for (const Shown& s : Screen().shown) {
        EXPECT_GE(s.style, 1);
        EXPECT_LE(s.style, 150);
        EXPECT_EQ(s.step, 4);
        EXPECT_EQ(s.delay, 40);
    }
}

TEST_F(Slideshow, RandomOrderShowsEveryPictureOncePerCycle) {
    project.ImageSetting.OrderMode = 1;
    AddPictures({Red, Green, Blue});
    Start();
    Advance(20 + 5 * 5200 + 100);
    std::vector<uint32_t> shown = Pictures();
    ASSERT_EQ(shown.size(), 6u);
    for (size_t cycle = 0; cycle < 2; ++cycle) {
        std::set<uint32_t> once(shown.begin() + 3 * cycle, shown.begin() + 3 * cycle + 3);
        EXPECT_EQ(once, (std::set<uint32_t>{Red, Green, Blue})) << cycle;
    }
}

TEST_F(Slideshow, AnEntryWithItsOwnIntervalStaysThatLong) {
    AddPictures({Red, Green, Blue});
    entries[1].Interval = 10;
    Start();
    Advance(30000);
    // Green arrives at 5220 and stays 10 s after its transition ends at 5420.
    std::vector<int64_t> starts = Starts();
    starts.resize(4);
    EXPECT_EQ(starts, (std::vector<int64_t>{20, 5220, 15420, 20620}));
}

TEST_F(Slideshow, AnEntryWithItsOwnEffectKeepsTheProjectsEffectOrder) {
    project.Effect.OrderMode = 0;
    AddPictures({Red, Green, Blue});
    entries[1].TransformID = 118;
    entries[1].EffectStep = 10;
    entries[1].EffectDelay = 20;
    Start();
    Advance(20 + 3 * 5200 + 100);
    EXPECT_EQ(Styles(), (std::vector<int32_t>{1, 118, 2, 3}));
    EXPECT_EQ(Screen().shown[1].step, 10);
    EXPECT_EQ(Screen().shown[1].delay, 20);
    EXPECT_EQ(Screen().shown[2].step, 4);
}

struct EffectCase {
    const char* name;
    int32_t mode, order;
    const char* custom;
    std::vector<int32_t> styles; // of the first pictures
};

class EffectChoice : public Slideshow, public testing::WithParamInterface<EffectCase> {};

TEST_P(EffectChoice, StylesFollowTheEffectSettings) {
    const EffectCase& c = GetParam();
    project.Effect.EffectMode = c.mode;
    project.Effect.OrderMode = c.order;
    project.Effect.CustomEffect = c.custom;
    AddPictures({Red});
    Start();
    Advance(20 + int64_t(c.styles.size() - 1) * 5200 + 100);
    EXPECT_EQ(Styles(), c.styles);
}

INSTANTIATE_TEST_SUITE_P(Cases, EffectChoice,
                         testing::Values(EffectCase{"CustomInOrder", 2, 0, "0,5,9", {1, 6, 10, 1, 6}},
                                         EffectCase{"CustomWithTrailingComma", 2, 0, "4,", {5, 5}},
                                         EffectCase{"EmptyCustomList", 2, 0, "", {0, 0}},
                                         EffectCase{"NoEffect", 0, 1, "", {0, 0}},
                                         EffectCase{"UnknownOrder", 1, 2, "", {0, 0}}),
                         [](const auto& info) { return info.param.name; });

TEST_F(Slideshow, AllEffectsInOrderWrapAfterTheLast) {
    project.Effect.OrderMode = 0;
    TFrmPcvEnginePreview& f = Start();
    std::vector<int32_t> styles;
    for (int i = 0; i < 152; ++i) styles.push_back(f.NextEffect());
    EXPECT_EQ(styles[0], 1);
    EXPECT_EQ(styles[149], 150);
    EXPECT_EQ(styles[150], 1);
}

TEST_F(Slideshow, RandomEffectCyclesUseEveryEffectAndNeverRepeatAcrossTheSeam) {
    project.Effect.OrderMode = 1;
    TFrmPcvEnginePreview& f = Start();
    for (int cycle = 0; cycle < 3; ++cycle) {
        std::set<int32_t> seen;
        for (int i = 0; i < 150; ++i) {
            const int32_t style = f.NextEffect();
            if (i == 0) {
                EXPECT_NE(style, f.LastEffect) << cycle;
            }
            seen.insert(style);
            f.LastEffect = style;
        }
        EXPECT_EQ(seen.size(), 150u);
        EXPECT_EQ(*seen.begin(), 1);
        EXPECT_EQ(*seen.rbegin(), 150);
    }
}

TEST_F(Slideshow, CustomEffectsInRandomOrderComeOncePerCycle) {
    project.Effect = {2, "2,4,6", 1, 4, 40};
    TFrmPcvEnginePreview& f = Start();
    std::multiset<int32_t> six;
    for (int i = 0; i < 6; ++i) six.insert(f.NextEffect());
    EXPECT_EQ(six, (std::multiset<int32_t>{3, 3, 5, 5, 7, 7}));
}

TEST_F(Slideshow, ACustomEffectThatIsNoNumberIsAnErrorOfTheHandler) {
    project.Effect = {2, "3,x", 0, 4, 40};
    TFrmPcvEnginePreview& f = Start();
    EXPECT_EQ(f.NextEffect(), 4);
    try {
        f.NextEffect();
        FAIL() << "no error";
    } catch (const EngineError& e) {
        EXPECT_STREQ(e.what(), "'x' is not a valid integer value");
    }
}

TEST_F(Slideshow, ClearOldImageBringsEachPictureInOverTheBackground) {
    project.ImageSetting.ClearOldImage = true;
    AddPictures({Red, Green});
    Start();
    Advance(20 + 2 * 5200 + 100);
    ASSERT_EQ(Screen().shown.size(), 3u);
    for (const Shown& s : Screen().shown) EXPECT_TRUE(s.clearedBefore);
}

TEST_F(Slideshow, AMissingOrUnreadablePictureLeavesThePreviousOneOnScreen) {
    AddPictures({Red});
    entries.push_back(Entry(dir / "gone.bmp"));
    WriteFile(dir / "broken.bmp", "BM not really");
    entries.push_back(Entry(dir / "broken.bmp"));
    AddPictures({Green});
    Start();
    Advance(20 + 3 * 5200 + 100);
    EXPECT_EQ(Pictures(), (std::vector<uint32_t>{Red, Red, Red, Green}));
}

TEST_F(Slideshow, WithoutPicturesTheBackgroundStaysAndNothingFails) {
    Start();
    Advance(11000);
    EXPECT_EQ(Pictures(), (std::vector<uint32_t>{NoPicture, NoPicture, NoPicture}));
}

TEST_F(Slideshow, OtherRunModesChooseNoPicturesAndNoMusic) {
    AddPictures({Red});
    AddMusic({"a.wav"}, 1000);
    Start(2);
    Advance(11000);
    EXPECT_EQ(Pictures(), (std::vector<uint32_t>{NoPicture, NoPicture, NoPicture}));
    EXPECT_TRUE(Opened().empty());
}

// --- pictures tied to the music ---

TEST_F(Slideshow, PicturesComeWithTheEndOfEachMusicFile) {
    project.ImageSetting.IntervalMode = 2;
    AddPictures({Red, Green, Blue});
    AddMusic({"a.wav", "b.wav", "c.wav"}, 3000);
    Start();
    Advance(2000);
    EXPECT_TRUE(Screen().shown.empty()); // the first picture waits for the first file's end
    Advance(30000);
    EXPECT_EQ(Pictures(), (std::vector<uint32_t>{Red, Green, Blue, Red}));
    // Files start at 20, 8020, 16020, 24020; the poll sees each end as it happens.
    EXPECT_EQ(Starts(), (std::vector<int64_t>{3020, 11020, 19020, 27020}));
}

TEST_F(Slideshow, PicturesComeWithTheStartOfEachMusicFile) {
    project.ImageSetting.IntervalMode = 1;
    AddPictures({Red, Green});
    AddMusic({"a.wav", "b.wav"}, 3000);
    Start();
    Advance(9000);
    EXPECT_EQ(Starts(), (std::vector<int64_t>{20, 8020}));
    EXPECT_EQ(Pictures(), (std::vector<uint32_t>{Red, Green}));
}

struct SilentCase {
    const char* name;
    int32_t intervalMode;
    bool mute, music;
};

class SilentMusicMode : public Slideshow, public testing::WithParamInterface<SilentCase> {};

TEST_P(SilentMusicMode, TheShowStaysAtTheFirstScreen) {
    const SilentCase& c = GetParam();
    project.ImageSetting.IntervalMode = c.intervalMode;
    project.MusicSetting.MuteSound = c.mute;
    AddPictures({Red, Green});
    if (c.music) AddMusic({"a.wav"}, 1000);
    Start();
    Advance(60000);
    EXPECT_TRUE(Screen().shown.empty());
    EXPECT_TRUE(Opened().empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, SilentMusicMode,
                         testing::Values(SilentCase{"StartMuted", 1, true, true},
                                         SilentCase{"EndMuted", 2, true, true},
                                         SilentCase{"StartNoMusic", 1, false, false},
                                         SilentCase{"EndNoMusic", 2, false, false}),
                         [](const auto& info) { return info.param.name; });

// --- splash ---

TEST_F(Slideshow, SplashThenItsTimeThenTheShow) {
    project.SplashScreen = {true, Picture("splash.bmp", Blue), 118, 2, ""};
    AddPictures({Red});
    Start();
    Advance(1 + 200 + 2000 + 100);
    ASSERT_EQ(Screen().shown.size(), 2u);
    EXPECT_EQ(Screen().shown[0].picture, Blue);
    EXPECT_EQ(Screen().shown[0].style, 118);
    EXPECT_EQ(Screen().shown[1].picture, Red);
    EXPECT_EQ(Screen().shown[1].at, 1 + 200 + 2000);
}

TEST_F(Slideshow, ALongSplashSoundHoldsTheShowUntilItEnds) {
    project.SplashScreen = {true, Picture("splash.bmp", Blue), -1, 2, dir / "hello.wav"};
    AddMusic({"hello.wav"}, 4600);
    music.clear(); // the sound is no music of the list
    AddPictures({Red});
    Start();
    Advance(4000);
    EXPECT_EQ(Screen().shown.size(), 1u);
    EXPECT_NE(Screen().shown[0].style, 118); // a chosen effect: the splash's own is -1
    // Sound ends at 4601, seen by the poll at 5001; the show checks every second from 2201 on.
    Advance(4000);
    ASSERT_EQ(Screen().shown.size(), 2u);
    EXPECT_EQ(Screen().shown[1].at, 5201);
}

TEST_F(Slideshow, ASplashSoundThatCannotBePlayedDoesNotHoldTheShow) {
    WriteFile(dir / "noise.wav", "not a sound");
    project.SplashScreen = {true, Picture("splash.bmp", Blue), 118, 2, dir / "noise.wav"};
    AddPictures({Red});
    Start();
    Advance(1 + 200 + 2000 + 100);
    EXPECT_EQ(Pictures(), (std::vector<uint32_t>{Blue, Red}));
}

// --- music playlist ---

struct ListCase {
    const char* name;
    bool loop;
    std::vector<std::string> played; // within 40 s, files of 3 s with 5 s pauses
};

class MusicList : public Slideshow, public testing::WithParamInterface<ListCase> {};

TEST_P(MusicList, ListOrderWithPausesAndLooping) {
    project.MusicSetting.IsLoop = GetParam().loop;
    AddMusic({"a.wav", "b.wav", "c.wav"}, 3000);
    Start();
    Advance(40000);
    EXPECT_EQ(Opened(), GetParam().played);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MusicList,
    testing::Values(ListCase{"Loop", true, {"a.wav", "b.wav", "c.wav", "a.wav", "b.wav"}},
                    ListCase{"Once", false, {"a.wav", "b.wav", "c.wav"}}),
    [](const auto& info) { return info.param.name; });

TEST_F(Slideshow, TheNextFileStartsThePauseAfterTheLastEnded) {
    AddMusic({"a.wav", "b.wav"}, 3000);
    Start();
    Advance(9000);
    // a: 20 .. 3020, b from 8020.
    const auto& log = Media().Log;
    EXPECT_EQ(std::count(log.begin(), log.end(), "play"), 2);
    EXPECT_TRUE(Media().IsOpen());
    EXPECT_EQ(Opened(), (std::vector<std::string>{"a.wav", "b.wav"}));
}

TEST_F(Slideshow, RandomMusicOrderPlaysEveryFileOncePerCycle) {
    project.MusicSetting.OrderMode = 1;
    AddMusic({"a.wav", "b.wav", "c.wav"}, 1000);
    Start();
    Advance(6 * 6500);
    std::vector<std::string> played = Opened();
    ASSERT_GE(played.size(), 6u);
    for (size_t cycle = 0; cycle < 2; ++cycle) {
        std::set<std::string> once(played.begin() + 3 * cycle, played.begin() + 3 * cycle + 3);
        EXPECT_EQ(once.size(), 3u) << cycle;
    }
}

TEST_F(Slideshow, MutedShowsPlayNoMusic) {
    project.MusicSetting.MuteSound = true;
    AddPictures({Red});
    AddMusic({"a.wav"}, 1000);
    Start();
    Advance(20000);
    EXPECT_TRUE(Opened().empty());
    EXPECT_TRUE(form->MusicStopped);
}

TEST_F(Slideshow, OneFileRepeatedChoosesAgainWhenItIsGone) {
    project.MusicSetting.PlayMode = 1;
    AddMusic({"a.wav", "b.wav"}, 1000);
    Start();
    Advance(100);
    ASSERT_EQ(Opened().size(), 1u);
    const std::string first = Opened()[0];
    Advance(7000);
    EXPECT_EQ(Opened(), (std::vector<std::string>{first, first}));
    std::filesystem::remove(dir / first);
    // The clock moves on, so the re-seeded generator may choose the other file.
    const int32_t wanted = first == "a.wav" ? 1 : 0;
    for (SharedRandom r;; ++sys.stage.clockSeed) {
        r.SetSeed(sys.stage.clockSeed);
        if (r.Random(2) == wanted) break;
    }
    Advance(14000);
    const std::string other = first == "a.wav" ? "b.wav" : "a.wav";
    ASSERT_GE(Opened().size(), 3u);
    EXPECT_EQ(Opened()[2], other);
}

TEST_F(Slideshow, AMissingFileIsTriedAgainWithTheNextChoiceAfterThePause) {
    AddMusic({"a.wav", "b.wav", "c.wav"}, 1000);
    std::filesystem::remove(music[1]);
    project.MusicSetting.IsLoop = false;
    Start();
    Advance(30000);
    EXPECT_EQ(Opened(), (std::vector<std::string>{"a.wav", "c.wav"}));
}

TEST_F(Slideshow, AFileThatCannotBePlayedEndsThePlaylistThere) {
    AddMusic({"a.wav", "b.wav"}, 1000);
    sys.slideshow.lengths.erase(music[0]); // exists, but the player refuses it
    Start();
    Advance(30000);
    EXPECT_EQ(Opened(), (std::vector<std::string>{"a.wav"}));
    EXPECT_FALSE(form->Timer_Music->Enabled());
}

// Waits of 0 seconds are as short as a timer goes, never endless.
TEST_F(Slideshow, NoWaitMeansAtOnceForPicturesSplashAndMusic) {
    project.ImageSetting.Interval = 0;
    project.MusicSetting.Pause = 0;
    project.SplashScreen = {true, Picture("splash.bmp", Blue), 118, 0, ""};
    AddPictures({Red, Green});
    AddMusic({"a.wav", "b.wav"}, 1000);
    Start();
    Advance(1500);
    // splash 1 .. 201, show at 202, each next picture 1 ms after the transition before it.
    std::vector<int64_t> starts = Starts();
    starts.resize(4);
    EXPECT_EQ(starts, (std::vector<int64_t>{1, 202, 403, 604}));
    Advance(1000);
    // a from 202 to 1202, b 1 ms after its end was seen, then a again.
    EXPECT_EQ(Opened(), (std::vector<std::string>{"a.wav", "b.wav", "a.wav"}));
}

// --- closing ---

TEST_F(Slideshow, ClosingStopsTheMusicAndEveryTimer) {
    AddPictures({Red, Green});
    AddMusic({"a.wav"}, 60000);
    Start();
    Advance(1000);
    ASSERT_EQ(Media().Mode(), plat::TMPModes::mpPlaying);
    form->Close();
    EXPECT_FALSE(Media().IsOpen());
    const size_t shown = Screen().shown.size();
    Advance(60000);
    EXPECT_EQ(Screen().shown.size(), shown);
    EXPECT_EQ(Opened().size(), 1u);
    EXPECT_TRUE(form->MusicStopped);
}

TEST_F(Slideshow, RestartsTheStartUpOnEveryActivation) {
    AddPictures({Red, Green});
    Start();
    Advance(100);
    form->FormActivate();
    Advance(100);
    EXPECT_EQ(Starts(), (std::vector<int64_t>{20, 120}));
}

} // namespace
