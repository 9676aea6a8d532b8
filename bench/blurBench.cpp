// Streak blur as the rain runs it (quality 1, thirds, in place), length 50,
// on HD and 4K frames at 8-bit and float.
#include "noise/qrHash.h"
#include "blur/qrSimpleLinearBlur.h"

#include <benchmark/benchmark.h>

namespace {

// A rain layer: mostly black, one pixel in twenty lit.
template <class S> QrTexture<S> rainLayer(int32_t width, int32_t height)
{
    QrTexture<S> t = QrTexture<S>::allocate(width, height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            const float u = QrHash::unit(QrHash::hash(QrHash::key(x, y, 3)));
            const auto v = typename S::Component(u > 0.95f ? S::Desc::kWhite * (u - 0.95f) * 20.0 : 0.0);
            *t.pixelAtIndex(x, y) = S::filled(v);
        }
    return t;
}

template <class S> void streak(benchmark::State& state)
{
    const auto width = static_cast<int32_t>(state.range(0));
    const auto height = static_cast<int32_t>(state.range(1));
    QrTexture<S> layer = rainLayer<S>(width, height);
    for (auto _ : state) {
        SimpleLinearBlur<S> blur(50.0f, 1.75f);
        blur.quality = 1;
        blur.thirds = true;
        blur.process(layer, layer);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * int64_t(width) * height);
}

// CPU time is that of every thread, so that it shows the work done even
// when the machine is shared.
BENCHMARK_TEMPLATE(streak, Quarn::Pixel::ARGB8)
    ->Args({1920, 1080})
    ->Args({3840, 2160})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK_TEMPLATE(streak, Quarn::Pixel::ARGBF)
    ->Args({1920, 1080})
    ->Args({3840, 2160})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

}  // namespace

