// nimbrel-sample OUTPUT [WIDTH HEIGHT]: paints a night street scene to try the
// rain on — a dark sky with a moon, a skyline with lit windows, street lamps
// whose cores are near white (what the highlight diffusion picks up) and a wet
// road that mirrors them. Deterministic: the same size gives the same picture.
#include "qrCliError.h"
#include "qrInterrupt.h"
#include "qrOutputFile.h"

#include <OpenImageIO/imageio.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Rgb {
    float r, g, b;
};

uint32_t hash(uint32_t x)
{
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

float unit(uint32_t a, uint32_t b)
{
    return float(hash(a * 7919U + hash(b)) & 0xffffff) / 16777215.0f;
}

class Canvas {
public:
    Canvas(int w, int h) : w_(w), h_(h), px_(size_t(w) * h) { }
    int width() const { return w_; }
    int height() const { return h_; }
    Rgb& at(int x, int y) { return px_[size_t(y) * w_ + x]; }
    void add(int x, int y, Rgb c, float a)
    {
        if (x < 0 || y < 0 || x >= w_ || y >= h_)
            return;
        Rgb& p = at(x, y);
        p = {p.r + c.r * a, p.g + c.g * a, p.b + c.b * a};
    }
    void set(int x, int y, Rgb c)
    {
        if (x >= 0 && y >= 0 && x < w_ && y < h_)
            at(x, y) = c;
    }
    // A soft radial light: bright core, long falloff.
    void glow(float cx, float cy, float radius, Rgb c)
    {
        int r = int(radius * 10);
        for (int y = int(cy) - r; y <= int(cy) + r; ++y)
            for (int x = int(cx) - r; x <= int(cx) + r; ++x) {
                float d = std::hypot(x - cx, y - cy) / radius;
                add(x, y, c, std::exp(-d * d) + 0.25f * std::exp(-d));
            }
    }
    const std::vector<Rgb>& pixels() const { return px_; }

private:
    int w_, h_;
    std::vector<Rgb> px_;
};

void paintSky(Canvas& c, int horizon)
{
    for (int y = 0; y < horizon; ++y) {
        float t = float(y) / horizon;
        for (int x = 0; x < c.width(); ++x)
            c.at(x, y) = {0.01f + 0.05f * t, 0.02f + 0.07f * t, 0.06f + 0.14f * t};
    }
    c.glow(c.width() * 0.78f, horizon * 0.25f, c.height() * 0.035f, {0.9f, 0.9f, 0.8f});
}

void paintSkyline(Canvas& c, int horizon)
{
    int x = 0;
    for (uint32_t i = 0; x < c.width(); ++i) {
        int w = int(c.width() * (0.04f + 0.06f * unit(i, 1)));
        int top = horizon - int(c.height() * (0.12f + 0.35f * unit(i, 2)));
        float shade = 0.02f + 0.03f * unit(i, 3);
        for (int y = std::max(top, 0); y < horizon; ++y)
            for (int xx = x; xx < std::min(x + w, c.width()); ++xx) {
                bool window = (xx - x) % 9 > 3 && (y - top) % 12 > 5 && xx - x > 3 && x + w - xx > 3;
                bool lit = window && unit(uint32_t(xx / 9) * 31 + i, uint32_t(y / 12)) > 0.55f;
                c.set(xx, y, lit ? Rgb {0.95f, 0.75f, 0.35f} : Rgb {shade, shade, shade * 1.4f});
            }
        x += w;
    }
}

void paintStreet(Canvas& c, int horizon)
{
    for (int y = horizon; y < c.height(); ++y) {
        float t = float(y - horizon) / (c.height() - horizon);
        for (int x = 0; x < c.width(); ++x) {
            float n = 0.01f * unit(uint32_t(x), uint32_t(y));
            c.at(x, y) = {0.03f + 0.02f * t + n, 0.03f + 0.02f * t + n, 0.04f + 0.03f * t + n};
        }
    }
    const int lamps = 5;
    for (int i = 0; i < lamps; ++i) {
        float lx = c.width() * (0.1f + 0.8f * i / (lamps - 1));
        float ly = horizon - c.height() * 0.12f;
        for (int y = int(ly); y < horizon + c.height() / 12; ++y)
            for (int x = int(lx) - 1; x <= int(lx) + 1; ++x)
                c.set(x, y, {0.05f, 0.05f, 0.06f});
        c.glow(lx, ly, c.height() * 0.01f, {1.2f, 1.0f, 0.7f});
        // The wet road mirrors each lamp as a vertical smear.
        for (int y = horizon + 4; y < c.height(); ++y) {
            float fade = 1.0f - float(y - horizon) / (c.height() - horizon);
            for (int x = int(lx) - 12; x <= int(lx) + 12; ++x)
                c.add(x, y, {0.5f, 0.4f, 0.25f}, fade * 0.6f / (1.0f + 0.3f * std::abs(x - lx)));
        }
    }
}

void writeImage(const std::string& path, const Canvas& c, const std::atomic<bool>* cancel)
{
    std::vector<uint8_t> bytes;
    bytes.reserve(c.pixels().size() * 3);
    for (const Rgb& p : c.pixels())
        for (float v : {p.r, p.g, p.b})
            bytes.push_back(uint8_t(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f));
    auto out = OIIO::ImageOutput::create(path);
    if (!out)
        throw Quarn::Cli::usageError(path + ": no image format is known for this file name");
    const OIIO::ImageSpec spec(c.width(), c.height(), 3, OIIO::TypeDesc::UINT8);
    Quarn::Cli::writeImageFile(*out, path, cancel, [&](const std::string& temporary) {
        return out->open(temporary, spec) && out->write_image(OIIO::TypeDesc::UINT8, bytes.data()) && out->close();
    });
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "usage: nimbrel-sample OUTPUT [WIDTH HEIGHT]\n");
        return 2;
    }
    int w = argc == 4 ? std::atoi(argv[2]) : 1280;
    int h = argc == 4 ? std::atoi(argv[3]) : 720;
    if (w < 16 || h < 16 || w > 16384 || h > 16384) {
        std::fprintf(stderr, "nimbrel-sample: size %dx%d is outside 16..16384\n", w, h);
        return 2;
    }
    Canvas canvas(w, h);
    int horizon = h * 2 / 3;
    paintSky(canvas, horizon);
    paintSkyline(canvas, horizon);
    paintStreet(canvas, horizon);
    try {
        const std::atomic<bool>& cancel = Quarn::Cli::installInterruptHandler();
        writeImage(argv[1], canvas, &cancel);
    } catch (const Quarn::Cli::CliError& e) {
        std::fprintf(stderr, "nimbrel-sample: %s\n", e.what());
        return e.status();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "nimbrel-sample: %s: %s\n", argv[1], e.what());
        return 1;
    }
    return 0;
}
