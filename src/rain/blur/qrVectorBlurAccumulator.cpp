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

template <class Texture> void fit(Texture& t, int32_t columns, int32_t rows)
{
    if (t.hasData() && t.width() == columns && t.height() >= rows)
        return;
    t.releaseData();
    t = Texture::allocate(columns, rows);
}

}  // namespace

void QrVectorBlurAccumulator::allocate(const QrRect& area, int32_t rows, float k)
{
    area_ = area;
    area_.x1 = std::max(area.x0, area.x1);
    area_.y1 = std::max(area.y0, area.y1);
    rows_ = std::clamp(rows, 1, std::max(area_.height(), 1));
    k_ = k;
    fit(colour_, paddedColumns(area_.width(), 16), rows_);
    fit(weight_, paddedColumns(area_.width(), 4), rows_);
    colourBase_ = reinterpret_cast<float*>(colour_.data());
    weightBase_ = reinterpret_cast<float*>(weight_.data());
    colourStride_ = colour_.stride() / std::ptrdiff_t(sizeof(float));
    weightStride_ = weight_.stride() / std::ptrdiff_t(sizeof(float));
}

void QrVectorBlurAccumulator::release()
{
    colour_.releaseData();
    weight_.releaseData();
    colourBase_ = weightBase_ = nullptr;
    area_ = QrRect {};
}

void QrVectorBlurAccumulator::clearRows(int32_t first, int32_t end) const
{
    first = std::max(first, area_.y0);
    end = std::min(end, area_.y1);
    for (int32_t y = first; y < end; ++y) {
        std::fill_n(colourRow(y), std::ptrdiff_t(area_.width()) * 4, 0.0f);
        std::fill_n(weightRow(y), area_.width(), k_);
    }
}
