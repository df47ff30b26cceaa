// Storing music through a fast-level, Gost-encrypted blob field, against the floor of zlib level 1
// and libgcrypt's GOST 28147-89 on the same bytes in memory. Prints the ratio of the two.
#include "engine/store/TTinyDatabase.h"
#include "engine/store/TTinyTable.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <gcrypt.h>
#include <unistd.h>
#include <zlib.h>

namespace {

constexpr size_t kMusicBytes = 100u << 20;

// 16-bit stereo samples: a few tones with a slow envelope and a little noise, which compresses
// about as poorly as real recorded sound does.
const std::vector<uint8_t>& music() {
    static const std::vector<uint8_t> data = [] {
        std::vector<uint8_t> d(kMusicBytes);
        uint32_t noise = 12345;
        for (size_t i = 0; i + 4 <= d.size(); i += 4) {
            double t = static_cast<double>(i / 4) / 44100.0;
            double env = 0.5 + 0.5 * std::sin(t * 0.7);
            noise = noise * 1664525u + 1013904223u;
            double s = env * (0.4 * std::sin(t * 2 * M_PI * 220) + 0.2 * std::sin(t * 2 * M_PI * 331)) +
                       static_cast<double>(noise >> 24) / 256.0 * 0.02;
            auto v = static_cast<int16_t>(s * 32767);
            for (int c = 0; c < 2; ++c) {
                d[i + 2 * c] = static_cast<uint8_t>(v & 0xff);
                d[i + 2 * c + 1] = static_cast<uint8_t>((v >> 8) & 0xff);
            }
        }
        return d;
    }();
    return data;
}

double storeSeconds = 0, floorSeconds = 0;

void BM_StoreMusicGost(benchmark::State& state) {
    const auto& data = music();
    std::string file =
        (std::filesystem::temp_directory_path() / ("somnex-bench-store-" + std::to_string(::getpid())))
            .string();
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        somnex::TTinyDatabase db;
        if (!db.CreateDatabase(file, true, somnex::clFast, "ZLIB", true, "Gost", "TORVALQUINE", false))
            state.SkipWithError("create failed");
        db.SetFileName(file);
        db.SetPassword("TORVALQUINE");
        db.CreateTable("Music",
                       {{"ID", somnex::TFieldType::AutoInc, 0, somnex::TFieldProcessing::Default},
                        {"FileName", somnex::TFieldType::String, 100, somnex::TFieldProcessing::Default},
                        {"MusicData", somnex::TFieldType::Blob, 0, somnex::TFieldProcessing::Default}});
        db.Disconnect();
        somnex::TTinyTable t;
        t.SetDatabaseName(file);
        t.SetPassword("TORVALQUINE");
        t.SetTableName("Music");
        t.Open();
        t.Append();
        t.FieldByName("FileName").SetAsString("track01.wav");
        t.FieldByName("MusicData").LoadFromStream(data);
        t.Post();
        t.Close();
        storeSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(storeSeconds);
        state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(file)) / 1e6;
        std::filesystem::remove(file);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * data.size()));
}

void BM_FloorZlib1Gost(benchmark::State& state) {
    const auto& data = music();
    gcry_check_version(nullptr);
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        uLongf n = compressBound(data.size());
        std::vector<uint8_t> out(n);
        compress2(out.data(), &n, data.data(), data.size(), 1);
        gcry_cipher_hd_t h;
        gcry_cipher_open(&h, GCRY_CIPHER_GOST28147, GCRY_CIPHER_MODE_CFB, 0);
        gcry_cipher_set_sbox(h, "1.2.643.2.2.31.1");
        uint8_t key[32] = {1}, iv[8] = {2};
        gcry_cipher_setkey(h, key, sizeof key);
        gcry_cipher_setiv(h, iv, sizeof iv);
        gcry_cipher_encrypt(h, out.data(), n, nullptr, 0);
        gcry_cipher_close(h);
        benchmark::DoNotOptimize(out.data());
        floorSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(floorSeconds);
        state.counters["compressed_MB"] = static_cast<double>(n) / 1e6;
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * data.size()));
}

BENCHMARK(BM_FloorZlib1Gost)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StoreMusicGost)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (storeSeconds > 0 && floorSeconds > 0)
        std::printf("store / floor = %.3f (goal <= 1.30)\n", storeSeconds / floorSeconds);
    return 0;
}
