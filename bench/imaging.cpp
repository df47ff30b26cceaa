// Preparing one 800 x 600 slide from a 12-megapixel JPEG photo (fit, gradient background, logo,
// caption) and encoding it, against the codec floor (libjpeg-turbo alone decoding the photo at
// the same DCT scale and encoding 800 x 600 pixels) and against GraphicsMagick resizing and
// encoding the same photo. SOMNEX_BENCH_SMOKE=1 uses a small photo.
#include "bench/BenchCommon.h"
#include "engine/decoders/JpegCodec.h"
#include "engine/imaging/Gradient.h"
#include "engine/imaging/ScrImgProc1.h"
#include "platform/raster/BitmapFile.h"

#include <Magick++.h>
#include <benchmark/benchmark.h>
#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int SlideW = 800, SlideH = 600, Quality = 85;

bool Smoke() {
    const char* s = std::getenv("SOMNEX_BENCH_SMOKE");
    return s && std::string(s) == "1";
}

// Smooth shading, edges and sensor-like noise, so the codec works as hard as on a photo.
struct Files {
    std::filesystem::path dir;
    std::string photo, logo;
    Files() {
        dir = std::filesystem::temp_directory_path() / ("somnex-bench-imaging-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        photo = (dir / "photo.jpg").string();
        const std::vector<uint8_t> jpg =
            somnex::EncodeJpeg(Smoke() ? bench::PhotoLike(1600, 1200) : bench::PhotoLike(4000, 3000), 90);
        std::ofstream(photo, std::ios::binary)
            .write(reinterpret_cast<const char*>(jpg.data()), std::streamsize(jpg.size()));
        plat::Bitmap logo(120, 60);
        logo.Fill(plat::ColorWhite);
        plat::Canvas c(logo);
        c.SetBrush({plat::MakeColor(240, 190, 30), plat::BrushStyle::Solid});
        c.Ellipse({0, 0, 120, 60});
        this->logo = (dir / "logo.bmp").string();
        plat::SaveBitmapFile(logo, this->logo);
    }
    ~Files() { std::filesystem::remove_all(dir); }
};

const Files& TheFiles() {
    static const Files files;
    return files;
}

void PrepareSlide(uint8_t direction, plat::Bitmap& slide) {
    somnex::TScrImgProc1 proc;
    proc.SetCanvas(SlideW, SlideH);
    proc.LoadPicture(TheFiles().photo);
    proc.SetPictureLayout(0, 0);
    proc.SetBackgroundColor(0);
    proc.SetGradient(direction, 0x402010, 0xF0C080);
    proc.SetLogo(-1, 4, 200, TheFiles().logo);
    proc.SetCaption("Morning over the hills\r\nA second line", "\"Arial\", 18, [Bold], [clWhite]", 9, 1);
    if (!proc.Execute()) std::abort();
    proc.AssignResultTo(slide);
}

void BM_SlideAndEncode(benchmark::State& state) {
    for (auto _ : state) {
        plat::Bitmap slide;
        PrepareSlide(uint8_t(state.range(0)), slide);
        std::vector<uint8_t> jpg = somnex::EncodeJpeg(slide, Quality);
        benchmark::DoNotOptimize(jpg.data());
    }
}

// libjpeg-turbo alone: read the file, decode at the smallest power-of-two scale that still
// covers 800 x 600 (the same choice the loader makes), encode 800 x 600 of those pixels.
void BM_CodecFloor(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(
            bench::CodecFloorSlide(bench::ReadFile(TheFiles().photo), SlideW, SlideH, Quality));
}

// GraphicsMagick reading the photo, resizing it to fit 800 x 600 and writing a JPEG. With
// range(0) set it gets the size hint first, so its JPEG reader may use DCT scaling too.
void BM_GraphicsMagick(benchmark::State& state) {
    for (auto _ : state) {
        Magick::Image image;
        if (state.range(0)) image.size(Magick::Geometry(SlideW, SlideH));
        image.read(TheFiles().photo);
        image.resize(Magick::Geometry(SlideW, SlideH));
        image.quality(Quality);
        image.magick("JPEG");
        Magick::Blob blob;
        image.write(&blob);
        benchmark::DoNotOptimize(blob.data());
    }
}

void BM_Gradient(benchmark::State& state) {
    plat::Bitmap slide(SlideW, SlideH);
    plat::Canvas canvas(slide);
    for (auto _ : state) {
        somnex::DrawGradient(canvas, uint8_t(state.range(0)), 0x402010, 0xF0C080, slide.ClipRect());
        benchmark::DoNotOptimize(slide.Bits());
    }
}

BENCHMARK(BM_CodecFloor)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SlideAndEncode)->Arg(0)->Arg(2)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GraphicsMagick)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Gradient)->DenseRange(0, 12)->Unit(benchmark::kMillisecond)->UseRealTime();

// Prints each run and, at the end, the ratios against the floor and GraphicsMagick.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration) ms_[r.benchmark_name()] = r.GetAdjustedRealTime();
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const double floor = Get("BM_CodecFloor/real_time");
        const double gmHint = Get("BM_GraphicsMagick/1/real_time");
        const double gmFull = Get("BM_GraphicsMagick/0/real_time");
        if (floor <= 0) return;
        for (const char* d : {"0", "2", "10"}) {
            const double ours = Get(std::string("BM_SlideAndEncode/") + d + "/real_time");
            if (ours <= 0) continue;
            std::printf("slide (gradient %s) / codec floor: %.2f (goal <= 1.30)\n", d, ours / floor);
            if (gmHint > 0)
                std::printf("GraphicsMagick with size hint / slide (gradient %s): %.2f (goal >= 1.50)\n", d,
                            gmHint / ours);
            if (gmFull > 0)
                std::printf("GraphicsMagick full decode / slide (gradient %s): %.2f\n", d, gmFull / ours);
        }
    }

private:
    double Get(const std::string& name) const {
        auto it = ms_.find(name);
        return it == ms_.end() ? 0 : it->second;
    }
    std::map<std::string, double> ms_;
};

} // namespace

int main(int argc, char** argv) {
    Magick::InitializeMagick(*argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
