#pragma once
// One pixel depth of the host, as a single type: the ARGB storage pixel, the
// single-channel pixel of the same depth (mattes), their working pixels, the
// textures over them and white. Algorithms that run at the three depths take
// one of these instead of spelling the types out.
#include "qrPixel.h"
#include "qrTexture.h"

#include <type_traits>

template <class S, class M> struct QrDepth {
    using Storage = S;
    using Work = Quarn::Pixel::Work<S>;
    using Component = typename S::Component;
    using MatteStorage = M;
    using MatteWork = Quarn::Pixel::Work<M>;
    using Texture = QrTexture<S, Work>;
    using MatteTexture = QrTexture<M, MatteWork>;
    static constexpr int kWhite = int(S::Desc::kWhite);
};

using QrDepth8 = QrDepth<Quarn::Pixel::ARGB8, Quarn::Pixel::Single8>;
using QrDepth16 = QrDepth<Quarn::Pixel::ARGB16, Quarn::Pixel::Single16>;
using QrDepthF = QrDepth<Quarn::Pixel::ARGBF, Quarn::Pixel::SingleF>;

// The depth whose ARGB storage pixel is S.
template <class S>
using QrDepthOf = std::conditional_t<std::is_same_v<S, Quarn::Pixel::ARGB8>, QrDepth8,
    std::conditional_t<std::is_same_v<S, Quarn::Pixel::ARGB16>, QrDepth16, QrDepthF>>;
