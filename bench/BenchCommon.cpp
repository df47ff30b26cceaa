#include "bench/BenchCommon.h"

#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace bench {

plat::Bitmap PhotoLike(int w, int h) {
    plat::Bitmap b(w, h);
    uint32_t seed = 12345;
    for (int y = 0; y < h; ++y) {
        uint8_t* row = b.ScanLine(y);
        for (int x = 0; x < w; ++x) {
            seed = seed * 134775813u + 1;
            const int noise = int(seed >> 28) - 8;
            const double v = 128 + 90 * std::sin(x * 0.004 + std::cos(y * 0.003) * 3) * std::cos(y * 0.002);
            const int edge = ((x / 300 + y / 200) % 2) * 40;
            row[3 * x] = uint8_t(std::clamp(int(v) + noise + edge, 0, 255));
            row[3 * x + 1] = uint8_t(std::clamp(int(v * 0.8) + noise + 30, 0, 255));
            row[3 * x + 2] = uint8_t(std::clamp(255 - int(v) + noise, 0, 255));
        }
    }
    return b;
}

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

size_t CodecFloorSlide(const std::vector<uint8_t>& jpeg, int slideW, int slideH, int quality) {
    jpeg_decompress_struct d;
    jpeg_error_mgr derr;
    d.err = jpeg_std_error(&derr);
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&d, TRUE);
    d.out_color_space = JCS_EXT_BGR;
    unsigned denom = 1;
    while (denom < 8 && d.image_width / (denom * 2) >= unsigned(slideW) &&
           d.image_height / (denom * 2) >= unsigned(slideH))
        denom *= 2;
    d.scale_num = 1;
    d.scale_denom = denom;
    jpeg_start_decompress(&d);
    const size_t stride = std::max<size_t>(d.output_width, size_t(slideW)) * 3;
    std::vector<uint8_t> pixels(stride * std::max<size_t>(d.output_height, size_t(slideH)));
    while (d.output_scanline < d.output_height) {
        JSAMPROW row = pixels.data() + stride * d.output_scanline;
        jpeg_read_scanlines(&d, &row, 1);
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);

    jpeg_compress_struct c;
    jpeg_error_mgr cerr;
    c.err = jpeg_std_error(&cerr);
    jpeg_create_compress(&c);
    unsigned char* buf = nullptr;
    unsigned long len = 0;
    jpeg_mem_dest(&c, &buf, &len);
    c.image_width = unsigned(slideW);
    c.image_height = unsigned(slideH);
    c.input_components = 3;
    c.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, quality, TRUE);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = pixels.data() + stride * c.next_scanline;
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::free(buf);
    return len;
}

} // namespace bench
