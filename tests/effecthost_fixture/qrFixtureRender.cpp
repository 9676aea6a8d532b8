#include "qrFixtureEffect.h"

#include <algorithm>
#include <cstdint>

namespace Fixture {

namespace {

template <typename Pixel> struct Depth;
template <> struct Depth<PF_Pixel8> {
    static float white() { return 255.0f; }
    static auto store(float v) { return static_cast<A_u_char>(std::clamp(v, 0.0f, 255.0f) + 0.5f); }
};
template <> struct Depth<PF_Pixel16> {
    static float white() { return 32768.0f; }
    static auto store(float v) { return static_cast<A_u_short>(std::clamp(v, 0.0f, 32768.0f) + 0.5f); }
};
template <> struct Depth<PF_PixelFloat> {
    static float white() { return 1.0f; }
    static auto store(float v) { return std::clamp(v, 0.0f, 1.0f); }
};

template <typename Pixel> const Pixel& pixelAt(const PF_EffectWorld& world, A_long x, A_long y)
{
    const auto* row = reinterpret_cast<const std::uint8_t*>(world.data) + y * world.rowbytes;
    return reinterpret_cast<const Pixel*>(row)[x];
}

template <typename Pixel> Pixel& pixelAt(PF_EffectWorld& world, A_long x, A_long y)
{
    auto* row = reinterpret_cast<std::uint8_t*>(world.data) + y * world.rowbytes;
    return reinterpret_cast<Pixel*>(row)[x];
}

template <typename Pixel>
PF_Err render(PF_InData* in_data, const PF_EffectWorld& input, const PF_EffectWorld* matte,
    PF_EffectWorld& output, double gain, bool useTint, PF_Pixel tint)
{
    using D = Depth<Pixel>;
    const float scale = D::white() / 255.0f;
    for (A_long y = 0; y < output.height; ++y) {
        if (PF_Err err = PF_PROGRESS(in_data, y, output.height))
            return err;
        for (A_long x = 0; x < output.width; ++x) {
            const Pixel& in = pixelAt<Pixel>(input, x, y);
            Pixel& out = pixelAt<Pixel>(output, x, y);
            if (useTint) {
                out = {D::store(tint.alpha * scale), D::store(tint.red * scale), D::store(tint.green * scale),
                    D::store(tint.blue * scale)};
                continue;
            }
            const float g = static_cast<float>(gain);
            out = {in.alpha, D::store(in.red * g), D::store(in.green * g), D::store(in.blue * g)};
            if (matte && matte->data)
                out.alpha = x < matte->width && y < matte->height ? pixelAt<Pixel>(*matte, x, y).alpha
                                                                  : D::store(0.0f);
        }
    }
    return PF_Err_NONE;
}

}  // namespace

PF_Err renderWorld(PF_InData* in_data, PF_PixelFormat format, const PF_EffectWorld& input,
    const PF_EffectWorld* matte, PF_EffectWorld& output, double gain, bool useTint, PF_Pixel tint)
{
    switch (format) {
    case PF_PixelFormat_ARGB32: return render<PF_Pixel8>(in_data, input, matte, output, gain, useTint, tint);
    case PF_PixelFormat_ARGB64: return render<PF_Pixel16>(in_data, input, matte, output, gain, useTint, tint);
    case PF_PixelFormat_ARGB128:
        return render<PF_PixelFloat>(in_data, input, matte, output, gain, useTint, tint);
    }
    return PF_Err_BAD_CALLBACK_PARAM;
}

}  // namespace Fixture
