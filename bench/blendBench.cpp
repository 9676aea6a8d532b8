// Blend processor throughput on an HD frame: one formula from each family
// (a product, a branch with a root, an HSL round trip) at 8-bit and float,
// on one thread and on every processor.
#include "qrColourBlendProc.h"
#include "qrTexture.h"

#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

using namespace Quarn::Pixel;

template <class S> QrTexture<S> frame(uint32_t salt)
{
    QrTexture<S> t = QrTexture<S>::allocate(1920, 1080);
    const float white = float(S::Desc::kWhite);
    for (int32_t j = 0; j < t.height(); ++j)
        for (int32_t i = 0; i < t.width(); ++i) {
            Work<S> w;
            for (int c = 0; c < 4; ++c)
                w[c] = float((uint32_t(i * 31 + j * 17 + c * 7) ^ salt) % 256) / 255.0f * white;
            *t.pixelAtIndex(i, j) = convert<S>(w);
        }
    return t;
}

template <class S> void blendFrame(benchmark::State& state)
{
    const auto method = int32_t(state.range(0));
    const bool threaded = state.range(1) != 0;
    const QrTexture<S> source = frame<S>(0x55);
    QrTexture<S> output = frame<S>(0xA3);
    for (auto _ : state) {
        QrColourBlendProc<S> blend(method, 1.0f, 1.0f, 0.6f);
        blend.setPremultiplySource(1);
        blend.setPremultiplyEffect(1);
        blend.setUnpremultiplyResult(1);
        blend.setMultiThreaded(threaded);
        blend.process(source, output);
        benchmark::DoNotOptimize(output.data());
    }
    state.SetItemsProcessed(state.iterations() * int64_t(source.width()) * source.height());
}

void methodsAndThreads(benchmark::internal::Benchmark* b)
{
    for (int64_t method :
        {int64_t(Quarn::Blend::kMultiply), int64_t(Quarn::Blend::kSoftLight), int64_t(Quarn::Blend::kColour)})
        for (int64_t threaded : {0, 1})
            b->Args({method, threaded});
    b->ArgNames({"method", "threaded"})->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK_TEMPLATE(blendFrame, ARGB8)->Apply(methodsAndThreads);
BENCHMARK_TEMPLATE(blendFrame, ARGBF)->Apply(methodsAndThreads);

}  // namespace
