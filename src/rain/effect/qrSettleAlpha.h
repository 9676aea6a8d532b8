#pragma once
// The per-pixel steps that follow the rain and its blend, run as one pass
// instead of one pass each: the output's alpha clamped to 0..white, its
// colour multiplied or divided by that alpha, then alpha or colour taken
// from the source or the alpha made opaque. Every value comes out exactly as
// from one pass per step, which stored the pixel (integer storage clamps and
// truncates) and loaded it again between steps.
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
    // What storing and loading again leaves of a working pixel whose values
    // are already whole numbers from 0 up (as loaded from integer storage and
    // clamped between whole bounds): each channel capped at white.
    template <class W> static void restoreWhole(W& p)
    {
        if constexpr (std::numeric_limits<typename P::Component>::is_integer) {
            for (auto& c : p.c)
                c = c < float(W::kWhite) ? c : float(W::kWhite);
        }
    }

    // No store and load follows the scaling: the step after it only
    // overwrites channels, and the final store gives what storing twice would.
    template <class W> void scaleStep(W& p) const
    {
        if (clamp) {
            PixelFunctor::ClampChannel {0.0f, float(W::kWhite), 0}(p);
            restoreWhole(p);
        }
        if (scale == Scale::multiply)
            PixelFunctor::MultiplyByAlpha {}(p);
        else if (scale == Scale::unmultiply)
            PixelFunctor::UnMultiplyByAlpha {}(p);
    }
};

}  // namespace Quarn::Rain
