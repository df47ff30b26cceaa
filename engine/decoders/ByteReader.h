#pragma once
// Internal: bounds-checked reading of a file held in memory. Reading past the end raises the
// decoder's "truncated" error instead of touching memory outside the buffer.
#include "engine/decoders/DecodeLimits.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace somnex {

class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size, const std::string& what)
        : p_(data), size_(size), what_(what) {}

    size_t Pos() const { return pos_; }
    size_t Left() const { return size_ - pos_; }
    const std::string& What() const { return what_; }

    const uint8_t* Take(size_t n) {
        if (n > Left()) FailDecode(what_, "truncated file");
        const uint8_t* at = p_ + pos_;
        pos_ += n;
        return at;
    }
    void Skip(size_t n) { Take(n); }
    void Seek(size_t at) {
        if (at > size_) FailDecode(what_, "truncated file");
        pos_ = at;
    }
    uint8_t U8() { return *Take(1); }
    uint16_t U16BE() {
        const uint8_t* b = Take(2);
        return uint16_t(b[0] << 8 | b[1]);
    }
    uint32_t U32BE() {
        const uint8_t* b = Take(4);
        return uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3];
    }
    uint16_t U16LE() {
        const uint8_t* b = Take(2);
        return uint16_t(b[1] << 8 | b[0]);
    }
    uint32_t U32LE() {
        const uint8_t* b = Take(4);
        return uint32_t(b[3]) << 24 | uint32_t(b[2]) << 16 | uint32_t(b[1]) << 8 | b[0];
    }

private:
    const uint8_t* p_;
    size_t size_;
    size_t pos_ = 0;
    std::string what_;
};

} // namespace somnex
