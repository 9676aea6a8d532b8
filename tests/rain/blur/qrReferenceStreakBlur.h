#pragma once
// A slow, literal streak blur to check the optimised one against: one thread,
// one start pixel after another, every path traced point by point through its
// start, gathered, averaged with running sums and scattered into a float
// colour sum and a weight image, then divided. Plain settings only (no bias,
// jitter or step scale; the whole image). A bilinear sample at p reads the
// pixels whose centres (index + 0.5) surround it: floor(p - 0.5) and the next
// one, with fraction p - 0.5 - floor(p - 0.5). A deposit at p goes to floor(p)
// and floor(p) + 1 with fraction p - floor(p). Where the algorithm or
// float rounding leaves a choice, this takes the product's: start rows in
// strips, even strips before odd ones; point k at start + k * v in double
// relative to the start pixel (the leftover weights, of the order of 1e-8,
// decide which pixels start paths of their own); smoothing over 2h + 1 samples
// with thirds, then a mean over the whole regular path.
#include "blur/qrSimpleLinearBlur.h"
#include "qrPixel.h"
#include "qrTexture.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace QrReferenceBlur {

// Only the length, direction, quality and thirds are read.
using Settings = QrLinearBlurSettings;

using Colour = std::array<float, 4>;

// Regular points on each side of the start and the two running-mean windows.
struct PathShape {
    float magnitude = 0.0f;
    int32_t perSide = 0, smoothWindow = 1, averageWindow = 1;
    int32_t margin() const { return (smoothWindow - 1) / 2 + (averageWindow - 1) / 2; }
};

inline PathShape pathShape(const Settings& s)
{
    PathShape p;
    p.magnitude = s.length * (s.thirds ? 0.3333f : 1.0f);
    const int32_t h = int32_t(std::ceil(p.magnitude * 0.5f));
    p.perSide = s.thirds ? 3 * h : h;
    p.smoothWindow = s.thirds ? 2 * h + 1 : 1;
    p.averageWindow = 2 * p.perSide + 1;
    return p;
}

// The first pixel of a bilinear pair and the weight of the second one.
inline std::pair<int32_t, float> bilinearPair(double p)
{
    const double f = std::floor(p);
    return {int32_t(f), float(p - f)};
}

// Rows a deposit lands away from its start row, for the strip height of the
// product's order: regular points plus one bilinear neighbour.
inline int32_t depositRowReach(const Settings& s)
{
    const PathShape p = pathShape(s);
    const float vy = std::sin(s.direction);
    int32_t reach = 0;
    for (float o : {0.5f, 0.25f, 0.75f})
        for (int32_t k = -p.perSide; k <= p.perSide; ++k) {
            const int32_t dy = bilinearPair(o + float(k) * vy).first;
            reach = std::max({reach, -dy, dy + (s.quality > 0 ? 1 : 0)});
        }
    return reach;
}

template <class S> class Blur {
public:
    Blur(const QrTexture<S>& input, const Settings& settings, int32_t rowsPerStrip)
        : in_(input),
          s_(settings),
          rowsPerStrip_(rowsPerStrip),
          w_(input.width()),
          h_(input.height()),
          shape_(pathShape(settings))
    {
    }

    // The blurred image as floats in the storage's scale, before the storage
    // conversion; width * height colours, row by row.
    std::vector<Colour> run()
    {
        const int32_t subPasses = int32_t(std::lround(float(s_.quality) + 1.0f));
        k_ = s_.quality > 0 && subPasses >= 3 ? 5.0f : 1.0f;
        weight_.assign(std::size_t(w_) * h_, k_);
        colour_.assign(std::size_t(w_) * h_, Colour {0, 0, 0, 0});
        vx_ = std::cos(s_.direction);
        vy_ = std::sin(s_.direction);
        const std::vector<int32_t> rows = rowOrder();
        for (int32_t i = 1; i <= subPasses; ++i) {
            const float o = i == 2 ? 0.25f : (i == 3 ? 0.75f : 0.5f);
            for (int32_t y : rows)
                for (int32_t x = 0; x < w_; ++x)
                    if (weight(x, y) > 0.0f)
                        spread(x, y, float(x) + o, float(y) + o);
        }
        std::vector<Colour> out;
        for (std::size_t i = 0; i < colour_.size(); ++i) {
            const float w = k_ - weight_[i];
            out.push_back(w != 0.0f ? scaled(colour_[i], 1.0f / w) : Colour {0, 0, 0, 0});
        }
        return out;
    }

private:
    std::vector<int32_t> rowOrder() const
    {
        std::vector<int32_t> rows;
        for (int32_t parity = 0; parity < 2; ++parity)
            for (int32_t first = parity * rowsPerStrip_; first < h_; first += 2 * rowsPerStrip_)
                for (int32_t y = first; y < std::min(first + rowsPerStrip_, h_); ++y)
                    rows.push_back(y);
        return rows;
    }

    bool inside(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }
    float& weight(int32_t x, int32_t y) { return weight_[std::size_t(y) * w_ + x]; }
    Colour& colour(int32_t x, int32_t y) { return colour_[std::size_t(y) * w_ + x]; }
    Colour fetch(int32_t x, int32_t y) const
    {
        const S& p = in_.pixelAt(x, y);
        return {float(p.c[0]), float(p.c[1]), float(p.c[2]), float(p.c[3])};
    }

    static Colour scaled(const Colour& c, float k) { return {c[0] * k, c[1] * k, c[2] * k, c[3] * k}; }

    void add(int32_t x, int32_t y, const Colour& c, float w)
    {
        if (!inside(x, y))
            return;
        for (int ch = 0; ch < 4; ++ch)
            colour(x, y)[ch] += c[ch] * w;
        weight(x, y) -= w;
    }

    // Path points are placed relative to the start pixel, then the pixel is
    // added back as an integer, so that no precision is lost to the position.
    void spread(int32_t x, int32_t y, float sx, float sy)
    {
        if ((vx_ * vx_ + vy_ * vy_) * shape_.magnitude < 0.01f) {
            const int32_t px = int32_t(std::floor(sx)), py = int32_t(std::floor(sy));
            if (inside(px, py) && weight(px, py) != 0.0f)
                add(px, py, fetch(x, y), 1.0f);
            return;
        }
        const int32_t side = shape_.perSide + shape_.margin();
        std::vector<double> px, py;
        std::vector<Colour> samples;
        for (int32_t k = -side; k <= side; ++k) {
            px.push_back((double(sx - float(x)) + k * double(vx_)) + x);
            py.push_back((double(sy - float(y)) + k * double(vy_)) + y);
            samples.push_back(gather(px.back(), py.back()));
        }
        runningMean(samples, shape_.smoothWindow);
        runningMean(samples, shape_.averageWindow);
        const int32_t first = shape_.margin();
        for (int32_t i = 0; i < 2 * shape_.perSide + 1; ++i)
            deposit(px[first + i], py[first + i], samples[i]);
    }

    Colour gather(double px, double py) const
    {
        if (s_.quality <= 0)
            return fetch(int32_t(std::floor(px)), int32_t(std::floor(py)));
        const auto [ix, fx] = bilinearPair(px - 0.5);
        const auto [iy, fy] = bilinearPair(py - 0.5);
        const Colour a = fetch(ix, iy), b = fetch(ix + 1, iy);
        const Colour c = fetch(ix, iy + 1), d = fetch(ix + 1, iy + 1);
        Colour out;
        for (int ch = 0; ch < 4; ++ch)
            out[ch] = a[ch] * ((1 - fx) * (1 - fy)) + b[ch] * (fx * (1 - fy)) + c[ch] * ((1 - fx) * fy) +
                d[ch] * (fx * fy);
        return out;
    }

    // samples[i] becomes the mean of samples[i .. i + window - 1], kept as
    // one running sum.
    static void runningMean(std::vector<Colour>& samples, int32_t window)
    {
        if (window <= 1)
            return;
        const int32_t means = int32_t(samples.size()) - window + 1;
        const float reciprocal = 1.0f / float(window);
        Colour sum {0, 0, 0, 0};
        for (int32_t i = 0; i < window; ++i)
            for (int ch = 0; ch < 4; ++ch)
                sum[ch] += samples[i][ch];
        std::vector<Colour> mean(means);
        for (int32_t i = 0; i < means; ++i) {
            mean[i] = scaled(sum, reciprocal);
            if (i + 1 < means)
                for (int ch = 0; ch < 4; ++ch) {
                    sum[ch] += samples[i + window][ch];
                    sum[ch] -= samples[i][ch];
                }
        }
        samples = mean;
    }

    void deposit(double px, double py, const Colour& c)
    {
        if (s_.quality <= 0) {
            const int32_t ix = int32_t(std::floor(px)), iy = int32_t(std::floor(py));
            if (inside(ix, iy) && weight(ix, iy) > 0.0f) {
                colour(ix, iy) = c;
                weight(ix, iy) = 0.0f;
            }
            return;
        }
        const auto [ix, fx] = bilinearPair(px);
        const auto [iy, fy] = bilinearPair(py);
        add(ix, iy, c, (1 - fx) * (1 - fy));
        add(ix + 1, iy, c, fx * (1 - fy));
        add(ix, iy + 1, c, (1 - fx) * fy);
        add(ix + 1, iy + 1, c, fx * fy);
    }

    const QrTexture<S>& in_;
    Settings s_;
    int32_t rowsPerStrip_;
    int32_t w_, h_;
    PathShape shape_;
    float k_ = 1.0f, vx_ = 0.0f, vy_ = 0.0f;
    std::vector<float> weight_;
    std::vector<Colour> colour_;
};

}  // namespace QrReferenceBlur
