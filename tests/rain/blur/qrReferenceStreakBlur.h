#pragma once
// A slow, literal streak blur to check the optimised one against: one thread,
// one start pixel after another, every path traced point by point through
// its start, gathered, averaged with running sums and scattered into a float
// colour sum and a weight image, then divided. Only the plain settings are covered:
// no bias, no jitter, no step scale, the region is the whole image.
//
// A point p falls between pixels floor(p) and floor(p) + 1 with fraction
// p - floor(p), for gathering and depositing alike. Two choices are left
// open by the algorithm's description or by float rounding:
//  - the order of the start rows: strips of `rowsPerStrip` rows, all even
//    strips before all odd ones, each top to bottom, as the product does;
//  - how the path points are rounded: point k is placed at start + k * v in
//    double relative to the start pixel, as the product does. Stepping in
//    float from the absolute position would round the fractions differently
//    in every binade of the coordinates; the weights left over after a
//    pixel's paths (of the order of 1e-8) would then differ, and with them
//    which pixels start paths of their own.
// The averaging windows and the extra gather points at both ends of a path
// are those of the product: smoothing over 2h + 1 samples with thirds, then
// a mean over the whole regular path, every deposited sample averaged over
// whole windows.
#include "qrPixel.h"
#include "qrReferenceRain.h"
#include "qrTexture.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace QrReferenceBlur {

struct Settings {
    float length = 0.0f;
    float direction = 0.0f;
    int32_t quality = 1;
    bool thirds = true;
    int32_t rowsPerStrip = 16;
};

using Colour = std::array<float, 4>;

// The blurred image as floats in the storage's scale, before the storage
// conversion; width * height colours, row by row.
struct FloatImage {
    int32_t width = 0, height = 0;
    std::vector<Colour> pixels;
    const Colour& at(int32_t x, int32_t y) const { return pixels[std::size_t(y) * width + x]; }
};

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
inline void bilinearPair(double p, int32_t& first, float& fraction)
{
    const double f = std::floor(p);
    first = int32_t(f);
    fraction = float(p - f);
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
            int32_t dy;
            float fy;
            bilinearPair(o + float(k) * vy, dy, fy);
            reach = std::max({reach, -dy, dy + (s.quality > 0 ? 1 : 0)});
        }
    return reach;
}

template <class S> class Blur {
public:
    Blur(const QrTexture<S>& input, const Settings& settings)
        : in_(input), s_(settings), w_(input.width()), h_(input.height()), shape_(pathShape(settings))
    {
    }

    FloatImage run()
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
        FloatImage out {w_, h_, {}};
        for (int32_t y = 0; y < h_; ++y)
            for (int32_t x = 0; x < w_; ++x) {
                const float w = k_ - weight(x, y);
                Colour c {0, 0, 0, 0};
                if (w != 0.0f)
                    for (int ch = 0; ch < 4; ++ch)
                        c[ch] = colour(x, y)[ch] * (1.0f / w);
                out.pixels.push_back(c);
            }
        return out;
    }

private:
    std::vector<int32_t> rowOrder() const
    {
        std::vector<int32_t> rows;
        for (int32_t parity = 0; parity < 2; ++parity)
            for (int32_t first = parity * s_.rowsPerStrip; first < h_; first += 2 * s_.rowsPerStrip)
                for (int32_t y = first; y < std::min(first + s_.rowsPerStrip, h_); ++y)
                    rows.push_back(y);
        return rows;
    }

    bool inside(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }
    float& weight(int32_t x, int32_t y) { return weight_[std::size_t(y) * w_ + x]; }
    Colour& colour(int32_t x, int32_t y) { return colour_[std::size_t(y) * w_ + x]; }
    Colour fetch(int32_t x, int32_t y) const
    {
        const S& p = in_.pixelAt(x, y);
        return Colour {float(p.c[0]), float(p.c[1]), float(p.c[2]), float(p.c[3])};
    }

    void add(int32_t x, int32_t y, const Colour& c, float w)
    {
        if (!inside(x, y))
            return;
        for (int ch = 0; ch < 4; ++ch)
            colour(x, y)[ch] += c[ch] * w;
        weight(x, y) -= w;
    }

    void spread(int32_t x, int32_t y, float sx, float sy)
    {
        if ((vx_ * vx_ + vy_ * vy_) * shape_.magnitude < 0.01f) {
            const int32_t px = int32_t(std::floor(sx)), py = int32_t(std::floor(sy));
            if (inside(px, py) && weight(px, py) != 0.0f)
                add(px, py, fetch(x, y), 1.0f);
            return;
        }
        std::vector<double> px, py;
        placePath(x, y, sx, sy, px, py);
        std::vector<Colour> samples;
        for (std::size_t i = 0; i < px.size(); ++i)
            samples.push_back(gather(px[i], py[i]));
        runningMean(samples, shape_.smoothWindow);
        runningMean(samples, shape_.averageWindow);
        const int32_t first = shape_.margin();
        for (int32_t i = 0; i < 2 * shape_.perSide + 1; ++i)
            deposit(px[first + i], py[first + i], samples[i]);
    }

    int32_t pathSide() const { return shape_.perSide + shape_.margin(); }

    // Fractions taken relative to the start pixel, then the pixel added back
    // as an integer, so that no precision is lost to the position.
    void placePath(
        int32_t x, int32_t y, float sx, float sy, std::vector<double>& px, std::vector<double>& py) const
    {
        const int32_t side = pathSide();
        px.assign(2 * side + 1, 0.0);
        py.assign(2 * side + 1, 0.0);
        for (int32_t k = -side; k <= side; ++k) {
            px[side + k] = (double(sx - float(x)) + k * double(vx_)) + x;
            py[side + k] = (double(sy - float(y)) + k * double(vy_)) + y;
        }
    }

    Colour gather(double px, double py) const
    {
        if (s_.quality <= 0)
            return fetch(int32_t(std::floor(px)), int32_t(std::floor(py)));
        int32_t ix, iy;
        float fx, fy;
        bilinearPair(px, ix, fx);
        bilinearPair(py, iy, fy);
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
            for (int ch = 0; ch < 4; ++ch)
                mean[i][ch] = sum[ch] * reciprocal;
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
        int32_t ix, iy;
        float fx, fy;
        bilinearPair(px, ix, fx);
        bilinearPair(py, iy, fy);
        add(ix, iy, c, (1 - fx) * (1 - fy));
        add(ix + 1, iy, c, fx * (1 - fy));
        add(ix, iy + 1, c, (1 - fx) * fy);
        add(ix + 1, iy + 1, c, fx * fy);
    }

    const QrTexture<S>& in_;
    Settings s_;
    int32_t w_, h_;
    PathShape shape_;
    float k_ = 1.0f, vx_ = 0.0f, vy_ = 0.0f;
    std::vector<float> weight_;
    std::vector<Colour> colour_;
};

}  // namespace QrReferenceBlur
