#pragma once
// Moving pixels between an OpenFX host's images and the rain effect's
// textures. Host images hold RGBA (or RGB) rows with the y axis up, 8-bit,
// 16-bit (0..65535) or float; the effect works on ARGB textures with the top
// row first, 16-bit white at 32768, colour associated with alpha (as the
// command line hands it). A texture of `area` maps texture pixel (i, j) to
// host pixel (area.x1 + i, area.y2 - 1 - j). The orders differ, so the
// source is copied once; the output can be rendered in the host's own memory
// (wrapInPlace) and turned into the host's order where it lies.
#include "qrOfxApi.h"

#include "qrDepth.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace Quarn::Ofx {

// How a host image's colour relates to its alpha.
enum class Alpha { opaque, premultiplied, straight };

template <class C> struct HostImage {
    void* data = nullptr;
    std::ptrdiff_t rowBytes = 0;
    OfxRectI bounds {0, 0, 0, 0};
    int channels = 4;  // 4 RGBA, 3 RGB
    Alpha alpha = Alpha::premultiplied;

    bool contains(int x, int y) const { return x >= bounds.x1 && x < bounds.x2 && y >= bounds.y1 && y < bounds.y2; }
    C* pixel(int x, int y) const
    {
        return reinterpret_cast<C*>(static_cast<char*>(data) + std::ptrdiff_t(y - bounds.y1) * rowBytes) +
            std::ptrdiff_t(x - bounds.x1) * channels;
    }
};

// One component between a host's scale and the effect's: 16-bit hosts count
// 0..65535, the effect 0..32768, and both ways round; 8-bit and float are
// the same numbers on both sides.
template <class C> struct HostScale {
    static C toEffect(C v) { return v; }
    static C toHost(C v) { return v; }
};
template <> struct HostScale<uint16_t> {
    static uint16_t toEffect(uint16_t v) { return uint16_t((uint32_t(v) * 32768u + 32767u) / 65535u); }
    static uint16_t toHost(uint16_t v)
    {
        return uint16_t((std::min<uint32_t>(v, 32768u) * 65535u + 16384u) / 32768u);
    }
};

// Colour times alpha, and its inverse, at white `W`: integers round, float
// is exact arithmetic; a colour over zero alpha is black.
template <class E> E associate(E colour, E alpha, double white)
{
    const double v = double(colour) * double(alpha) / white;
    if constexpr (std::is_floating_point_v<E>)
        return E(v);
    else
        return E(v + 0.5);
}
template <class E> E dissociate(E colour, E alpha, double white)
{
    if (alpha <= E(0))
        return E(0);
    const double v = double(colour) * white / double(alpha);
    if constexpr (std::is_floating_point_v<E>)
        return E(v);
    else
        return E(std::min(v + 0.5, white));
}

inline int areaWidth(const OfxRectI& r)
{
    return r.x2 - r.x1;
}
inline int areaHeight(const OfxRectI& r)
{
    return r.y2 - r.y1;
}

// Copies `area` of `image` into `out` (already of the area's size) as the
// effect's pixels; parts of the area outside the image are transparent black.
template <class D, class C>
void readArea(const HostImage<C>& image, const OfxRectI& area, typename D::Texture& out)
{
    using S = typename D::Storage;
    const double white = double(D::kWhite);
    for (int j = 0; j < areaHeight(area); ++j) {
        S* row = out.rowStart(j);
        const int y = area.y2 - 1 - j;
        for (int i = 0; i < areaWidth(area); ++i) {
            const int x = area.x1 + i;
            S& p = row[i];
            if (!image.contains(x, y)) {
                p = S {};
                continue;
            }
            const C* in = image.pixel(x, y);
            p.r() = HostScale<C>::toEffect(in[0]);
            p.g() = HostScale<C>::toEffect(in[1]);
            p.b() = HostScale<C>::toEffect(in[2]);
            p.a() = image.channels == 4 && image.alpha != Alpha::opaque ? HostScale<C>::toEffect(in[3])
                                                                        : S::kWhite;
            if (image.alpha == Alpha::straight)
                for (auto* c : {&p.r(), &p.g(), &p.b()})
                    *c = associate(*c, p.a(), white);
        }
    }
}

// Writes the pixels of `window` (host coordinates, inside `area`) from `in`,
// the texture of `area`, into `image` in the host's order and scale. `in`
// may be the image's own memory (wrapInPlace): each pixel is read before it
// is written, and both take the same bytes.
template <class D, class C>
void writeWindow(const typename D::Texture& in, const OfxRectI& area, const OfxRectI& window, const HostImage<C>& image)
{
    using S = typename D::Storage;
    const double white = double(D::kWhite);
    const int x1 = std::max({window.x1, area.x1, image.bounds.x1});
    const int x2 = std::min({window.x2, area.x2, image.bounds.x2});
    const int y1 = std::max({window.y1, area.y1, image.bounds.y1});
    const int y2 = std::min({window.y2, area.y2, image.bounds.y2});
    for (int y = y1; y < y2; ++y) {
        const S* row = in.rowStart(area.y2 - 1 - y);
        for (int x = x1; x < x2; ++x) {
            S p = row[x - area.x1];
            if (image.alpha == Alpha::straight)
                for (auto* c : {&p.r(), &p.g(), &p.b()})
                    *c = dissociate(*c, p.a(), white);
            C* out = image.pixel(x, y);
            out[0] = HostScale<C>::toHost(p.r());
            out[1] = HostScale<C>::toHost(p.g());
            out[2] = HostScale<C>::toHost(p.b());
            if (image.channels == 4)
                out[3] = HostScale<C>::toHost(p.a());
        }
    }
}

// Whether the effect can render straight into `image` as the texture of
// `area`: four channels, and the image is exactly the area.
template <class C> bool canWrapInPlace(const HostImage<C>& image, const OfxRectI& area)
{
    const OfxRectI& b = image.bounds;
    return image.channels == 4 && b.x1 == area.x1 && b.y1 == area.y1 && b.x2 == area.x2 && b.y2 == area.y2;
}

// The texture over `image`'s memory, top row first (canWrapInPlace holds).
template <class D, class C> typename D::Texture wrapInPlace(const HostImage<C>& image)
{
    static_assert(sizeof(typename D::Storage) == 4 * sizeof(C), "an ARGB pixel takes the bytes of an RGBA one");
    const OfxRectI& b = image.bounds;
    return typename D::Texture(areaWidth(b), areaHeight(b), image.pixel(b.x1, b.y2 - 1), -image.rowBytes);
}

}  // namespace Quarn::Ofx
