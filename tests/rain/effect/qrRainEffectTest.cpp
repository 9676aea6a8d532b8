// The rain effect end to end on small images through a local host: presets,
// the settings handed to the rain processor, and the stages after it.
#include "effect/qrFrameTextures.h"
#include "effect/qrLocalHost.h"
#include "effect/qrRainEffect.h"
#include "effect/qrRainPipeline.h"
#include "qrRainTestImages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>

using namespace QrRainTest;
using Quarn::Wrapper::LocalHost;
using Quarn::Wrapper::RainEffect;

namespace {

// An effect answering from its own parameters, over a local host with the
// clips "Source" and (optionally) "Matte".
template <class D> struct Frame {
    LocalHost host;
    RainEffect effect {&host, false};
    typename D::Texture output;

    Frame(const typename D::Texture& source, const typename D::Texture* matte = nullptr)
    {
        output = D::Texture::allocate(source.width(), source.height());
        host.setOutput(&output);
        effect.attachClip(
            Quarn::auto_ref<Quarn::Wrapper::Clip>(new Quarn::Wrapper::TextureClip<D>("Source", source)));
        effect.attachClip(Quarn::auto_ref<Quarn::Wrapper::Clip>(
            new Quarn::Wrapper::TextureClip<D>("Matte", matte ? *matte : typename D::Texture())));
    }
    typename D::Texture render()
    {
        effect.render(D::kWhite == 255.0f ? RainEffect::Depth::eight
                : D::kWhite == 32768.0f   ? RainEffect::Depth::sixteen
                                          : RainEffect::Depth::floating);
        return output;
    }
};

// A source with varied alpha, so alpha handling shows.
template <class S> QrTexture<S> translucentNight(int32_t w, int32_t h)
{
    QrTexture<S> t = nightImage<S>(w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            t.pixelAtIndex(x, y)->a() =
                typename S::Component(S::Desc::kWhite * (0.25 + 0.75 * ((x + y) % 4) / 3));
    return t;
}

}  // namespace

TEST(RainEffectPresets, SetTheFourRainControlsAndNothingElse)
{
    LocalHost host;
    RainEffect effect(&host, false);
    auto read = [&effect] {
        return std::tuple(effect.getScaleParam("density", 0).value(), effect.getDoubleParam("dropLength", 0),
            effect.getScaleParam("minThresh", 0).value(), effect.getScaleParam("maxThresh", 0).value(),
            effect.getScaleParam("intensity", 0).value());
    };
    // Preset, density, drop length, diffusion minimum and maximum.
    for (auto [preset, density, length, minimum, maximum] :
        {std::tuple {1, 0.35, 45.0, 0.9, 1.0}, {2, 0.6, 50.0, 0.9, 1.0}, {3, 0.7, 70.0, 0.9, 1.0},
            {4, 0.85, 85.0, 0.9, 1.0}, {5, 1.0, 100.0, 0.9, 1.0}, {6, 0.6, 50.0, 0.8, 1.0}}) {
        effect.setScaleParam("intensity", Quarn::Scale(0.42));
        effect.applyPreset(preset);
        EXPECT_EQ(read(), std::tuple(density, length, minimum, maximum, 0.42)) << preset;
    }
    for (int32_t none : {0, 7, -1}) {
        effect.applyPreset(none);
        EXPECT_DOUBLE_EQ(effect.getScaleParam("minThresh", 0).value(), 0.8) << none;
    }
}

TEST(RainSettings, ScaleWithTheRenderResolutionAndTheDepth)
{
    Quarn::Rain::FrameValues v;
    v.time = 7.9;
    v.downsampleX = 0.5;
    v.downsampleY = 0.25;
    v.extent = {2, 3, 99, 49};
    v.motion.fallSpeed = 12.0;
    v.motion.depthLayers = 3;
    const auto s = Quarn::Rain::rainSettings(v, 255.0);
    // Frame, density, intensity, drop length, fall speed (speeds shrink as the
    // drop length does), layers, thresholds.
    EXPECT_EQ(std::tuple(s.frame, s.density, s.intensity, s.dropLength, s.motion.fallSpeed,
                  s.motion.depthLayers, s.minThreshold, s.maxThreshold),
        std::tuple(7, 0.6f / 0.25f, 0.5f, 50.0f * 0.25f, 12.0 * 0.25, 3, 0.9f * 255.0f, 255.0f));
    // The host's inclusive extent becomes a half-open region.
    EXPECT_EQ(s.region, (QrRect {2, 3, 100, 50}));

    for (double aspect : {0.0, -2.0, 0.0005}) {
        v.pixelAspect = aspect;
        const auto t = Quarn::Rain::rainSettings(v, 1.0);
        EXPECT_FLOAT_EQ(t.pixelAspect, 0.001f) << aspect;
    }
}

TEST(FrameTextures, CropsCountRowsFromTheBottomAndExpandTakesTheWholeImage)
{
    auto t = QrTexture<Quarn::Pixel::ARGB8>::allocate(200, 100);
    // Left, right, bottom, top, edge methods x and y, edge colour (a, r, g, b).
    const Quarn::Rain::CropSettings c {10, 75.5, 20, 75, 3, 1, {0.5f, 1.0f, 0.0f, 0.0f}};
    // Crops x, crops y, edge methods, edge colour alpha and red.
    auto state = [&t] {
        return std::tuple(t.xAxis().cropFirst, t.xAxis().cropLast, t.yAxis().cropFirst, t.yAxis().cropLast,
            t.xAxis().edgeMethod, t.yAxis().edgeMethod, int(t.edgeColour().a()), int(t.edgeColour().r()));
    };
    Quarn::Rain::applyCrops(t, c, false);
    EXPECT_EQ(state(), std::tuple(20, 151, 25, 80, 3, 1, 127, 255));
    Quarn::Rain::applyCrops(t, c, true);
    EXPECT_EQ(state(), std::tuple(0, 199, 0, 99, 0, 0, 0, 0));
}

TEST(FrameTextures, MatteLayersSitCentredOnTheSource)
{
    for (auto [w, h, x, y] : {std::tuple {50, 31, 25, 14}, {131, 80, -15, -10}}) {
        auto layer = QrTexture<Quarn::Pixel::ARGB8>::allocate(w, h);
        Quarn::Rain::centreOn(layer, 100, 60);
        EXPECT_EQ(std::pair(layer.xAxis().originIndex, layer.yAxis().originIndex), std::pair(x, y)) << w;
    }
}

template <class D> class RainEffectRender : public ::testing::Test {
};
TYPED_TEST_SUITE(RainEffectRender, Depths);

// RGB keeps the source alpha and premultiplies the colour; RGBA keeps the
// rain's own alpha, within white.
TYPED_TEST(RainEffectRender, ProcessModesHandleTheAlpha)
{
    using D = TypeParam;
    using S = typename D::Storage;
    const auto source = translucentNight<S>(61, 37);
    Frame<D> rgb(source), rgba(source);
    rgb.effect.setScaleParam("intensity", Quarn::Scale(0.0));
    rgba.effect.setIntParam("postAlphaYesNoNo", 1);
    rgba.effect.setScaleParam("intensity", Quarn::Scale(40.0));
    const auto plain = rgb.render(), rain = rgba.render();
    const double tolerance = D::kWhite == 1.0f ? 1e-6 : 1.0;
    bool changed = false;
    for (int32_t y = 0; y < source.height(); ++y)
        for (int32_t x = 0; x < source.width(); ++x) {
            const S &s = *source.pixelAtIndex(x, y), &o = *plain.pixelAtIndex(x, y);
            ASSERT_EQ(o.a(), s.a());
            EXPECT_NEAR(double(o.r()), double(s.r()) * double(s.a()) / D::kWhite, tolerance);
            const float a = float(rain.pixelAtIndex(x, y)->a());
            ASSERT_GE(a, 0.0f);
            ASSERT_LE(a, D::kWhite);
            changed |= a != float(s.a());
        }
    EXPECT_TRUE(changed) << "strong rain leaves the alpha as it was";
}

// Settings that give the source back (RGBA, no blend: no intensity, or a
// matte layer whose alpha is zero everywhere), the plain rain again (source
// mattes without a connected matte clip, "Blend" at 100 % of the effect), or
// something else (a connected matte, a blend method).
TYPED_TEST(RainEffectRender, SettingsGiveTheSourceThePlainRainOrSomethingElse)
{
    using D = TypeParam;
    using S = typename D::Storage;
    const auto source = nightImage<S>(61, 37), translucent = translucentNight<S>(61, 37);
    const auto clear = filled(61, 37, pixel<S>(0, 1, 1, 1));
    const auto black = filled(61, 37, pixel<S>(0, 0, 0, 0));
    Frame<D> plain(source);
    const auto rain = copyOf(plain.render());
    enum Result { theSource, thePlainRain, different };
    const struct {
        const char* what;
        const QrTexture<S>*source, *matte;
        int32_t process, matteChannel, blendMethod;
        double intensity, blendMix;
        Result result;
    } rows[] = {
        {"RGBA, no intensity", &translucent, nullptr, 1, 2, 0, 0.0, 50.0, theSource},
        {"RGBA, clear matte layer", &source, &clear, 1, 7, 0, 1.0, 50.0, theSource},
        {"source alpha matte, no matte clip", &source, nullptr, 0, 3, 0, 1.0, 50.0, thePlainRain},
        {"source luminance matte, matte clip", &source, &black, 0, 1, 0, 1.0, 50.0, different},
        {"screen", &source, nullptr, 0, 2, 17, 1.0, 50.0, different},
        {"screen, all effect", &source, nullptr, 0, 2, 17, 1.0, 100.0, thePlainRain},
    };
    for (const auto& row : rows) {
        Frame<D> f(*row.source, row.matte);
        f.effect.setIntParam("postAlphaYesNoNo", row.process);
        f.effect.setIntParam("matteChannel", row.matteChannel);
        f.effect.setIntParam("blendMethod", row.blendMethod);
        f.effect.setScaleParam("intensity", Quarn::Scale(row.intensity));
        f.effect.setDoubleParam("blendMix", row.blendMix);
        const std::string changed = differences(row.result == theSource ? *row.source : rain, f.render());
        EXPECT_EQ(changed.empty(), row.result != different) << row.what << ": " << changed;
    }
}

TYPED_TEST(RainEffectRender, ResultIsIdenticalWhateverTheThreadCount)
{
    const auto source = nightImage<typename TypeParam::Storage>(97, 61);
    expectSameForEveryThreadCount(source, [&source] {
        Frame<TypeParam> f(source);
        f.effect.setIntParam("blendMethod", 17);
        return copyOf(f.render());
    });
}

// The alpha steps run on each row inside the rain pass exactly when the
// rain's region, fitted to the output as the run fits it, is the output's
// data window and the source is another image: a host's extent, which
// reaches one pixel past the right and bottom edges, qualifies.
TEST(RainEffectRender, AlphaStepsJoinTheRainPassWhenTheRainCoversTheOutput)
{
    using S = Quarn::Pixel::ARGB8;
    const QrTexture<S> source = filled<S>(40, 30, S {});
    const QrTexture<S> output = filled<S>(40, 30, S {});
    const struct {
        const char* what;
        std::optional<QrRect> region;
        const QrTexture<S>* source;
        bool inRainPass;
    } rows[] = {
        {"the image exactly", QrRect {0, 0, 40, 30}, &source, true},
        {"a host's extent, one past the edges", QrRect {0, 0, 41, 31}, &source, true},
        {"reaching past every edge", QrRect {-3, -2, 45, 33}, &source, true},
        {"one column short", QrRect {0, 0, 39, 31}, &source, false},
        {"one row short at the top", QrRect {0, 1, 41, 31}, &source, false},
        {"no region", std::nullopt, &source, false},
        {"the output is the source", QrRect {0, 0, 41, 31}, &output, false},
    };
    for (const auto& row : rows) {
        QrRainSettings settings;
        settings.region = row.region;
        EXPECT_EQ(Quarn::Rain::canSettleInRainPass(*row.source, output, settings), row.inRainPass) << row.what;
    }
}
