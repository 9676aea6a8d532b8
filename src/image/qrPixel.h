#pragma once
// Pixel types. A descriptor fixes a pixel's channel order, component type,
// the component values of black and white, the largest value and whether the
// components are integers; `Quarn::PixelTemplate` on a descriptor is one
// pixel value. Every storage type pairs with a float working type of the same
// scale (an 8-bit 200 works as 200.0f, not as 0.78), so one algorithm serves
// every depth and only black, white and the store conversion differ.
//
// Type names in Quarn::Pixel:
//   storage          working (same scale, float)   scale
//   ARGB8            ARGBW255                      0..255      host 8-bit
//   ARGB16           ARGBW32768                    0..32768    host 16-bit
//   ARGBF            ARGBWF (= ARGBF)              0..1        host float
//   RGBAF            RGBAF                         0..1        float working images
//   RGBAI32          RGBAWI32                      int32 range integer RGBA
//   Single8          SingleW255                    0..255      mattes
//   Single16         SingleW32768                  0..32768
//   SingleF          SingleWF (= SingleF)          0..1
// `Quarn::Pixel::Work<P>` names the working type of any storage type.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace Quarn::Pixel {

namespace Order {

// Alpha, red, green, blue: the host's layout and that of all colour images.
template <class ComponentT, class WorkT> struct ARGB {
    using Component = ComponentT;
    using WorkComponent = WorkT;
    static constexpr int kChannels = 4;
    static constexpr int kAlpha = 0, kRed = 1, kGreen = 2, kBlue = 3;
    template <class C, class W> using Rebind = ARGB<C, W>;
};

// Red, green, blue, alpha: the float working images of blurs and noise.
template <class ComponentT, class WorkT> struct RGBA {
    using Component = ComponentT;
    using WorkComponent = WorkT;
    static constexpr int kChannels = 4;
    static constexpr int kAlpha = 3, kRed = 0, kGreen = 1, kBlue = 2;
    template <class C, class W> using Rebind = RGBA<C, W>;
};

// One channel (mattes). Every channel name addresses the one component.
template <class ComponentT, class WorkT> struct Single {
    using Component = ComponentT;
    using WorkComponent = WorkT;
    static constexpr int kChannels = 1;
    static constexpr int kAlpha = 0, kRed = 0, kGreen = 0, kBlue = 0;
    template <class C, class W> using Rebind = Single<C, W>;
};

}  // namespace Order

// Compile-time description of a pixel type. Black, white and maximum are
// whole numbers on every scale (0..1, 0..255, 0..32768, the int32 range), so
// they are given as 64-bit integers, which every compiler accepts as template
// arguments, and read as doubles, which hold each of them exactly.
template <class OrderT, int64_t Black, int64_t White, int64_t Max, bool Integer> struct Descriptor {
    using Order = OrderT;
    using Component = typename OrderT::Component;
    using WorkComponent = typename OrderT::WorkComponent;
    static constexpr double kBlack = double(Black);
    static constexpr double kWhite = double(White);
    static constexpr double kMax = double(Max);
    static constexpr bool kInteger = Integer;
    // The same range over float components in the given order.
    template <class WorkOrderT> using Working = Descriptor<WorkOrderT, Black, White, Max, false>;
};

}  // namespace Quarn::Pixel

namespace Quarn {

// One pixel: the order's channels of the component type. Arithmetic is
// element-wise and exists for float components only (working pixels).
template <class D> struct PixelTemplate {
    using Desc = D;
    using Order = typename D::Order;
    using Component = typename D::Component;
    using WorkComponent = typename D::WorkComponent;
    static constexpr int kChannels = Order::kChannels;
    static constexpr int kAlpha = Order::kAlpha;
    static constexpr int kRed = Order::kRed;
    static constexpr int kGreen = Order::kGreen;
    static constexpr int kBlue = Order::kBlue;
    static constexpr bool kInteger = D::kInteger;
    static constexpr Component kBlack = Component(D::kBlack);
    static constexpr Component kWhite = Component(D::kWhite);
    static constexpr Component kMax = Component(D::kMax);

    Component c[kChannels];

    static constexpr PixelTemplate filled(Component v)
    {
        PixelTemplate p {};
        for (int i = 0; i < kChannels; ++i)
            p.c[i] = v;
        return p;
    }
    // All channels at black / white (for colour orders that includes alpha).
    static constexpr PixelTemplate black() { return filled(kBlack); }
    static constexpr PixelTemplate white() { return filled(kWhite); }

    constexpr Component& operator[](int i) { return c[i]; }
    constexpr const Component& operator[](int i) const { return c[i]; }
    constexpr Component& a() { return c[kAlpha]; }
    constexpr Component& r() { return c[kRed]; }
    constexpr Component& g() { return c[kGreen]; }
    constexpr Component& b() { return c[kBlue]; }
    constexpr Component a() const { return c[kAlpha]; }
    constexpr Component r() const { return c[kRed]; }
    constexpr Component g() const { return c[kGreen]; }
    constexpr Component b() const { return c[kBlue]; }

    friend constexpr bool operator==(const PixelTemplate&, const PixelTemplate&) = default;

    constexpr PixelTemplate& operator+=(const PixelTemplate& o) requires std::is_floating_point_v<Component>
    {
        for (int i = 0; i < kChannels; ++i)
            c[i] += o.c[i];
        return *this;
    }
    constexpr PixelTemplate& operator-=(const PixelTemplate& o) requires std::is_floating_point_v<Component>
    {
        for (int i = 0; i < kChannels; ++i)
            c[i] -= o.c[i];
        return *this;
    }
    constexpr PixelTemplate& operator*=(Component s) requires std::is_floating_point_v<Component>
    {
        for (int i = 0; i < kChannels; ++i)
            c[i] *= s;
        return *this;
    }
    friend constexpr PixelTemplate operator+(
        PixelTemplate a, const PixelTemplate& b) requires std::is_floating_point_v<Component>
    {
        return a += b;
    }
    friend constexpr PixelTemplate operator-(
        PixelTemplate a, const PixelTemplate& b) requires std::is_floating_point_v<Component>
    {
        return a -= b;
    }
    friend constexpr PixelTemplate operator*(
        PixelTemplate a, Component s) requires std::is_floating_point_v<Component>
    {
        return a *= s;
    }
};

}  // namespace Quarn

namespace Quarn::Pixel {

// Range and layout of any pixel type, including the plain `float` of
// descriptor-less single-channel images (scale given elsewhere; 0..1 here).
template <class P> struct Traits {
    using Component = typename P::Component;
    static constexpr int kChannels = P::kChannels;
    static constexpr bool kInteger = P::kInteger;
    static constexpr double kBlack = P::Desc::kBlack;
    static constexpr double kWhite = P::Desc::kWhite;
    static Component& channel(P& p, int i) { return p.c[i]; }
    static Component channel(const P& p, int i) { return p.c[i]; }
};

template <> struct Traits<float> {
    using Component = float;
    static constexpr int kChannels = 1;
    static constexpr bool kInteger = false;
    static constexpr double kBlack = 0.0;
    static constexpr double kWhite = 1.0;
    static float& channel(float& p, int) { return p; }
    static float channel(const float& p, int) { return p; }
};

namespace Detail {
template <class P> struct WorkOf {
    using Desc = typename P::Desc;
    using WC = typename Desc::WorkComponent;
    using type =
        PixelTemplate<typename Desc::template Working<typename Desc::Order::template Rebind<WC, WC>>>;
};
template <> struct WorkOf<float> {
    using type = float;
};
}  // namespace Detail

// The float working type with the same channels, black and white as P.
template <class P> using Work = typename Detail::WorkOf<P>::type;

// Store one value into a component of type To with range lo..hi: integers
// are clamped and then truncated toward zero (never rounded); NaN stores as
// lo. Float components keep the value as it is, without clamping.
template <class To, bool Integer> inline To storeComponent(float v, double lo, double hi)
{
    if constexpr (Integer) {
        if constexpr (sizeof(To) >= 4) {
            // float cannot hold the 32-bit bounds exactly: clamp in double.
            const double d = v;
            return To(d > lo ? (d < hi ? d : hi) : lo);
        } else {
            const float flo = float(lo), fhi = float(hi);
            return To(v > flo ? (v < fhi ? v : fhi) : flo);
        }
    } else {
        return To(v);
    }
}

// Converts between pixel types with the same channels: storage to working
// keeps every value (200 -> 200.0f); working to integer storage clamps to the
// storage's black..white and truncates; float storage keeps the value.
template <class To, class From> inline To convert(const From& from)
{
    using TT = Traits<To>;
    using FT = Traits<From>;
    static_assert(TT::kChannels == FT::kChannels, "convert needs equal channel counts");
    To to;
    for (int i = 0; i < TT::kChannels; ++i)
        TT::channel(to, i) = storeComponent<typename TT::Component, TT::kInteger>(
            float(FT::channel(from, i)), TT::kBlack, TT::kWhite);
    return to;
}

// Descriptors of the table: storage types and their working types.
template <class C> using ARGBOf = Order::ARGB<C, float>;
template <class C> using RGBAOf = Order::RGBA<C, float>;
template <class C> using SingleOf = Order::Single<C, float>;

using ARGB8 = PixelTemplate<Descriptor<ARGBOf<uint8_t>, 0, 255, 255, true>>;
using ARGB16 = PixelTemplate<Descriptor<ARGBOf<uint16_t>, 0, 32768, 32768, true>>;
using ARGBF = PixelTemplate<Descriptor<ARGBOf<float>, 0, 1, 1, false>>;
using ARGBW255 = PixelTemplate<Descriptor<ARGBOf<float>, 0, 255, 255, false>>;
using ARGBW32768 = PixelTemplate<Descriptor<ARGBOf<float>, 0, 32768, 32768, false>>;
using ARGBWF = ARGBF;

using RGBAF = PixelTemplate<Descriptor<RGBAOf<float>, 0, 1, 1, false>>;
using RGBAI32 = PixelTemplate<Descriptor<RGBAOf<int32_t>, INT32_MIN, INT32_MAX, INT32_MAX, true>>;
using RGBAWI32 = Work<RGBAI32>;

using Single8 = PixelTemplate<Descriptor<SingleOf<uint8_t>, 0, 255, 255, true>>;
using Single16 = PixelTemplate<Descriptor<SingleOf<uint16_t>, 0, 32768, 32768, true>>;
using SingleF = PixelTemplate<Descriptor<SingleOf<float>, 0, 1, 1, false>>;
using SingleW255 = Work<Single8>;
using SingleW32768 = Work<Single16>;
using SingleWF = SingleF;

static_assert(std::is_same_v<Work<ARGB8>, ARGBW255>);
static_assert(std::is_same_v<Work<ARGB16>, ARGBW32768>);
static_assert(std::is_same_v<Work<ARGBF>, ARGBWF>);
static_assert(sizeof(ARGB8) == 4 && sizeof(ARGB16) == 8 && sizeof(ARGBF) == 16,
    "storage pixels must match the host's packed layout");

}  // namespace Quarn::Pixel
