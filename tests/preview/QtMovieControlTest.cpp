// The Qt movie control with a real, generated movie: it reports itself loaded, plays, shows its
// frames on the form and stops at the end; a file the backend cannot play never reports loaded.
#include "platform/movie/QtMovieControl.h"
#include "platform/raster/GuiApp.h"
#include "tests/ini/TempFolder.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <memory>

namespace {

// Little-endian pieces of a RIFF file.
struct Riff {
    std::string bytes;
    void U32(uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes += char((v >> (8 * i)) & 0xFF);
    }
    void U16(uint16_t v) {
        bytes += char(v & 0xFF);
        bytes += char(v >> 8);
    }
    void Tag(const char* t) { bytes.append(t, 4); }
    size_t Open(const char* tag, const char* type = nullptr) {
        Tag(tag);
        size_t at = bytes.size();
        U32(0);
        if (type) Tag(type);
        return at;
    }
    void Close(size_t at) {
        uint32_t size = uint32_t(bytes.size() - at - 4);
        for (int i = 0; i < 4; ++i) bytes[at + size_t(i)] = char((size >> (8 * i)) & 0xFF);
    }
};

// An uncompressed AVI of Frames frames of one colour (blue, green, red), Width a multiple of 4.
std::string SolidAvi(int Width, int Height, int Frames, int Fps, uint8_t B, uint8_t G, uint8_t R) {
    const uint32_t frameBytes = uint32_t(Width * Height * 3);
    Riff f;
    size_t riff = f.Open("RIFF", "AVI ");
    size_t hdrl = f.Open("LIST", "hdrl");
    size_t avih = f.Open("avih");
    for (uint32_t v : {uint32_t(1000000 / Fps), frameBytes * uint32_t(Fps), 0u, 0x10u, uint32_t(Frames), 0u,
                       1u, frameBytes, uint32_t(Width), uint32_t(Height), 0u, 0u, 0u, 0u})
        f.U32(v);
    f.Close(avih);
    size_t strl = f.Open("LIST", "strl");
    size_t strh = f.Open("strh");
    f.Tag("vids");
    f.Tag("DIB ");
    for (uint32_t v : {0u, 0u, 0u, 1u, uint32_t(Fps), 0u, uint32_t(Frames), frameBytes, 0xFFFFFFFFu, 0u})
        f.U32(v);
    for (uint16_t v : {uint16_t(0), uint16_t(0), uint16_t(Width), uint16_t(Height)}) f.U16(v);
    f.Close(strh);
    size_t strf = f.Open("strf");
    f.U32(40);
    f.U32(uint32_t(Width));
    f.U32(uint32_t(Height));
    f.U16(1);
    f.U16(24);
    for (uint32_t v : {0u, frameBytes, 0u, 0u, 0u, 0u}) f.U32(v);
    f.Close(strf);
    f.Close(strl);
    f.Close(hdrl);
    size_t movi = f.Open("LIST", "movi");
    const size_t moviData = movi + 4; // offsets count from the "movi" type
    std::vector<uint32_t> offsets;
    std::string pixels;
    for (int i = 0; i < Width * Height; ++i) pixels += {char(B), char(G), char(R)};
    for (int i = 0; i < Frames; ++i) {
        offsets.push_back(uint32_t(f.bytes.size() - moviData));
        size_t chunk = f.Open("00db");
        f.bytes += pixels;
        f.Close(chunk);
    }
    f.Close(movi);
    size_t idx = f.Open("idx1");
    for (uint32_t off : offsets) {
        f.Tag("00db");
        f.U32(0x10);
        f.U32(off);
        f.U32(frameBytes);
    }
    f.Close(idx);
    f.Close(riff);
    return f.bytes;
}

// Runs the event loop until Done or the deadline; false on the deadline.
bool RunUntil(const std::function<bool()>& Done, int Milliseconds) {
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    while (!Done()) {
        if (clock.elapsed() > Milliseconds) return false;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

class QtMovieControl : public testing::Test {
protected:
    void SetUp() override {
        plat::EnsureGuiApplication();
        holder = std::make_unique<QWidget>();
        holder->resize(64, 48);
        holder->show();
    }
    somnex::test::TempFolder dir;
    std::unique_ptr<QWidget> holder;
};

TEST_F(QtMovieControl, PlaysAGeneratedMovieToItsEndOnTheForm) {
    const std::string file = dir / "red.avi";
    std::ofstream(file, std::ios::binary) << SolidAvi(32, 24, 10, 25, 0, 0, 255);
    auto control = plat::QtMovieControls()(holder.get());
    int loaded = 0;
    control->OnReadyStateChange = [&](int32_t state) { loaded += state == plat::kMovieLoaded; };
    control->SetScaleMode(2);
    control->PlaceOnForm();
    control->LoadMovie(0, file);
    control->SetLoop(false);
    ASSERT_TRUE(RunUntil([&] { return loaded > 0; }, 10000)) << "never loaded";
    bool sawPlaying = false;
    bool sawRed = false;
    ASSERT_TRUE(RunUntil(
        [&] {
            if (control->IsPlaying()) sawPlaying = true;
            QImage shot = holder->grab().toImage();
            if (shot.pixelColor(32, 24) == QColor(255, 0, 0)) sawRed = true;
            return sawPlaying && !control->IsPlaying();
        },
        10000))
        << "never reached its end";
    EXPECT_TRUE(sawRed) << "no frame reached the form";
    EXPECT_EQ(loaded, 1);
}

TEST_F(QtMovieControl, AFileTheBackendCannotPlayNeverReportsLoaded) {
    const std::string file = dir / "garbage.swf";
    std::ofstream(file, std::ios::binary) << std::string(4096, '\x5a');
    auto control = plat::QtMovieControls()(holder.get());
    int loaded = 0;
    control->OnReadyStateChange = [&](int32_t state) { loaded += state == plat::kMovieLoaded; };
    control->LoadMovie(0, file);
    ASSERT_TRUE(RunUntil([&] { return !control->IsPlaying(); }, 10000));
    RunUntil([] { return false; }, 200); // late reports would come now
    EXPECT_EQ(loaded, 0);
    EXPECT_FALSE(control->IsPlaying());
}

} // namespace
