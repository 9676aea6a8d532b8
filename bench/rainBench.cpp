// The rain processor with the effect's defaults (density 0.6, drop length 50,
// angle -pi/2, intensity 1, thresholds 0.9 and 1.0 x white, no matte) on HD
// and 4K night scenes at the three depths, moving rain with one and four depth
// layers at 8 bits, and each of the processor's stages alone:
// highlight pass, drop noise, streak blur, rain pass, and the Screen blend
// that follows it in a render.
#include "qrBlendMethod.h"
#include "qrColourBlendProc.h"
#include "noise/qrHash.h"
#include "noise/qrRGBNoiseProc.h"
#include "proc/qrRainProc.h"
#include "proc/qrRainProcCombine.h"
#include "proc/qrRainProcHighlight.h"
#include "blur/qrSimpleLinearBlur.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

using Quarn::Pixel::ARGB16;
using Quarn::Pixel::ARGB8;
using Quarn::Pixel::ARGBF;

constexpr float kAngle = -std::numbers::pi_v<float> / 2;
constexpr float kDensity = 0.6f, kDropLength = 50.0f, kIntensity = 1.0f;

float unit(int32_t x, int32_t y, int32_t seed)
{
    return QrHash::unit(QrHash::hash(QrHash::key(x, y, seed)));
}

// A night street, colours 0..1: a sky gradient, a skyline of blocks with
// warm windows (some lit, a few near white), street lamps with bright cores
// and soft halos, a dark road, and sensor noise everywhere.
void nightPixel(int32_t x, int32_t y, int32_t w, int32_t h, float rgb[3])
{
    const float fy = float(y) / h, fx = float(x) / w;
    float r = 0.02f + 0.05f * fy, g = 0.03f + 0.06f * fy, b = 0.10f + 0.08f * fy;
    const int32_t block = x / std::max(1, w / 24);
    const float roof = 0.25f + 0.3f * unit(block, 0, 11);
    if (fy > roof && fy < 0.75f) {
        r = 0.05f, g = 0.05f, b = 0.07f;
        const int32_t wx = x / std::max(1, w / 160), wy = y / std::max(1, h / 90);
        const bool inWindow = (x % std::max(1, w / 160)) > w / 640 && (y % std::max(1, h / 90)) > h / 360;
        const float lit = unit(wx, wy, 23);
        if (inWindow && lit > 0.6f) {
            const float level = lit > 0.97f ? 0.98f : 0.4f + 0.5f * lit;
            r = level, g = level * 0.8f, b = level * 0.45f;
        }
    } else if (fy >= 0.75f) {
        r = g = b = 0.04f + 0.03f * (1.0f - fy);
    }
    // Lamps every eighth of the width at two fifths of the height.
    const float lampX = (std::floor(fx * 8.0f) + 0.5f) / 8.0f;
    const float dx = (fx - lampX) * w, dy = (fy - 0.4f) * h;
    const float d2 = (dx * dx + dy * dy) / (0.0004f * float(w) * float(w));
    const float glow = std::exp(-d2) + 0.2f * std::exp(-std::sqrt(d2));
    r += glow, g += glow * 0.95f, b += glow * 0.8f;
    const float grain = (unit(x, y, 5) - 0.5f) * 0.03f;
    rgb[0] = std::clamp(r + grain, 0.0f, 1.0f);
    rgb[1] = std::clamp(g + grain, 0.0f, 1.0f);
    rgb[2] = std::clamp(b + grain, 0.0f, 1.0f);
}

template <class S> QrTexture<S> nightScene(int32_t w, int32_t h)
{
    QrTexture<S> t = QrTexture<S>::allocate(w, h);
    const float white = float(S::Desc::kWhite);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            float rgb[3];
            nightPixel(x, y, w, h, rgb);
            S& p = *t.pixelAtIndex(x, y);
            p.c[S::kAlpha] = typename S::Component(white);
            p.c[S::kRed] = typename S::Component(rgb[0] * white);
            p.c[S::kGreen] = typename S::Component(rgb[1] * white);
            p.c[S::kBlue] = typename S::Component(rgb[2] * white);
        }
    return t;
}

template <class S> void setItems(benchmark::State& state)
{
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(1));
}

template <class S> QrRainSettings settings()
{
    const float white = float(QrDepthOf<S>::kWhite);
    QrRainSettings s;
    s.seed = 1;
    s.frame = 0;
    s.density = kDensity;
    s.angle = kAngle;
    s.intensity = kIntensity;
    s.dropLength = kDropLength;
    s.minThreshold = 0.9f * white;
    s.maxThreshold = 1.0f * white;
    return s;
}

template <class S> void rainFrame(benchmark::State& state)
{
    const auto w = int32_t(state.range(0)), h = int32_t(state.range(1));
    const QrTexture<S> source = nightScene<S>(w, h);
    QrTexture<S> output = QrTexture<S>::allocate(w, h);
    for (auto _ : state) {
        QrRainProc<QrDepthOf<S>> rain(settings<S>());
        rain.process(source, output);
        benchmark::ClobberMemory();
    }
    setItems<S>(state);
}

// A frame of moving rain (frame 300 of a shot, 12 pixels a frame) with the
// third argument's count of depth layers at the default falloff and the
// fourth's degrees of gusting: set against rainFrame, the price of motion and
// of depth. Gusts turn the streaks off the vertical, which the blur pays for.
template <class S> void movingRainFrame(benchmark::State& state)
{
    const auto layers = int32_t(state.range(2));
    const auto w = int32_t(state.range(0)), h = int32_t(state.range(1));
    const QrTexture<S> source = nightScene<S>(w, h);
    QrTexture<S> output = QrTexture<S>::allocate(w, h);
    QrRainSettings s = settings<S>();
    s.frame = 300;
    s.motion.fallSpeed = 12.0;
    s.motion.windVariation = double(state.range(3));
    s.motion.depthLayers = layers;
    for (auto _ : state) {
        QrRainProc<QrDepthOf<S>> rain(s);
        rain.process(source, output);
        benchmark::ClobberMemory();
    }
    setItems<S>(state);
}

// The layer plan of frame `range(0)` with gusting wind: the drops' path is
// summed frame by frame, so this grows with the frame number.
void rainTravel(benchmark::State& state)
{
    QrRainMotion motion;
    motion.fallSpeed = 12.0;
    motion.windVariation = 15.0;
    QrRainLayerBase base;
    base.frame = int32_t(state.range(0));
    base.angle = kAngle;
    for (auto _ : state)
        benchmark::DoNotOptimize(planRainLayers(motion, base));
}

// One stage of the processor as a threaded pass of its own.
template <class S, class Row> class StagePass : public QrImgProc2<QrTexture<S>> {
public:
    explicit StagePass(Row row) : row_(row) { }
    void processBand() override
    {
        const QrTexture<S>& in = *this->input();
        const int32_t x0 = this->region().x0, x1 = this->region().x1;
        this->forEachBandRow([&](int32_t y, S* out, int32_t) {
            in.forEachRun(y, x0, x1, [&](const S* p, int32_t step, int32_t n) {
                row_(p, step, n, out, y);
                out += n;
            });
        });
    }

private:
    Row row_;
};

template <class S> void highlightPass(benchmark::State& state)
{
    const auto w = int32_t(state.range(0)), h = int32_t(state.range(1));
    const float white = float(QrDepthOf<S>::kWhite);
    const QrTexture<S> source = nightScene<S>(w, h);
    QrTexture<S> layer = QrTexture<S>::allocate(w, h);
    for (auto _ : state) {
        const QrRainProcHighlight<S, QrDepthOf<S>::kWhite> highlight(0.9f * white, white);
        auto row = [&](const S* p, int32_t step, int32_t n, S* out, int32_t) {
            highlight.run(p, step, n, out);
        };
        StagePass<S, decltype(row)> pass(row);
        pass.process(source, layer);
        benchmark::ClobberMemory();
    }
    setItems<S>(state);
}

// The drops as the noise processor adds them in a pass over the layer (the
// processor itself adds them on the rows of its highlight pass instead).
template <class S> void dropNoise(benchmark::State& state)
{
    const auto w = int32_t(state.range(0)), h = int32_t(state.range(1));
    QrTexture<S> layer = nightScene<S>(w, h);
    for (auto _ : state) {
        QrRGBNoiseProc<S, Quarn::Pixel::Work<S>, QrDepthOf<S>::kWhite> noise;
        noise.noiseMode = decltype(noise)::kMonochrome;
        noise.seed = 1;
        for (int c = 0; c < 4; ++c) {
            noise.minimum[c] = 0.0f;
            noise.maximum[c] = kDensity;
        }
        noise.cutoff = 1.0f - kDensity * 0.1f;
        noise.affectAlpha = true;
        noise.process(layer, layer);
        benchmark::ClobberMemory();
    }
    setItems<S>(state);
}

template <class S> void streakBlur(benchmark::State& state)
{
    const auto w = int32_t(state.range(0)), h = int32_t(state.range(1));
    QrTexture<S> layer = nightScene<S>(w, h);
    const float dx = std::cos(kAngle) * kDropLength, dy = std::sin(kAngle) * kDropLength;
    for (auto _ : state) {
        SimpleLinearBlur<S> blur(std::sqrt(dx * dx + dy * dy), std::atan2(dy, dx));
        blur.quality = 1;
        blur.thirds = true;
        blur.process(layer, layer);
        benchmark::ClobberMemory();
    }
    setItems<S>(state);
}

template <class S> void rainPass(benchmark::State& state)
{
    const auto w = int32_t(state.range(0)), h = int32_t(state.range(1));
    const QrTexture<S> source = nightScene<S>(w, h);
    const QrTexture<S> layer = nightScene<S>(w, h);
    QrTexture<S> output = QrTexture<S>::allocate(w, h);
    for (auto _ : state) {
        auto row = [&](const S* p, int32_t step, int32_t n, S* out, int32_t y) {
            const S* lit = layer.pixelAtIndex(int32_t(out - output.pixelAtIndex(0, y)), y);
            QrRainProcCombine<S, QrDepthOf<S>::kWhite>::run(p, step, n, lit, out, kIntensity);
        };
        StagePass<S, decltype(row)> pass(row);
        pass.process(source, output);
        benchmark::ClobberMemory();
    }
    setItems<S>(state);
}

template <class S> void screenBlend(benchmark::State& state)
{
    const auto w = int32_t(state.range(0)), h = int32_t(state.range(1));
    const QrTexture<S> source = nightScene<S>(w, h);
    QrTexture<S> output = nightScene<S>(w, h);
    for (auto _ : state) {
        QrColourBlendProc<S> blend(Quarn::Blend::kScreen, 1.0f, 1.0f, 1.0f);
        blend.setPremultiplySource(1);
        blend.setPremultiplyEffect(1);
        blend.setUnpremultiplyResult(1);
        blend.process(source, output);
        benchmark::ClobberMemory();
    }
    setItems<S>(state);
}

// Time is wall-clock time; CPU is the process's CPU time over all threads.
#define NIMBREL_RAIN_BENCH(name)                                                                             \
    BENCHMARK_TEMPLATE(name, ARGB8)                                                                          \
        ->Args({1920, 1080})                                                                                 \
        ->Args({3840, 2160})                                                                                 \
        ->Unit(benchmark::kMillisecond)                                                                      \
        ->MeasureProcessCPUTime()                                                                            \
        ->UseRealTime();                                                                                     \
    BENCHMARK_TEMPLATE(name, ARGB16)                                                                         \
        ->Args({1920, 1080})                                                                                 \
        ->Args({3840, 2160})                                                                                 \
        ->Unit(benchmark::kMillisecond)                                                                      \
        ->MeasureProcessCPUTime()                                                                            \
        ->UseRealTime();                                                                                     \
    BENCHMARK_TEMPLATE(name, ARGBF)                                                                          \
        ->Args({1920, 1080})                                                                                 \
        ->Args({3840, 2160})                                                                                 \
        ->Unit(benchmark::kMillisecond)                                                                      \
        ->MeasureProcessCPUTime()                                                                            \
        ->UseRealTime();

NIMBREL_RAIN_BENCH(rainFrame)
BENCHMARK_TEMPLATE(movingRainFrame, ARGB8)
    ->Args({1920, 1080, 1, 0})
    ->Args({3840, 2160, 1, 0})
    ->Args({1920, 1080, 4, 0})
    ->Args({3840, 2160, 4, 0})
    ->Args({1920, 1080, 1, 15})
    ->Args({1920, 1080, 4, 15})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(rainTravel)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
NIMBREL_RAIN_BENCH(highlightPass)
NIMBREL_RAIN_BENCH(dropNoise)
NIMBREL_RAIN_BENCH(streakBlur)
NIMBREL_RAIN_BENCH(rainPass)
NIMBREL_RAIN_BENCH(screenBlend)

}  // namespace

