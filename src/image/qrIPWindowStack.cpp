#include "qrIPWindowStack.h"

bool QrIPWindowStack::pushWindow()
{
    if (count_ >= kCapacity)
        return false;
    saved_[count_++] = owner_.regionRecord();
    return true;
}

bool QrIPWindowStack::pushWindow(int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    if (!pushWindow())
        return false;
    owner_.setRegion(x0, y0, x1, y1);
    return true;
}

bool QrIPWindowStack::popWindow()
{
    if (count_ <= 0)
        return false;
    owner_.setRegionRecord(saved_[--count_]);
    return true;
}
