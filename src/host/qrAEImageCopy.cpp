#include "qrAEImageCopy.h"

#include "qrTexture.h"

namespace Quarn::AfterEffects {

namespace {

using namespace Quarn::Pixel;

template <class P> constexpr float whiteOf()
{
    return float(P::Desc::kWhite);
}

// One pixel from ARGB `from` into `to` (ARGB or single channel), rescaled
// from the source's white to the destination's.
template <class To, class From> To convertPixel(const From& from, int alphaMode)
{
    const float scale = whiteOf<To>() / whiteOf<From>();
    const float alpha = float(from.a());
    const float premultiply = alphaMode == kAlphaPremultiply ? alpha / whiteOf<From>() : 1.0f;
    Work<To> work;
    if constexpr (To::kChannels == 1) {
        work.c[0] = alpha * scale;
    } else {
        work.a() = alpha * scale;
        work.r() = float(from.r()) * premultiply * scale;
        work.g() = float(from.g()) * premultiply * scale;
        work.b() = float(from.b()) * premultiply * scale;
    }
    return convert<To>(work);
}

template <class To, class From>
void convertInto(const QrTexture<From>& source, QrTexture<To>& dest, int alphaMode)
{
    dest = QrTexture<To>::allocateLike(source);
    dest.setEdgeColour(convertPixel<To>(source.edgeColour(), alphaMode));
    const QrTexAxis& x = source.xAxis();
    const QrTexAxis& y = source.yAxis();
    for (int32_t j = y.windowFirst; j <= y.windowLast; ++j) {
        const From* in = source.rowStart(j);
        To* out = dest.rowStart(j);
        for (int32_t i = 0; i < x.windowCount; ++i)
            out[i] = convertPixel<To>(in[i], alphaMode);
    }
}

template <class To, class From> bool copyAs(const QrTexture<From>& source, QrTexIndexer* dest, int alphaMode)
{
    auto* typed = dynamic_cast<QrTexture<To>*>(dest);
    if (!typed)
        return false;
    if constexpr (std::is_same_v<To, From>) {
        if (alphaMode != kAlphaPremultiply) {
            *typed = source;
            return true;
        }
    }
    convertInto(source, *typed, alphaMode);
    return true;
}

template <class From> bool copyFrom(const QrTexture<From>& source, QrTexIndexer* dest, int alphaMode)
{
    return copyAs<ARGB8>(source, dest, alphaMode) || copyAs<ARGB16>(source, dest, alphaMode) ||
        copyAs<ARGBF>(source, dest, alphaMode) || copyAs<Single8>(source, dest, alphaMode) ||
        copyAs<Single16>(source, dest, alphaMode) || copyAs<SingleF>(source, dest, alphaMode);
}

}  // namespace

bool copyTexture(const QrTexIndexer& source, QrTexIndexer* dest, int alphaMode)
{
    if (!dest)
        return false;
    if (auto* s = dynamic_cast<const QrTexture<ARGB16>*>(&source))
        return copyFrom(*s, dest, alphaMode);
    if (auto* s = dynamic_cast<const QrTexture<ARGB8>*>(&source))
        return copyFrom(*s, dest, alphaMode);
    if (auto* s = dynamic_cast<const QrTexture<ARGBF>*>(&source))
        return copyFrom(*s, dest, alphaMode);
    return false;
}

}  // namespace Quarn::AfterEffects
