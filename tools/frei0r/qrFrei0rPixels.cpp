#include "qrFrei0rPixels.h"

namespace Quarn::Frei0r {

namespace {

// frei0r's byte positions of the channels within one pixel.
constexpr int kRed = 0, kGreen = 1, kBlue = 2, kAlpha = 3;

}  // namespace

void unpackRGBA(const uint32_t* rgba, FrameTexture& argb)
{
    const auto* in = reinterpret_cast<const uint8_t*>(rgba);
    for (int32_t y = 0; y < argb.height(); ++y) {
        Quarn::Pixel::ARGB8* out = argb.rowStart(y);
        for (int32_t x = 0; x < argb.width(); ++x, in += 4) {
            out[x].a() = in[kAlpha];
            out[x].r() = in[kRed];
            out[x].g() = in[kGreen];
            out[x].b() = in[kBlue];
        }
    }
}

void packRGBA(const FrameTexture& argb, uint32_t* rgba)
{
    auto* out = reinterpret_cast<uint8_t*>(rgba);
    for (int32_t y = 0; y < argb.height(); ++y) {
        const Quarn::Pixel::ARGB8* in = argb.rowStart(y);
        for (int32_t x = 0; x < argb.width(); ++x, out += 4) {
            const Quarn::Pixel::ARGB8 p = in[x];  // a copy: `out` may alias it
            out[kRed] = p.r();
            out[kGreen] = p.g();
            out[kBlue] = p.b();
            out[kAlpha] = p.a();
        }
    }
}

}  // namespace Quarn::Frei0r
