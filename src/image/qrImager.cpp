#include "qrImager.h"

int32_t Imager::fieldRow(int32_t y) const
{
    // Rows may be negative: work on the even part with floor semantics.
    const int32_t even = y & ~int32_t(1);
    switch (fieldMode_) {
    case kEvenField: return even == y ? y : even + 2;
    case kOddField: return even + 1;
    default: return y;
    }
}
