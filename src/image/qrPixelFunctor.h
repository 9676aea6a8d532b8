#pragma once
// Per-pixel operations on working pixels, run over whole images by
// Quarn::Processor::Functor1 (one image, in place) and Functor2 (output and
// a second image). "white" is the pixel type's white; channel numbers are
// 0 alpha, 1 red, 2 green, 3 blue whatever the memory order.
#include <cstdint>

namespace Quarn::PixelFunctor {

// Below this alpha a colour is not divided by it.
inline constexpr float kUnMultiplyThreshold = 1.5259022e-5f;

template <class W> constexpr int channelIndex(int32_t channel)
{
    constexpr int kIndex[4] = {W::kAlpha, W::kRed, W::kGreen, W::kBlue};
    return kIndex[channel & 3];
}

template <class W> void premultiply(W& p, float alpha)
{
    if (alpha == 0.0f) {
        p.r() = p.g() = p.b() = 0.0f;
        return;
    }
    const float k = alpha / float(W::kWhite);
    p.r() *= k;
    p.g() *= k;
    p.b() *= k;
}

// Clamps one channel to minimum..maximum.
struct ClampChannel {
    float minimum;
    float maximum;
    int32_t channel;

    template <class W> void operator()(W& p) const
    {
        auto& c = p[channelIndex<W>(channel)];
        c = c < minimum ? minimum : (c > maximum ? maximum : c);
    }
};

// Colour x alpha / white; colour 0 where alpha is 0. The two-image form
// takes colour and alpha from the second image.
struct MultiplyByAlpha {
    template <class W> void operator()(W& p) const { premultiply(p, p.a()); }
    template <class W, class I> void operator()(W& out, const I& in) const
    {
        out.a() = in.a();
        out.r() = in.r();
        out.g() = in.g();
        out.b() = in.b();
        premultiply(out, in.a());
    }
};

// Colour x white / alpha where alpha is above the threshold; unchanged
// otherwise.
struct UnMultiplyByAlpha {
    template <class W> void operator()(W& p) const
    {
        if (!(p.a() > kUnMultiplyThreshold))
            return;
        const float k = float(W::kWhite) / p.a();
        p.r() *= k;
        p.g() *= k;
        p.b() *= k;
    }
};

// Makes every pixel opaque.
struct WhitePointAlpha {
    template <class W> void operator()(W& p) const { p.a() = W::kWhite; }
};

// Alpha from the second image, colour kept.
struct CopyAlpha {
    template <class W, class I> void operator()(W& out, const I& in) const { out.a() = in.a(); }
};

// Colour from the second image, alpha kept.
struct CopyRGB {
    template <class W, class I> void operator()(W& out, const I& in) const
    {
        out.r() = in.r();
        out.g() = in.g();
        out.b() = in.b();
    }
};

// The second image, with all four channels 0 where its alpha is 0.
struct BlankTransparentAlpha {
    template <class W, class I> void operator()(W& out, const I& in) const
    {
        const bool blank = in.a() == 0.0f;
        out.a() = blank ? 0.0f : in.a();
        out.r() = blank ? 0.0f : in.r();
        out.g() = blank ? 0.0f : in.g();
        out.b() = blank ? 0.0f : in.b();
    }
};

}  // namespace Quarn::PixelFunctor
