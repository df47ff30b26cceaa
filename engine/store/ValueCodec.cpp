#include "engine/store/ValueCodec.h"

#include "engine/store/StoreErrors.h"
#include "somnex/EngineError.h"

#include <cstring>
#include <zlib.h>

namespace somnex {

namespace {

void putLe(std::string& out, uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
}

uint64_t getLe(std::string_view in, size_t at, int bytes) {
    uint64_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= uint64_t(static_cast<uint8_t>(in[at + i])) << (8 * i);
    return v;
}

uint32_t crcOf(std::string_view s) {
    uLong crc = crc32(0L, Z_NULL, 0);
    // zlib takes 32-bit lengths; feed big values in slices.
    for (size_t at = 0; at < s.size();) {
        uInt n = static_cast<uInt>(std::min<size_t>(s.size() - at, 1u << 30));
        crc = crc32(crc, reinterpret_cast<const Bytef*>(s.data() + at), n);
        at += n;
    }
    return static_cast<uint32_t>(crc);
}

// Appends the deflated `in` (RFC 1950) to `out`.
void deflateInto(std::string& out, std::string_view in, int level) {
    z_stream z{};
    if (deflateInit(&z, level) != Z_OK) throw EngineError("Compression failed");
    size_t start = out.size();
    out.resize(start + deflateBound(&z, static_cast<uLong>(in.size())) + 16);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    z.next_out = reinterpret_cast<Bytef*>(out.data() + start);
    size_t inLeft = in.size(), outLeft = out.size() - start;
    int rc = Z_OK;
    while (rc != Z_STREAM_END) {
        uInt ni = static_cast<uInt>(std::min<size_t>(inLeft, 1u << 30));
        uInt no = static_cast<uInt>(std::min<size_t>(outLeft, 1u << 30));
        z.avail_in = ni;
        z.avail_out = no;
        rc = deflate(&z, ni == inLeft ? Z_FINISH : Z_NO_FLUSH);
        inLeft -= ni - z.avail_in;
        outLeft -= no - z.avail_out;
        if (rc == Z_STREAM_ERROR || (rc == Z_BUF_ERROR && outLeft == 0)) {
            deflateEnd(&z);
            throw EngineError("Compression failed");
        }
    }
    out.resize(out.size() - outLeft);
    deflateEnd(&z);
}

bool inflateExact(std::string_view in, std::string& out, uint64_t size) {
    // Deflate expands at most about 1032 times; a larger claim is damage, not data.
    if (size > (uint64_t(in.size()) + 64) * 1040) return false;
    out.assign(size, '\0');
    z_stream z{};
    if (inflateInit(&z) != Z_OK) return false;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    size_t inLeft = in.size(), outLeft = size;
    int rc = Z_OK;
    while (rc == Z_OK) {
        uInt ni = static_cast<uInt>(std::min<size_t>(inLeft, 1u << 30));
        uInt no = static_cast<uInt>(std::min<size_t>(outLeft, 1u << 30));
        z.avail_in = ni;
        z.avail_out = no;
        rc = inflate(&z, Z_NO_FLUSH);
        inLeft -= ni - z.avail_in;
        outLeft -= no - z.avail_out;
        if (rc == Z_OK && ni == z.avail_in && no == z.avail_out) rc = Z_BUF_ERROR; // no progress
    }
    inflateEnd(&z);
    return rc == Z_STREAM_END && outLeft == 0 && inLeft == 0;
}

} // namespace

std::string encodeValue(const CodecContext& ctx, const FieldCoding& coding, std::string_view plain) {
    std::string content;
    std::string_view body = plain;
    if (coding.checksum) {
        content.reserve(plain.size() + 4);
        content.append(plain);
        putLe(content, crcOf(plain), 4);
        body = content;
    }
    uint8_t flags = (coding.compress ? kFrameCompressed : 0) | (coding.encrypt ? kFrameEncrypted : 0) |
                    (coding.checksum ? kFrameChecksum : 0);
    std::string iv;
    if (coding.encrypt) iv = coding.deterministic ? syntheticIv(*ctx.keys, plain) : randomBytes(kIvSize);

    std::string frame;
    frame.reserve(1 + iv.size() + 8 + body.size() + body.size() / 100 + 64);
    frame.push_back(static_cast<char>(flags));
    frame += iv;
    size_t payload = frame.size();
    if (coding.compress) {
        putLe(frame, body.size(), 8);
        deflateInto(frame, body, ctx.zlibLevel);
    } else {
        frame.append(body);
    }
    if (coding.encrypt) cfbEncrypt(ctx.cipher, *ctx.keys, iv, frame.data() + payload, frame.size() - payload);
    return frame;
}

std::string decodeValue(const CodecContext& ctx, const FieldCoding& coding, std::string_view frame,
                        const std::string& file) {
    auto damaged = [&] { return EngineError(store_errors::damaged(file)); };
    if (frame.empty()) throw damaged();
    uint8_t flags = static_cast<uint8_t>(frame[0]);
    if (flags & ~(kFrameCompressed | kFrameEncrypted | kFrameChecksum)) throw damaged();
    size_t at = 1;
    std::string payload;
    if (flags & kFrameEncrypted) {
        if (!ctx.keys || ctx.cipher == TCipherAlgo::None || frame.size() < at + kIvSize) throw damaged();
        std::string_view iv = frame.substr(at, kIvSize);
        at += kIvSize;
        payload.assign(frame.substr(at));
        cfbDecrypt(ctx.cipher, *ctx.keys, iv, payload.data(), payload.size());
    } else {
        payload.assign(frame.substr(at));
    }
    std::string content;
    if (flags & kFrameCompressed) {
        if (payload.size() < 8) throw damaged();
        uint64_t size = getLe(payload, 0, 8);
        if (!inflateExact(std::string_view(payload).substr(8), content, size)) throw damaged();
    } else {
        content = std::move(payload);
    }
    if (flags & kFrameChecksum) {
        if (content.size() < 4) throw damaged();
        size_t n = content.size() - 4;
        if (getLe(content, n, 4) != crcOf(std::string_view(content).substr(0, n))) throw damaged();
        content.resize(n);
    }
    if ((flags & kFrameEncrypted) && coding.deterministic &&
        syntheticIv(*ctx.keys, content) != frame.substr(1, kIvSize))
        throw damaged();
    return content;
}

} // namespace somnex
