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
