// The picture loader and the JPEG encoder against libjpeg-turbo called directly into a plain
// buffer: decoding a 12-megapixel photo and encoding an 800 x 600 slide.
#include "bench/BenchCommon.h"
#include "engine/decoders/JpegCodec.h"
#include "engine/decoders/PictureLoader.h"

#include <benchmark/benchmark.h>
#include <jpeglib.h>

#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

// Smooth shading, edges and sensor-like noise, so the codec works as hard as on a photo.
const std::vector<uint8_t>& Photo() {
    static const std::vector<uint8_t> jpg = somnex::EncodeJpeg(bench::PhotoLike(4000, 3000), 90);
    return jpg;
}

const plat::Bitmap& Slide() {
    static const plat::Bitmap b = bench::PhotoLike(800, 600);
    return b;
}

void BM_DecodeFloor(benchmark::State& state) {
    const auto& jpg = Photo();
    for (auto _ : state) {
        jpeg_decompress_struct cinfo;
        jpeg_error_mgr jerr;
        cinfo.err = jpeg_std_error(&jerr);
        jpeg_create_decompress(&cinfo);
        jpeg_mem_src(&cinfo, jpg.data(), jpg.size());
        jpeg_read_header(&cinfo, TRUE);
        cinfo.out_color_space = JCS_EXT_BGR;
        jpeg_start_decompress(&cinfo);
        const size_t stride = size_t(cinfo.output_width) * 3;
        std::vector<uint8_t> pixels(stride * cinfo.output_height);
        while (cinfo.output_scanline < cinfo.output_height) {
            JSAMPROW row = pixels.data() + stride * cinfo.output_scanline;
            jpeg_read_scanlines(&cinfo, &row, 1);
        }
        jpeg_finish_decompress(&cinfo);
        jpeg_destroy_decompress(&cinfo);
        benchmark::DoNotOptimize(pixels.data());
    }
}

void BM_DecodeLoader(benchmark::State& state) {
    const auto& jpg = Photo();
    for (auto _ : state) {
        plat::Bitmap b = somnex::DecodePicture("jpg", jpg.data(), jpg.size(), "photo.jpg");
        benchmark::DoNotOptimize(b.Bits());
    }
}

void BM_EncodeFloor(benchmark::State& state) {
    const plat::Bitmap& slide = Slide();
    std::vector<uint8_t> plain(size_t(slide.Width()) * 3 * size_t(slide.Height()));
    for (int y = 0; y < slide.Height(); ++y)
        std::copy_n(slide.ScanLine(y), slide.Width() * 3,
                    plain.data() + size_t(y) * size_t(slide.Width()) * 3);
    for (auto _ : state) {
        jpeg_compress_struct cinfo;
        jpeg_error_mgr jerr;
        cinfo.err = jpeg_std_error(&jerr);
        jpeg_create_compress(&cinfo);
        unsigned char* buf = nullptr;
        unsigned long len = 0;
        jpeg_mem_dest(&cinfo, &buf, &len);
        cinfo.image_width = JDIMENSION(slide.Width());
        cinfo.image_height = JDIMENSION(slide.Height());
        cinfo.input_components = 3;
        cinfo.in_color_space = JCS_EXT_BGR;
        jpeg_set_defaults(&cinfo);
        jpeg_set_quality(&cinfo, 90, TRUE);
        jpeg_start_compress(&cinfo, TRUE);
        while (cinfo.next_scanline < cinfo.image_height) {
            JSAMPROW row = plain.data() + size_t(cinfo.next_scanline) * size_t(slide.Width()) * 3;
            jpeg_write_scanlines(&cinfo, &row, 1);
        }
        jpeg_finish_compress(&cinfo);
        jpeg_destroy_compress(&cinfo);
        benchmark::DoNotOptimize(buf);
        std::free(buf);
    }
}

void BM_EncodeOurs(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<uint8_t> jpg = somnex::EncodeJpeg(Slide(), 90);
        benchmark::DoNotOptimize(jpg.data());
    }
}

BENCHMARK(BM_DecodeFloor)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DecodeLoader)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EncodeFloor)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EncodeOurs)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
