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

// Same-type destinations share the source unless `share` is off.
template <class To, class From>
bool copyAs(const QrTexture<From>& source, QrTexIndexer* dest, int alphaMode, bool share)
{
    auto* typed = dynamic_cast<QrTexture<To>*>(dest);
    if (!typed)
        return false;
    if constexpr (std::is_same_v<To, From>) {
        if (share && alphaMode != kAlphaPremultiply) {
            *typed = source;
            return true;
        }
    }
    convertInto(source, *typed, alphaMode);
    return true;
}

template <class From>
bool copyFrom(const QrTexture<From>& source, QrTexIndexer* dest, int alphaMode, bool share)
{
    return copyAs<ARGB8>(source, dest, alphaMode, share) || copyAs<ARGB16>(source, dest, alphaMode, share) ||
        copyAs<ARGBF>(source, dest, alphaMode, share) || copyAs<Single8>(source, dest, alphaMode, share) ||
        copyAs<Single16>(source, dest, alphaMode, share) || copyAs<SingleF>(source, dest, alphaMode, share);
}

bool copyAny(const QrTexIndexer& source, QrTexIndexer* dest, int alphaMode, bool share)
{
    if (!dest)
        return false;
    if (auto* s = dynamic_cast<const QrTexture<ARGB16>*>(&source))
        return copyFrom(*s, dest, alphaMode, share);
    if (auto* s = dynamic_cast<const QrTexture<ARGB8>*>(&source))
        return copyFrom(*s, dest, alphaMode, share);
    if (auto* s = dynamic_cast<const QrTexture<ARGBF>*>(&source))
        return copyFrom(*s, dest, alphaMode, share);
    return false;
}

template <class P> bool shareAs(const QrTexIndexer& source, QrTexIndexer* dest)
{
    auto* from = dynamic_cast<const QrTexture<P>*>(&source);
    auto* to = dynamic_cast<QrTexture<P>*>(dest);
    if (!from || !to)
        return false;
    *to = *from;
    return true;
}

}  // namespace

bool copyTexture(const QrTexIndexer& source, QrTexIndexer* dest, int alphaMode)
{
    return copyAny(source, dest, alphaMode, true);
}

bool copyTexturePixels(const QrTexIndexer& source, QrTexIndexer* dest, int alphaMode)
{
    return copyAny(source, dest, alphaMode, false);
}

bool shareTexture(const QrTexIndexer& source, QrTexIndexer* dest)
{
    return shareAs<ARGB8>(source, dest) || shareAs<ARGB16>(source, dest) || shareAs<ARGBF>(source, dest);
}

}  // namespace Quarn::AfterEffects
