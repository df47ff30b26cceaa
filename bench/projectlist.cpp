// The picture list of a 1000-picture project: (a) written entry by entry with WriteImage and then
// the count, against writing the final file's bytes once; (b) opened and read entry by entry,
// against reading the file and splitting it into lines. Prints both ratios at the end, and for
// (a) also where one write(2) per added line, the least a write-through writer does, stands.
#include "engine/project/Unit_IniPcvProjectFile.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <unistd.h>

namespace {

constexpr int kPictures = 1000;

struct Folder {
    std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("somnex-bench-" + std::to_string(getpid()));
    Folder() { std::filesystem::create_directories(path); }
    ~Folder() {
        std::error_code ec;
        std::filesystem::current_path("/", ec);
        std::filesystem::remove_all(path, ec);
    }
    std::string operator/(const std::string& name) const { return (path / name).string(); }
};

Folder& TheFolder() {
    static Folder folder;
    return folder;
}

somnex::TImageRec Picture(int i) {
    somnex::TImageRec r;
    r.FileName = TheFolder() / ("pictures/photo" + std::to_string(i) + ".jpg");
    r.Caption = "Picture " + std::to_string(i) + "\r\nsecond line";
    r.CaptionFont = "\"Arial\", 12, [Bold], [clRed]";
    r.CaptionPos = -1;
    r.Opacity = 255;
    r.LogoPos = 3;
    r.LogoFile = TheFolder() / "logo.png";
    r.LogoAlpha = 128;
    r.TransformID = i % 150;
    r.EffectStep = 4;
    r.EffectDelay = 40;
    r.Interval = 5;
    return r;
}

// A project whose settings are written, ready for its picture list.
void StartProject(somnex::TIniPCVProjectFile& p, const std::string& file) {
    std::filesystem::remove(file);
    p.NewProject(file);
    p.WriteProject();
}

// Built once: the benchmark times writing the list, not making its records.
const std::vector<somnex::TImageRec>& Pictures() {
    static const std::vector<somnex::TImageRec> pictures = [] {
        std::vector<somnex::TImageRec> list;
        for (int i = 0; i < kPictures; ++i) list.push_back(Picture(i));
        return list;
    }();
    return pictures;
}

void WriteList(somnex::TIniPCVProjectFile& p) {
    const auto& pictures = Pictures();
    for (int i = 0; i < kPictures; ++i) p.WriteImage(i, pictures[size_t(i)]);
    p.SetListCount(somnex::TListKind::Images, kPictures);
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The finished project, made once, for the floors and the reading benchmark.
const std::string& FinishedProject() {
    static const std::string file = [] {
        std::string f = TheFolder() / "finished.ini";
        somnex::TIniPCVProjectFile p;
        StartProject(p, f);
        WriteList(p);
        p.CloseProject();
        return f;
    }();
    return file;
}

void WriteEntries(benchmark::State& state) {
    const std::string file = TheFolder() / "written.ini";
    Pictures();
    for (auto _ : state) {
        state.PauseTiming();
        somnex::TIniPCVProjectFile p;
        StartProject(p, file);
        state.ResumeTiming();
        WriteList(p);
        state.PauseTiming();
        p.CloseProject();
        state.ResumeTiming();
    }
    if (ReadBytes(file) != ReadBytes(FinishedProject())) state.SkipWithError("written file differs");
}

void WriteBytesOnce(benchmark::State& state) {
    const std::string bytes = ReadBytes(FinishedProject());
    const std::string file = TheFolder() / "floor.ini";
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(file);
        state.ResumeTiming();
        std::FILE* f = std::fopen(file.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
}

// The least any write-through writer does: one write(2) for each line the list adds.
void AppendEachLine(benchmark::State& state) {
    const std::string file = TheFolder() / "appended.ini";
    std::string settings;
    {
        somnex::TIniPCVProjectFile p;
        StartProject(p, file);
        p.CloseProject();
        settings = ReadBytes(file);
    }
    const std::string finished = ReadBytes(FinishedProject());
    std::vector<std::string> lines;
    for (size_t at = settings.size(); at < finished.size();) {
        size_t end = finished.find("\r\n", at) + 2;
        lines.push_back(finished.substr(at, end - at));
        at = end;
    }
    for (auto _ : state) {
        state.PauseTiming();
        {
            std::FILE* f = std::fopen(file.c_str(), "wb");
            std::fwrite(settings.data(), 1, settings.size(), f);
            std::fclose(f);
        }
        state.ResumeTiming();
        int fd = open(file.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
        for (const std::string& line : lines)
            if (write(fd, line.data(), line.size()) != ssize_t(line.size())) state.SkipWithError("write");
        close(fd);
    }
    if (ReadBytes(file) != finished) state.SkipWithError("appended file differs");
}

void OpenAndReadEntries(benchmark::State& state) {
    const std::string file = FinishedProject();
    for (auto _ : state) {
        somnex::TIniPCVProjectFile p;
        if (!p.OpenProject(file)) state.SkipWithError("cannot open");
        int n = p.GetListCount(somnex::TListKind::Images);
        somnex::TImageRec r;
        for (int i = 0; i < n; ++i) p.ReadImage(i, r);
        benchmark::DoNotOptimize(r);
        p.CloseProject();
    }
}

void ReadAndSplitLines(benchmark::State& state) {
    const std::string file = FinishedProject();
    for (auto _ : state) {
        std::string bytes = ReadBytes(file);
        std::vector<std::string> lines;
        size_t start = 0;
        for (size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] != '\n') continue;
            lines.emplace_back(bytes, start, i - start - (i > start && bytes[i - 1] == '\r'));
            start = i + 1;
        }
        benchmark::DoNotOptimize(lines);
    }
}

BENCHMARK(WriteEntries)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteBytesOnce)->Unit(benchmark::kMillisecond);
BENCHMARK(AppendEachLine)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenAndReadEntries)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadAndSplitLines)->Unit(benchmark::kMillisecond);

// Keeps each benchmark's time per iteration so the ratios come from this very run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& r : runs) times_[r.benchmark_name()] = r.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        Ratio("(a) write 1000 entries + count / write final bytes once", "WriteEntries", "WriteBytesOnce",
              20);
        Ratio("    one write(2) per added line / write final bytes once", "AppendEachLine", "WriteBytesOnce",
              20);
        Ratio("    write 1000 entries + count / one write(2) per added line", "WriteEntries",
              "AppendEachLine", 0);
        Ratio("(b) open + read 1000 entries / read file + split lines", "OpenAndReadEntries",
              "ReadAndSplitLines", 10);
    }

private:
    void Ratio(const char* what, const char* work, const char* floor, double goal) {
        if (!times_.count(work) || !times_.count(floor)) return;
        double ratio = times_[work] / times_[floor];
        if (goal > 0)
            std::printf("%s: %.1fx (goal %.0fx) %s\n", what, ratio, goal, ratio <= goal ? "met" : "MISSED");
        else
            std::printf("%s: %.1fx\n", what, ratio);
    }
    std::map<std::string, double> times_;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
