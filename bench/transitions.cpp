// One frame of every transition effect against one full-frame copy of the same size (the copy the
// player makes before every frame). Prints the usual table, then per size the median and slowest
// effect as multiples of the copy and every effect's time.
#include "engine/core/SharedRandom.h"
#include "engine/transitions/PSEffect.h"
#include "engine/transitions/RowOps.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace somnex;

struct Pictures {
    std::vector<uint8_t> DisplayBytes, ImageBytes, OldBytes;
    PixelView Display, Image, Old;
    Pictures(int w, int h)
        : DisplayBytes(size_t(w) * h * 4), ImageBytes(DisplayBytes.size()), OldBytes(DisplayBytes.size()) {
        for (size_t i = 0; i < ImageBytes.size(); ++i)
            ImageBytes[i] = uint8_t(i * 7), OldBytes[i] = uint8_t(i * 13);
        Display = {DisplayBytes.data(), w, h, ptrdiff_t(w) * 4, 4};
        Image = {ImageBytes.data(), w, h, ptrdiff_t(w) * 4, 4};
        Old = {OldBytes.data(), w, h, ptrdiff_t(w) * 4, 4};
    }
};

void FrameCopy(benchmark::State& state, int w, int h) {
    Pictures p(w, h);
    for (auto _ : state) {
        CopyPixels(p.Display, p.Old);
        benchmark::DoNotOptimize(p.DisplayBytes.data());
        benchmark::ClobberMemory();
    }
}

void Effect(benchmark::State& state, int style, int w, int h) {
    Pictures p(w, h);
    int progress = 1;
    for (auto _ : state) {
        TRect update{0, 0, w, h};
        // Progress walks through the run so no single lucky value decides the figure.
        TransitionEffects[size_t(style - 1)].Proc(p.Display, p.Image, update, 4, progress);
        progress = progress % 99 + 1;
        benchmark::DoNotOptimize(p.DisplayBytes.data());
        benchmark::ClobberMemory();
    }
}

class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration) {
                std::string name = r.benchmark_name();
                name = name.substr(0, name.find("/min_time")); // the registered name only
                times_[name] = r.GetAdjustedRealTime();
            }
        ConsoleReporter::ReportRuns(runs);
    }
    void Summarise(const std::string& size) {
        const double copy = times_["copy/" + size];
        std::vector<std::pair<double, int>> ratios;
        for (int s = 1; s <= EffectCount; ++s) {
            auto it = times_.find("effect/" + size + "/" + std::to_string(s));
            if (it != times_.end()) ratios.push_back({it->second / copy, s});
        }
        if (ratios.empty() || copy <= 0) return;
        std::vector<std::pair<double, int>> sorted = ratios;
        std::sort(sorted.begin(), sorted.end());
        const auto& median = sorted[sorted.size() / 2];
        const auto& slowest = sorted.back();
        std::printf(
            "\n%s: frame copy %.3f ms; median effect %.2fx (effect %d), slowest %.2fx (effect %d, %.2f ms)\n",
            size.c_str(), copy, median.first, median.second, slowest.first, slowest.second,
            slowest.first * copy);
        for (size_t i = 0; i < ratios.size(); ++i)
            std::printf("%4d %7.3f ms %6.2fx%s", ratios[i].second, ratios[i].first * copy, ratios[i].first,
                        i % 5 == 4 ? "\n" : "   ");
        std::printf("\n");
    }

private:
    std::map<std::string, double> times_;
};

} // namespace

int main(int argc, char** argv) {
    const std::pair<int, int> sizes[] = {{1920, 1080}, {800, 600}};
    for (auto [w, h] : sizes) {
        const std::string size = std::to_string(w) + "x" + std::to_string(h);
        benchmark::RegisterBenchmark(("copy/" + size).c_str(), FrameCopy, w, h)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(0.1);
        for (int s = 1; s <= EffectCount; ++s)
            benchmark::RegisterBenchmark(("effect/" + size + "/" + std::to_string(s)).c_str(), Effect, s, w,
                                         h)
                ->Unit(benchmark::kMillisecond)
                ->MinTime(0.05);
    }
    benchmark::Initialize(&argc, argv);
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (auto [w, h] : sizes) reporter.Summarise(std::to_string(w) + "x" + std::to_string(h));
    benchmark::Shutdown();
}
