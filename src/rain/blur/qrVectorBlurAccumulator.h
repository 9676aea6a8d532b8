#pragma once
// The two float images a vector blur deposits into, over the output's
// window: colour sums (ARGB float) and the weight image, which starts at K
// and loses every weight deposited at its pixel. A pixel whose weight has
// fallen to 0 or below has been covered and starts no path of its own. The
// finish divides the colour sum by the total deposited weight, K - weight.
#include "qrPixel.h"
#include "qrTexture.h"
#include "blur/qrVectorBlurLanes.h"

#include <cstddef>
#include <cstdint>

class QrVectorBlurAccumulator {
public:
    // Covers coordinates [x0, x1) x [y0, y1); the contents are undefined
    // until clearRows. Throws OutOfMemory.
    void allocate(int32_t x0, int32_t y0, int32_t x1, int32_t y1, float k);
    void release();
    bool allocated() const { return colour_.hasData(); }

    // Colour sums 0, weights K, on rows [first, end) of the covered area.
    void clearRows(int32_t first, int32_t end) const;

    int32_t x0() const { return x0_; }
    int32_t y0() const { return y0_; }
    int32_t x1() const { return x1_; }
    int32_t y1() const { return y1_; }
    float k() const { return k_; }
    bool contains(int32_t x, int32_t y) const { return x >= x0_ && x < x1_ && y >= y0_ && y < y1_; }
    bool containsBox(int32_t bx0, int32_t by0, int32_t bx1, int32_t by1) const
    {
        return bx0 >= x0_ && by0 >= y0_ && bx1 < x1_ && by1 < y1_;
    }

    // The four colour floats and the weight of the pixel at (x, y).
    float* colourAt(int32_t x, int32_t y) const
    {
        return colourBase_ + std::ptrdiff_t(y - y0_) * colourStride_ + std::ptrdiff_t(x - x0_) * 4;
    }
    float* weightAt(int32_t x, int32_t y) const
    {
        return weightBase_ + std::ptrdiff_t(y - y0_) * weightStride_ + (x - x0_);
    }
    // Floats from one row to the next.
    std::ptrdiff_t colourStride() const { return colourStride_; }
    std::ptrdiff_t weightStride() const { return weightStride_; }

    // Adds `colour` times w at (x, y), and takes w off that pixel's weight,
    // when the pixel is covered.
    void addColour(int32_t x, int32_t y, QrLanes colour, float w) const
    {
        if (!contains(x, y))
            return;
        float* c = colourAt(x, y);
        qrStoreLanes(c, qrLoadFloats(c) + colour * w);
    }
    void takeWeight(int32_t x, int32_t y, float w) const
    {
        if (contains(x, y))
            *weightAt(x, y) -= w;
    }

    // The normalised colours of row y from x0 to x1 handed to
    // store(x, colour): colour sum / (K - weight), or all 0 where nothing was
    // deposited. Four reciprocals are taken at once.
    template <class Store>
    void normaliseRow(int32_t y, int32_t x0, int32_t x1, Store&& store) const
    {
        const float* weight = weightAt(x0, y);
        const float* colour = colourAt(x0, y);
        int32_t x = x0;
        for (; x + 4 <= x1; x += 4, weight += 4, colour += 16) {
            const QrLanes w = qrSplat(k_) - qrLoadFloats(weight);
            const QrLanes r = qrSplat(1.0f) / w;
            for (int j = 0; j < 4; ++j)
                store(x + j, w[j] == 0.0f ? qrSplat(0.0f) : qrLoadFloats(colour + 4 * j) * r[j]);
        }
        for (; x < x1; ++x, ++weight, colour += 4) {
            const float w = k_ - *weight;
            store(x, w == 0.0f ? qrSplat(0.0f) : qrLoadFloats(colour) * (1.0f / w));
        }
    }

private:
    QrTexture<Quarn::Pixel::ARGBF> colour_;
    QrTexture<Quarn::Pixel::SingleF> weight_;
    float* colourBase_ = nullptr;
    float* weightBase_ = nullptr;
    std::ptrdiff_t colourStride_ = 0, weightStride_ = 0;
    int32_t x0_ = 0, y0_ = 0, x1_ = 0, y1_ = 0;
    float k_ = 1.0f;
};
