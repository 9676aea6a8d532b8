#pragma once
// The per-pixel steps that follow the rain and its blend, run as one pass
// instead of one pass each: the output's alpha clamped to 0..white, its
// colour multiplied or divided by that alpha, then alpha or colour taken
// from the source or the alpha made opaque. After each step the pixel is
// stored and loaded again, so every value comes out exactly as it would from
// one pass per step (integer storage clamps and truncates on every store).
#include "qrPixel.h"
#include "qrPixelFunctor.h"

#include <limits>

namespace Quarn::Rain {

// `P` is the storage pixel of the output.
template <class P> struct SettleAlpha {
    enum class Scale { none, multiply, unmultiply };
    enum class Take { none, sourceAlpha, opaque, sourceColour };

    bool clamp = false;
    Scale scale = Scale::none;
    Take take = Take::none;

    // Clamping the alpha changes nothing when storage cannot exceed white.
    static constexpr bool clampCanChange()
    {
        using C = typename P::Component;
        return !std::numeric_limits<C>::is_integer || double(std::numeric_limits<C>::max()) > P::Desc::kWhite;
    }

    bool readsSource() const { return take == Take::sourceAlpha || take == Take::sourceColour; }
    bool changesNothing() const { return !clamp && scale == Scale::none && take == Take::none; }

    template <class W> void operator()(W& p) const
    {
        scaleStep(p);
        if (take == Take::opaque)
            PixelFunctor::WhitePointAlpha {}(p);
    }

    template <class W, class I> void operator()(W& p, const I& source) const
    {
        scaleStep(p);
        switch (take) {
        case Take::sourceAlpha: PixelFunctor::CopyAlpha {}(p, source); break;
        case Take::opaque: PixelFunctor::WhitePointAlpha {}(p); break;
        case Take::sourceColour: PixelFunctor::CopyRGB {}(p, source); break;
        case Take::none: break;
        }
    }

private:
    template <class W> static void restore(W& p) { p = Pixel::convert<W>(Pixel::convert<P>(p)); }

    template <class W> void scaleStep(W& p) const
    {
        if (clamp) {
            PixelFunctor::ClampChannel {0.0f, float(W::kWhite), 0}(p);
            restore(p);
        }
        if (scale == Scale::multiply) {
            PixelFunctor::MultiplyByAlpha {}(p);
            restore(p);
        } else if (scale == Scale::unmultiply) {
            PixelFunctor::UnMultiplyByAlpha {}(p);
            restore(p);
        }
    }
};

}  // namespace Quarn::Rain
