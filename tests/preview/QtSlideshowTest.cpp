// One real slideshow offscreen: the Qt form with its TPicShow, Qt timers and the system's media
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

#include <cmath>
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

TEST(QtSlideshow, PlaysAPreparedPictureAndItsMusicOffscreen) {
    plat::EnsureGuiApplication();
    ::setenv("SOMNEX_PREVIEW_SECONDS", "0", 1);
    TempFolder dir;
    ::setenv("SOMNEX_REGISTRY", (dir / "registry.db").c_str(), 1);
    ThePreviewFlags() = {};

    plat::Bitmap red(1600, 1200); // larger than the screen, so it is fitted down to it
    red.Fill(plat::MakeColor(220, 20, 20));
    plat::SaveBitmapFile(red, dir / "red.bmp");
    WriteFile(dir / "tune.wav", SilenceWav(5000));
    {
        TIniPCVProjectFile p;
        p.NewProject(dir / "show.pcv");
        p.ScrInfo.Name = "Offscreen";
        p.SplashScreen = {false, "", 118, 2, ""};
        p.ImageSetting = {0, 5, 0, 3, 0, 0, false}; // fitted to the screen
        p.MusicSetting = {false, 0, 0, true, 5};
        p.Background = {0, 0, 2, 0, 16744576, 0, ""};
        p.Effect = {1, "", 1, 25, 10};
        p.BuildSetting = {800, 600, 80, false};
        p.WriteProject();
        TImageRec r;
        r.FileName = dir / "red.bmp";
        r.CaptionPos = -1;
        r.Opacity = 255;
        r.LogoTransform = -1;
        r.TransformID = -1;
        p.SetListCount(TListKind::Images, 1);
        p.WriteImage(0, r);
        p.SetListCount(TListKind::Music, 1);
        p.WriteMusic(0, dir / "tune.wav");
        p.CloseProject();
    }

    std::vector<std::string> errors;
    TPreviewErrorReport report = [&](const std::string& m) { errors.push_back(m); };
    plat::FakeDisplay display;
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

    bool pictureShown = false, musicPlayed = false;
    QImage grabbed;
    QElapsedTimer elapsed;
    elapsed.start();
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!form) return;
        auto* widget = static_cast<QWidget*>(form->Window().Handle());
        musicPlayed = musicPlayed || form->mPlay_Music->Mode() == plat::TMPModes::mpPlaying;
        grabbed = widget->grab().toImage();
        // The picture fitted to the screen covers the form once its transition has ended.
        const QColor red(220, 20, 20);
        const plat::Rect r = FittedRect({0, 0, 1600, 1200}, {0, 0, grabbed.width(), grabbed.height()});
        pictureShown =
            pictureShown || (grabbed.pixelColor((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2) == red &&
                             grabbed.pixelColor(r.Left + 2, r.Top + 2) == red &&
                             grabbed.pixelColor(r.Right - 3, r.Bottom - 3) == red);
        if ((pictureShown && musicPlayed) || elapsed.elapsed() > 15000) form->Close();
    });
    watch.start(50);
    EXPECT_TRUE(RunPreview(TPreviewKind::Slideshow, dir / "show.pcv", false, 0, players));
    EXPECT_TRUE(pictureShown) << "centre " << std::hex
                              << grabbed.pixel(grabbed.width() / 2, grabbed.height() / 2);
    EXPECT_EQ(grabbed.size(), QGuiApplication::primaryScreen()->size()); // full screen
    EXPECT_TRUE(musicPlayed);
    EXPECT_TRUE(errors.empty()) << errors.front();
}

} // namespace
