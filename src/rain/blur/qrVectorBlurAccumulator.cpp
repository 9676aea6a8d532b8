#include "blur/qrVectorBlurAccumulator.h"

#include <algorithm>

namespace {

// Columns to allocate so that a row is an odd number of 64-byte cache lines
// long. The blur walks down columns; rows a power-of-two multiple of lines
// apart share the same few sets of the first-level cache and evict each
// other on every step.
int32_t paddedColumns(int32_t width, int32_t bytesPerPixel)
{
    const int32_t perLine = 64 / bytesPerPixel;
    int32_t lines = (width + perLine - 1) / perLine;
    if (lines % 2 == 0)
        ++lines;
    return lines * perLine;
}

}  // namespace

void QrVectorBlurAccumulator::allocate(int32_t x0, int32_t y0, int32_t x1, int32_t y1, float k)
{
    release();
    const int32_t width = std::max(x1 - x0, 0), height = std::max(y1 - y0, 0);
    colour_ = QrTexture<Quarn::Pixel::ARGBF>::allocate(paddedColumns(width, 16), height);
    weight_ = QrTexture<Quarn::Pixel::SingleF>::allocate(paddedColumns(width, 4), height);
    colourBase_ = reinterpret_cast<float*>(colour_.data());
    weightBase_ = reinterpret_cast<float*>(weight_.data());
    colourStride_ = colour_.stride() / std::ptrdiff_t(sizeof(float));
    weightStride_ = weight_.stride() / std::ptrdiff_t(sizeof(float));
    x0_ = x0;
    y0_ = y0;
    x1_ = x0 + width;
    y1_ = y0 + height;
    k_ = k;
}

void QrVectorBlurAccumulator::release()
{
    colour_.releaseData();
    weight_.releaseData();
    colourBase_ = weightBase_ = nullptr;
    x1_ = x0_;
    y1_ = y0_;
}

void QrVectorBlurAccumulator::clearRows(int32_t first, int32_t end) const
{
    first = std::max(first, y0_);
    end = std::min(end, y1_);
    const int32_t width = x1_ - x0_;
    for (int32_t y = first; y < end; ++y) {
        std::fill_n(colourAt(x0_, y), std::ptrdiff_t(width) * 4, 0.0f);
        std::fill_n(weightAt(x0_, y), width, k_);
    }
}
