// The Qt side: the widget running a real transition on the offscreen platform, the window-less
// frame rendering, and the contact sheet written for a person to look at.
#include "engine/transitions/PSEffect.h"
#include "engine/transitions/PicShowWidget.h"
#include "engine/transitions/TransitionRender.h"
#include "platform/raster/Canvas.h"
#include "somnex/EngineError.h"

#include <QApplication>
#include <QEventLoop>
#include <QImage>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace somnex {
namespace {

class QtEnvironment : public testing::Environment {
public:
    void SetUp() override {
        if (!QCoreApplication::instance()) app_ = new QApplication(argc_, argv_);
    }
    void TearDown() override { delete app_; }

private:
    int argc_ = 1;
    char name_[8] = "test";
    char* argv_[2] = {name_, nullptr};
    QApplication* app_ = nullptr;
};

[[maybe_unused]] testing::Environment* const qtEnvironment =
    testing::AddGlobalTestEnvironment(new QtEnvironment);

// Two pictures a person can tell apart at a glance: a cool grid and a warm disc.
plat::Bitmap CoolPicture(int w, int h) {
    plat::Bitmap b(w, h, plat::PixelFormat::Pf24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.SetPixel(x, y, plat::MakeColor(uint8_t(20 + 60 * x / w), uint8_t(60 + 80 * y / h), 200));
    plat::Canvas c(b);
    for (int x = 0; x < w; x += 16) c.FillRect({x, 0, x + 1, h}, plat::ColorWhite);
    for (int y = 0; y < h; y += 16) c.FillRect({0, y, w, y + 1}, plat::ColorWhite);
    return b;
}

plat::Bitmap WarmPicture(int w, int h) {
    plat::Bitmap b(w, h, plat::PixelFormat::Pf24);
    b.Fill(plat::MakeColor(250, 200, 40));
    plat::Canvas c(b);
    c.SetPen({plat::MakeColor(120, 20, 0), 2, plat::PenStyle::Solid});
    c.SetBrush({plat::MakeColor(220, 60, 30), plat::BrushStyle::Solid});
    c.Ellipse({w / 5, h / 6, w - w / 5, h - h / 6});
    return b;
}

QImage ToQImage(const plat::Bitmap& b) {
    return QImage(b.Bits(), b.Width(), b.Height(), b.Stride(),
                  b.Format() == plat::PixelFormat::Pf24 ? QImage::Format_BGR888 : QImage::Format_RGB32)
        .copy();
}

TEST(PicShowWidget, RunsATransitionToTheEnd) {
    TPicShow show;
    show.SetAutoSize(true);
    show.SetPicture(WarmPicture(80, 60));
    EXPECT_EQ(show.width(), 80);
    show.SetStyle(84);
    show.SetDelay(0);
    show.show();
    QEventLoop loop;
    int complete = 0, stop = 0;
    show.OnComplete = [&](TCustomPicShow&) { ++complete; };
    show.OnStop = [&](TCustomPicShow&) {
        ++stop;
        loop.quit();
    };
    QTimer::singleShot(20000, &loop, &QEventLoop::quit); // a stalled player fails instead of hanging
    show.StartTransition();
    loop.exec();
    EXPECT_EQ(complete, 1);
    EXPECT_EQ(stop, 1);
    EXPECT_EQ(show.DisplaySnapshot().Pixel(40, 30), WarmPicture(80, 60).Pixel(40, 30));
}

TEST(PicShowWidget, DestroyedDuringATransitionStopsItFirst) {
    int stops = 0;
    {
        TPicShow show;
        show.SetPicture(WarmPicture(40, 30));
        show.show();
        show.OnStop = [&](TCustomPicShow&) { ++stops; };
        show.StartTransition();
    }
    EXPECT_EQ(stops, 0) << "no events from a control being destroyed";
}

TEST(Rendering, FramesFollowThePlayersProgressRule) {
    std::vector<int> seen;
    plat::Bitmap last;
    ForEachTransitionFrame(5, CoolPicture(32, 24), WarmPicture(32, 24), 30, false,
                           [&](int p, const plat::Bitmap& frame) { seen.push_back(p), last = frame; });
    EXPECT_EQ(seen, (std::vector<int>{30, 60, 90, 100}));
    EXPECT_EQ(last.Pixel(16, 12), WarmPicture(32, 24).Pixel(16, 12));

    // A first picture of another size is stretched to the second's, as the old screen would be.
    plat::Bitmap half = RenderTransitionFrame(5, 50, CoolPicture(64, 12), WarmPicture(32, 24));
    EXPECT_EQ(half.Width(), 32);
    EXPECT_EQ(half.Pixel(0, 0), WarmPicture(32, 24).Pixel(0, 0));
    EXPECT_THROW(RenderTransitionFrame(151, 50, half, half), EngineError);
    EXPECT_THROW(RenderTransitionFrame(1, 50, plat::Bitmap(), half), EngineError);
}

TEST(Rendering, ContactSheetOfEveryEffect) {
    const plat::Bitmap sheet = EffectsContactSheet(CoolPicture(128, 96), WarmPicture(128, 96), 50);
    EXPECT_EQ(sheet.Width(), 10 * (128 + 4) + 4);
    EXPECT_EQ(sheet.Height(), 15 * (96 + 16 + 4) + 4);
    // Effect 5 at half: its cell is warm on the left, cool on the right.
    const int x5 = 4 + 4 * 132, y5 = 4;
    EXPECT_EQ(sheet.Pixel(x5 + 10, y5 + 5), WarmPicture(128, 96).Pixel(10, 5));
    EXPECT_NE(sheet.Pixel(x5 + 120, y5 + 5), WarmPicture(128, 96).Pixel(120, 5));

    const char* out = std::getenv("SOMNEX_TEST_OUT");
    if (!out) GTEST_SKIP() << "SOMNEX_TEST_OUT not set: sheet not written";
    const std::string path = (std::filesystem::path(out) / "effects-sheet.png").string();
    ASSERT_TRUE(ToQImage(sheet).save(QString::fromStdString(path), "PNG"));
    EXPECT_GT(std::filesystem::file_size(path), 10000u);
}

} // namespace
} // namespace somnex
