#pragma once
// The per-pixel steps that follow the rain and its blend, run as one pass
// instead of one pass each: the output's alpha clamped to 0..white, its
// colour multiplied or divided by that alpha, then alpha or colour taken
// from the source or the alpha made opaque. Every value comes out exactly as
// from one pass per step, which stored the pixel (integer storage clamps and
// truncates) and loaded it again between steps.
//
// A pixel is one register of four float lanes in the storage's channel
// order: the pass is a few vector operations per pixel instead of a dozen
// scalar conversions. Each lane sees the operations of the per-channel
// functors (qrPixelFunctor.h) in the same order, so the results are the same
// to the last bit.
#include "blur/qrVectorBlurLanes.h"
#include "qrPixelFunctor.h"
#include "qrTexture.h"

#include <cstdint>
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

    // Settles row y of an output, `out` pointing at its pixel at (x0, y),
    // with the source of x0..x1 on that row read through its addressing when
    // readsSource().
    void settleRow(const QrTexture<P>& source, int32_t y, int32_t x0, int32_t x1, P* out) const
    {
        if (!readsSource()) {
            settleRun(*this, out, 1, x1 - x0, out);
            return;
        }
        source.forEachRun(y, x0, x1, [&](const P* p, int32_t step, int32_t count) {
            settleRun(*this, p, step, count, out);
            out += count;
        });
    }

    // The settled pixel `p`; `source` is read only when readsSource().
    QrLanes operator()(QrLanes p, QrLanes source) const
    {
        if (clamp)
            p = clampStep(p);
        if (scale == Scale::multiply)
            p = multiplyStep(p);
        else if (scale == Scale::unmultiply)
            p = unmultiplyStep(p);
        switch (take) {
        case Take::sourceAlpha: p[P::kAlpha] = source[P::kAlpha]; break;
        case Take::opaque: p[P::kAlpha] = kWhite; break;
        case Take::sourceColour: p = kColour ? source : p; break;
        case Take::none: break;
        }
        return p;
    }

private:
    // `s` by value: its steps stay in registers while pixels are stored.
    static void settleRun(const SettleAlpha s, const P* source, int32_t step, int32_t count, P* out)
    {
        for (int32_t k = 0; k < count; ++k, source += step)
            qrStorePixel(out[k], s(qrLoadLanes(out[k]), qrLoadLanes(*source)));
    }

    using Mask = QrLanesDetail::I32x4;
    static constexpr float kWhite = float(P::kWhite);
    static constexpr float kInf = std::numeric_limits<float>::infinity();
    static constexpr Mask kColour {
        P::kAlpha == 0 ? 0 : -1, P::kAlpha == 1 ? 0 : -1, P::kAlpha == 2 ? 0 : -1, P::kAlpha == 3 ? 0 : -1};

    // The alpha clamped to 0..white, then what storing and loading again
    // leaves: each channel capped at white where storage is integer. Values
    // loaded from integer storage are whole numbers from 0 up, so there the
    // cap alone does both. Elsewhere the colour lanes get infinite bounds,
    // which no value passes. No store and load follows the scaling: the step
    // after it only overwrites channels, and the final store gives what
    // storing twice would.
    static QrLanes clampStep(QrLanes p)
    {
        if constexpr (std::numeric_limits<typename P::Component>::is_integer) {
            return p < qrSplat(kWhite) ? p : qrSplat(kWhite);
        } else {
            QrLanes low = qrSplat(-kInf), high = qrSplat(kInf);
            low[P::kAlpha] = 0.0f;
            high[P::kAlpha] = kWhite;
            return p < low ? low : (p > high ? high : p);
        }
    }

    // As PixelFunctor::premultiply: colour 0 where alpha is 0, else times
    // alpha / white; the alpha lane is left as it is.
    static QrLanes multiplyStep(QrLanes p)
    {
        const float alpha = p[P::kAlpha];
        const QrLanes scaled = alpha == 0.0f ? qrSplat(0.0f) : p * qrSplat(alpha / kWhite);
        return kColour ? scaled : p;
    }

    // As PixelFunctor::UnMultiplyByAlpha.
    static QrLanes unmultiplyStep(QrLanes p)
    {
        const float alpha = p[P::kAlpha];
        if (!(alpha > PixelFunctor::kUnMultiplyThreshold))
            return p;
        return kColour ? p * qrSplat(kWhite / alpha) : p;
    }
};

}  // namespace Quarn::Rain
