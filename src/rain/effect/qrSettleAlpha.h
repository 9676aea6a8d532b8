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

#include <array>
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
        const Run run = runOf(clamp, scale, take);
        if (!readsSource()) {
            run(out, 1, x1 - x0, out);
            return;
        }
        source.forEachRun(y, x0, x1, [&](const P* p, int32_t step, int32_t count) {
            run(p, step, count, out);
            out += count;
        });
    }

private:
    // One loop per combination of steps, chosen once per row, so that a
    // pixel costs only the operations of its steps.
    using Run = void (*)(const P* source, int32_t step, int32_t count, P* out);

    template <bool Clamp, Scale S, Take T>
    static void settleRun(const P* source, int32_t step, int32_t count, P* out)
    {
        for (int32_t k = 0; k < count; ++k, source += step)
            qrStorePixel(out[k], settlePixel<Clamp, S, T>(qrLoadLanes(out[k]), qrLoadLanes(*source)));
    }

    template <bool Clamp, Scale S> static constexpr std::array<Run, 4> runsByTake()
    {
        return {&settleRun<Clamp, S, Take::none>, &settleRun<Clamp, S, Take::sourceAlpha>,
            &settleRun<Clamp, S, Take::opaque>, &settleRun<Clamp, S, Take::sourceColour>};
    }
    template <bool Clamp> static constexpr std::array<std::array<Run, 4>, 3> runsByScale()
    {
        return {runsByTake<Clamp, Scale::none>(), runsByTake<Clamp, Scale::multiply>(),
            runsByTake<Clamp, Scale::unmultiply>()};
    }
    static Run runOf(bool clamp, Scale scale, Take take)
    {
        static constexpr std::array<std::array<std::array<Run, 4>, 3>, 2> runs = {
            runsByScale<false>(), runsByScale<true>()};
        return runs[clamp][int(scale)][int(take)];
    }

    // The settled pixel `p`; `source` is read only when the step takes from it.
    template <bool Clamp, Scale S, Take T> static QrLanes settlePixel(QrLanes p, QrLanes source)
    {
        if constexpr (Clamp)
            p = clampStep(p);
        if constexpr (S == Scale::multiply)
            p = multiplyStep(p);
        else if constexpr (S == Scale::unmultiply)
            p = unmultiplyStep(p);
        if constexpr (T == Take::sourceAlpha)
            p[P::kAlpha] = source[P::kAlpha];
        else if constexpr (T == Take::opaque)
            p[P::kAlpha] = kWhite;
        else if constexpr (T == Take::sourceColour)
            p = kColour ? source : p;
        return p;
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
    // alpha / white; the alpha lane is left as it is. Colour loaded from
    // integer storage is a whole number from 0 up, which a zero alpha turns
    // into 0 by the product alone, and the alpha lane times 1 is itself.
    static QrLanes multiplyStep(QrLanes p)
    {
        const float alpha = p[P::kAlpha];
        if constexpr (std::numeric_limits<typename P::Component>::is_integer) {
            QrLanes k = qrSplat(alpha / kWhite);
            k[P::kAlpha] = 1.0f;
            return p * k;
        } else {
            const QrLanes scaled = alpha == 0.0f ? qrSplat(0.0f) : p * qrSplat(alpha / kWhite);
            return kColour ? scaled : p;
        }
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
