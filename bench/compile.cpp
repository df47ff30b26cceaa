// Compiling a 100-picture project of 12-megapixel photos end to end (the compiler object, its
// dialog offscreen, slides, JPEG, libraries, parameters, package), against the codec floor of
// libjpeg-turbo alone decoding each photo and encoding an 800 x 600 slide.
// SOMNEX_BENCH_SMOKE=1: 3 photos of 2 megapixels.
#include "bench/BenchCommon.h"
#include "engine/com/Unit_ScrCompiler.h"
#include "examples/ExampleProject.h"
#include "platform/ui/MessageBox.h"

#include <benchmark/benchmark.h>
#include <jpeglib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

namespace {

namespace fs = std::filesystem;

constexpr int SlideW = 800, SlideH = 600, Quality = 85;

bool Smoke() {
    const char* s = std::getenv("SOMNEX_BENCH_SMOKE");
    return s && *s && std::string(s) != "0";
}

// A photo-like picture: smooth colour fields with grain, so the decoder has real detail to do.
void WritePhoto(const std::string& path, int w, int h, uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> rgb(size_t(w) * size_t(h) * 3);
    double fx = 2 + rng() % 5, fy = 2 + rng() % 5;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = &rgb[(size_t(y) * size_t(w) + size_t(x)) * 3];
            int grain = int(rng() % 25) - 12;
            double u = double(x) / w, v = double(y) / h;
            p[0] = uint8_t(std::clamp(int(128 + 100 * std::sin(u * fx + v)) + grain, 0, 255));
            p[1] = uint8_t(std::clamp(int(128 + 90 * std::cos(v * fy - u)) + grain, 0, 255));
            p[2] = uint8_t(std::clamp(int(100 + 80 * std::sin((u + v) * 3)) + grain, 0, 255));
        }
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    FILE* f = std::fopen(path.c_str(), "wb");
    jpeg_stdio_dest(&c, f);
    c.image_width = unsigned(w);
    c.image_height = unsigned(h);
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 90, TRUE);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = &rgb[size_t(c.next_scanline) * size_t(w) * 3];
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::fclose(f);
}

// The photos and the project, made once and removed when the program ends.
struct Fixture {
    fs::path dir;
    std::vector<std::string> photos;
    std::string project, output;

    Fixture() {
        dir = fs::temp_directory_path() / ("somnex-bench-compile-" + std::to_string(::getpid()));
        fs::create_directories(dir / "work");
        int count = Smoke() ? 3 : 100, w = Smoke() ? 1632 : 4000, h = Smoke() ? 1224 : 3000;
        int distinct = std::min(count, 10);
        for (int i = 0; i < count; ++i) {
            std::string path = (dir / ("photo" + std::to_string(i) + ".jpg")).string();
            if (i < distinct)
                WritePhoto(path, w, h, uint32_t(i + 1));
            else
                fs::copy_file(photos[size_t(i % distinct)], path);
            photos.push_back(path);
        }
        example::ExampleProject show;
        show.Pictures = photos;
        show.Width = SlideW;
        show.Height = SlideH;
        show.Quality = Quality;
        project = (dir / "photos.pcv").string();
        example::WriteProject(project, show);
        std::ofstream((dir / "player.exe").string()) << "player";
        output = (dir / "photos.scr").string();
    }
    ~Fixture() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

Fixture& TheFixture() {
    static Fixture f;
    return f;
}

double compileSeconds = 0, floorSeconds = 0;

void BM_CompileProject(benchmark::State& state) {
    Fixture& f = TheFixture();
    plat::SetMessageBoxHandler([](const std::string&, const std::string&, uint32_t) { return plat::IDYES; });
    std::vector<std::string> params = {(f.dir / "player.exe").string(),
                                       f.output,
                                       f.project,
                                       (f.dir / "work").string() + "/",
                                       "Params.dat",
                                       "Images.dat",
                                       "Music.dat"};
    std::vector<const char*> list;
    for (const std::string& p : params) list.push_back(p.c_str());
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        auto* compiler = new somnex::TPcvCompiler();
        compiler->SetParams(list.data(), int32_t(list.size()) - 1);
        bool ok = compiler->Compile(0);
        compiler->Release();
        compileSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!ok) state.SkipWithError("Compile returned false");
    }
    plat::SetMessageBoxHandler({});
    state.counters["pictures_per_s"] = double(f.photos.size()) / compileSeconds;
}

// libjpeg-turbo alone: read the file, decode at the smallest power-of-two scale that still
// covers 800 x 600 (the loader's choice), encode 800 x 600 of those pixels.
void FloorOne(const std::string& path) {
    benchmark::DoNotOptimize(bench::CodecFloorSlide(bench::ReadFile(path), SlideW, SlideH, Quality));
}

void BM_CodecFloor(benchmark::State& state) {
    Fixture& f = TheFixture();
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        for (const std::string& p : f.photos) FloorOne(p);
        floorSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    state.counters["pictures_per_s"] = double(f.photos.size()) / floorSeconds;
}

BENCHMARK(BM_CodecFloor)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CompileProject)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    TheFixture(); // the photos are made before anything is timed
    benchmark::RunSpecifiedBenchmarks();
    if (compileSeconds > 0 && floorSeconds > 0)
        std::printf("compile / codec floor: %.2f (goal 1.40 or below), %zu pictures\n",
                    compileSeconds / floorSeconds, TheFixture().photos.size());
    benchmark::Shutdown();
    return 0;
}
