// Real slideshows offscreen: the Qt form with its TPicShow, Qt timers and the system's media
// player. The form is grabbed until the project's picture is on it.
#include "engine/preview/PreviewDriver.h"
#include "engine/preview/PreviewFlags.h"
#include "engine/preview/QtPreviewWindow.h"
#include "engine/preview/QtSlideshowParts.h"
#include "platform/display/FakeDisplay.h"
#include "platform/raster/BitmapFile.h"
#include "platform/raster/GuiApp.h"
#include "tests/ini/TempFolder.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <stdlib.h>

using namespace somnex;
using namespace somnex::test;

namespace {

std::string SilenceWav(int milliseconds) {
    const uint32_t bytes = 8000u * uint32_t(milliseconds) / 1000u * 2u;
    auto u32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
    auto u16 = [](uint16_t v) { return std::string{char(v), char(v >> 8)}; };
    return "RIFF" + u32(36 + bytes) + "WAVEfmt " + u32(16) + u16(1) + u16(1) + u32(8000) + u32(16000) +
           u16(2) + u16(16) + "data" + u32(bytes) + std::string(bytes, '\0');
}

class QtSlideshow : public testing::Test {
protected:
    void SetUp() override {
        plat::EnsureGuiApplication();
        ::setenv("SOMNEX_PREVIEW_SECONDS", "0", 1);
        ::setenv("SOMNEX_REGISTRY", (dir / "registry.db").c_str(), 1);
        ThePreviewFlags() = {};
        plat::Bitmap red(1600, 1200); // larger than the screen, so it is fitted down to it
        red.Fill(plat::MakeColor(220, 20, 20));
        plat::SaveBitmapFile(red, dir / "red.bmp");
        WriteFile(dir / "tune.wav", SilenceWav(5000));
        project.NewProject(dir / "show.pcv");
        project.ScrInfo.Name = "Offscreen";
        project.SplashScreen = {false, "", 118, 2, ""};
        project.ImageSetting = {0, 5, 0, 3, 0, 0, false}; // fitted to the screen
        project.MusicSetting = {false, 0, 0, true, 5};
        project.Background = {0, 0, 2, 0, 16744576, 0, ""};
        project.Effect = {1, "", 1, 25, 10};
        project.BuildSetting = {800, 600, 80, false};
    }

    // Plays the project until `done` says so (asked every 50 ms with the form grabbed) or 15 s
    // have passed.
    void Play(const std::function<bool(TFrmPcvEnginePreview& form, const QImage& grabbed)>& done) {
        project.WriteProject();
        TImageRec r;
        r.FileName = dir / "red.bmp";
        r.CaptionPos = -1;
        r.Opacity = 255;
        r.LogoTransform = -1;
        r.TransformID = -1;
        project.SetListCount(TListKind::Images, 1);
        project.WriteImage(0, r);
        project.SetListCount(TListKind::Music, 1);
        project.WriteMusic(0, dir / "tune.wav");
        project.CloseProject();

        TPreviewErrorReport report = [this](const std::string& m) { errors.push_back(m); };
        TFrmPcvEnginePreview* form = nullptr;
        TPlayerFactory players = [&](TPreviewKind) -> std::unique_ptr<TPreviewPlayer> {
            TPreviewMessages messages{[](const std::string&, uint32_t) { return 7; },
                                      [](const std::string&, uint32_t) {}};
            auto made = std::make_unique<TFrmPcvEnginePreview>(
                SystemPreviewServices(),
                [&](IPreviewEvents& events) { return std::make_unique<QtPreviewWindow>(events, report); },
                std::move(messages), SystemSlideshowParts(report), display);
            form = made.get();
            return made;
        };
        QElapsedTimer elapsed;
        elapsed.start();
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (!form) return;
            grabbed = static_cast<QWidget*>(form->Window().Handle())->grab().toImage();
            if (done(*form, grabbed) || elapsed.elapsed() > 15000) form->Close();
        });
        watch.start(50);
        EXPECT_TRUE(RunPreview(TPreviewKind::Slideshow, dir / "show.pcv", false, 0, players));
    }

    TempFolder dir;
    TIniPCVProjectFile project;
    plat::FakeDisplay display;
    std::vector<std::string> errors;
    QImage grabbed;
};

TEST_F(QtSlideshow, PlaysAPreparedPictureAndItsMusic) {
    bool pictureShown = false, musicPlayed = false;
    Play([&](TFrmPcvEnginePreview& form, const QImage& g) {
        musicPlayed = musicPlayed || form.mPlay_Music->Mode() == plat::TMPModes::mpPlaying;
        // The picture fitted to the screen covers its rectangle once its transition has ended.
        const QColor red(220, 20, 20);
        const plat::Rect r = FittedRect({0, 0, 1600, 1200}, {0, 0, g.width(), g.height()});
        pictureShown = pictureShown || (g.pixelColor((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2) == red &&
                                        g.pixelColor(r.Left + 2, r.Top + 2) == red &&
                                        g.pixelColor(r.Right - 3, r.Bottom - 3) == red);
        return pictureShown && musicPlayed;
    });
    EXPECT_TRUE(pictureShown) << "centre " << std::hex
                              << grabbed.pixel(grabbed.width() / 2, grabbed.height() / 2);
    EXPECT_TRUE(musicPlayed);
    EXPECT_TRUE(errors.empty()) << errors.front();
    EXPECT_EQ(grabbed.size(), QGuiApplication::primaryScreen()->size()); // full screen
}

// The second picture's effect is no number: the error comes at the end of the first transition,
// outside the form's events, and is reported while the form stays open.
TEST_F(QtSlideshow, AnErrorAtTheEndOfATransitionIsReportedAndThePreviewGoesOn) {
    project.Effect = {2, "3,x", 0, 25, 10};
    Play([&](TFrmPcvEnginePreview&, const QImage&) { return !errors.empty(); });
    EXPECT_EQ(errors, (std::vector<std::string>{"'x' is not a valid integer value"}));
}

} // namespace
