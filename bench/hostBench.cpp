// A frame as a user of our host waits for it, beside the rain processor alone
// on the same picture in the same run: `hostFrame` hands a fresh source image
// to the effect host (as each frame of a sequence does), has the plug-in
// smart-render it with its default controls and takes the output image back;
// `processorFrame` is QrRainProc with the same controls. Their ratio is the
// price of the host, the plug-in's driver and the passes around the rain.
// Both report wall time and the CPU time of all the process's threads; on a
// shared machine the second ratio is the steadier one.
#include "main/qrNightScene.h"
#include "proc/qrRainProc.h"
#include "qrEffectHost.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <numbers>
#include <stdexcept>

namespace {

using Quarn::Host::Depth;
using Quarn::Pixel::ARGB16;
using Quarn::Pixel::ARGB8;
using Quarn::Pixel::ARGBF;

template <class S> constexpr Depth depthOf()
{
    if constexpr (std::is_same_v<S, ARGB8>)
        return Depth::Bits8;
    else if constexpr (std::is_same_v<S, ARGB16>)
        return Depth::Bits16;
    else
        return Depth::Float;
}

template <class S> Quarn::Host::HostImage nightImage(int32_t w, int32_t h)
{
    const QrTexture<S> scene = QrBench::nightScene<S>(w, h);
    auto image = Quarn::Host::HostImage::uninitialised(w, h, depthOf<S>());
    for (int32_t y = 0; y < h; ++y)
        std::memcpy(image.data() + y * image.rowBytes(), scene.pixelAtIndex(0, y), image.rowBytes());
    return image;
}

// The effect's default controls, which the plug-in's render uses unchanged.
template <class S> QrRainSettings defaultSettings()
{
    const float white = float(QrDepthOf<S>::kWhite);
    QrRainSettings s;
    s.seed = 13;
    s.density = 0.6f;
    s.angle = -std::numbers::pi_v<float> / 2;
    s.intensity = 1.0f;
    s.dropLength = 50.0f;
    s.minThreshold = 0.9f * white;
    s.maxThreshold = 1.0f * white;
    return s;
}

template <class S> void processorFrame(benchmark::State& state)
{
    const auto w = int32_t(state.range(0)), h = int32_t(state.range(1));
    const QrTexture<S> source = QrBench::nightScene<S>(w, h);
    QrTexture<S> output = QrTexture<S>::allocate(w, h);
    for (auto _ : state) {
        QrRainProc<QrDepthOf<S>> rain(defaultSettings<S>());
        rain.process(source, output);
        benchmark::ClobberMemory();
    }
}

template <class S> void hostFrame(benchmark::State& state)
{
    const Quarn::Host::HostImage picture = nightImage<S>(int32_t(state.range(0)), int32_t(state.range(1)));
    Quarn::Host::EffectHost host(NIMBREL_PLUGIN_PATH);
    if (!host.start().ok())
        throw std::runtime_error("the plug-in did not start");
    host.properties().clearOutput = false;  // as nimbrel renders
    for (auto _ : state) {
        state.PauseTiming();
        Quarn::Host::HostImage source = picture;
        state.ResumeTiming();
        host.setSource(std::move(source));
        const Quarn::Host::RenderResult result = host.render(depthOf<S>(), Quarn::Host::RenderMode::Smart);
        if (!result.command.ok())
            throw std::runtime_error("the render failed: " + result.command.message);
        benchmark::DoNotOptimize(result.image.data());
    }
}

void frameOptions(benchmark::internal::Benchmark* b)
{
    b->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
}

// Each pair one after the other, so that both see the machine alike.
#define NIMBREL_FRAME_PAIR(S, W, H)                                                                          \
    BENCHMARK_TEMPLATE(processorFrame, S)->Args({W, H})->Apply(frameOptions);                                \
    BENCHMARK_TEMPLATE(hostFrame, S)->Args({W, H})->Apply(frameOptions)

NIMBREL_FRAME_PAIR(ARGB8, 1920, 1080);
NIMBREL_FRAME_PAIR(ARGB8, 3840, 2160);
NIMBREL_FRAME_PAIR(ARGB16, 3840, 2160);
NIMBREL_FRAME_PAIR(ARGBF, 3840, 2160);

}  // namespace
