// The benchmark programs' main. Freed image memory stays in the process, as
// it does in a host's memory pool; otherwise every run would also pay for the
// first touch of fresh pages of its layer and the blur's working rows, which
// is not the work being measured.
#include <benchmark/benchmark.h>

#include <malloc.h>

int main(int argc, char** argv)
{
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
