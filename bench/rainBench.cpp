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
#include "main/qrNightScene.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

using QrBench::nightScene;
using Quarn::Pixel::ARGB16;
using Quarn::Pixel::ARGB8;
using Quarn::Pixel::ARGBF;

constexpr float kAngle = -std::numbers::pi_v<float> / 2;
constexpr float kDensity = 0.6f, kDropLength = 50.0f, kIntensity = 1.0f;

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

