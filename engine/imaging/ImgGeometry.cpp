#include "engine/imaging/ImgGeometry.h"

#include "engine/core/SharedRandom.h"
#include "somnex/EngineError.h"

#include <chrono>
#include <cmath>

namespace somnex {

int32_t Nearest(double x) {
    // nearbyint follows the current rounding mode, which is to-nearest-even unless someone changed it.
    return int32_t(std::nearbyint(x));
}

plat::Rect FitRect(int32_t srcWidth, int32_t srcHeight, int32_t dstWidth, int32_t dstHeight, int32_t mode) {
    if (srcHeight == 0 || dstHeight == 0) throw EngineError("Invalid picture size");
    // The ratios are deliberately single precision: their difference decides the mode.
    const float r = float(srcWidth) / float(srcHeight);
    const float t = float(dstWidth) / float(dstHeight);
    if (mode == 4) {
        if (srcWidth < dstWidth && srcHeight < dstHeight)
            mode = 0;
        else {
            const float d = r - t;
            mode = d == 0 ? 1 : (d > 0 ? 2 : 3);
        }
    }
    switch (mode) {
    case 0:
        return {0, 0, srcWidth, srcHeight};
    case 1:
        return {0, 0, dstWidth, dstHeight};
    case 2: {
        const double h = dstWidth < srcWidth ? srcHeight - (srcWidth - dstWidth) / double(r)
                                             : srcHeight + (dstWidth - srcWidth) / double(r);
        return {0, 0, dstWidth, Nearest(h)};
    }
    case 3: {
        const double w = dstHeight < srcHeight ? srcWidth - double(r) * (srcHeight - dstHeight)
                                               : srcWidth + double(r) * (dstHeight - srcHeight);
        return {0, 0, Nearest(w), dstHeight};
    }
    default:
        // No caller passes other modes; keeping the size is the harmless answer.
        return {0, 0, srcWidth, srcHeight};
    }
}

plat::Rect PlaceRect(int32_t position, int32_t containerWidth, int32_t containerHeight, int32_t margin,
                     int32_t objectWidth, int32_t objectHeight) {
    if (position == 1) {
        RandomizeFromClock();
        do position = TheRandom().Random(11);
        while (position < 2);
    }
    const int32_t centreX = Nearest(containerWidth / 2.0 - objectWidth / 2.0);
    const int32_t centreY = Nearest(containerHeight / 2.0 - objectHeight / 2.0);
    const int32_t rightX = containerWidth - objectWidth - margin;
    const int32_t bottomY = containerHeight - objectHeight - margin;
    int32_t x = margin, y = margin;
    switch (position) {
    case 3:
        x = centreX;
        break;
    case 4:
        x = rightX;
        break;
    case 5:
        y = centreY;
        break;
    case 6:
        x = centreX, y = centreY;
        break;
    case 7:
        x = rightX, y = centreY;
        break;
    case 8:
        y = bottomY;
        break;
    case 9:
        x = centreX, y = bottomY;
        break;
    case 10:
        x = rightX, y = bottomY;
        break;
    default:
        break;
    }
    return {x, y, x + objectWidth, y + objectHeight};
}

int32_t CentredOffset(int32_t containerSize, int32_t objectSize) {
    return Nearest((containerSize - objectSize) / 2.0);
}

int32_t RandomOffset(int32_t containerSize, int32_t objectSize) {
    const int32_t range = containerSize - objectSize;
    if (range <= 0) return CentredOffset(containerSize, objectSize);
    return TheRandom().Random(range);
}

std::string LongestLine(const std::vector<std::string>& lines) {
    if (lines.size() == 1) return lines.front();
    // Each neighbouring pair offers its longer line (the second on a tie); the first offer that
    // beats every earlier one is kept.
    std::string result;
    size_t best = 0;
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
        const std::string& candidate = lines[i].size() > lines[i + 1].size() ? lines[i] : lines[i + 1];
        if (candidate.size() > best) {
            best = candidate.size();
            result = candidate;
        }
    }
    return result;
}

namespace {
SeedClock& Clock() {
    static SeedClock clock;
    return clock;
}
} // namespace

void SetSeedClock(SeedClock clock) {
    Clock() = std::move(clock);
}

void RandomizeFromClock() {
    uint32_t seed;
    if (Clock())
        seed = Clock()();
    else
        seed = uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now().time_since_epoch())
                            .count());
    TheRandom().SetSeed(seed);
}

} // namespace somnex
