#include "blur/qrVectorBlurKernels.h"

#include "blur/qrVectorBlurWide.h"

bool& qrWideLanesEnabled()
{
#if defined(QR_WIDE_LANES)
    static bool enabled = __builtin_cpu_supports("avx2");
#else
    static bool enabled = false;
#endif
    return enabled;
}

template <class C> const QrVectorBlurKernels<C>& qrVectorBlurKernels()
{
#if defined(QR_WIDE_LANES)
    if (qrWideLanesEnabled())
        return QrWide::kEightLanes<C>;
#endif
    return QrLaneKernels::kFourLanes<C>;
}

template const QrVectorBlurKernels<uint8_t>& qrVectorBlurKernels();
template const QrVectorBlurKernels<uint16_t>& qrVectorBlurKernels();
template const QrVectorBlurKernels<float>& qrVectorBlurKernels();
