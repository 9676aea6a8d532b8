#include "qrTexIndexer.h"

#include <algorithm>
#include <cmath>

namespace {

int32_t originIndexOf(float origin)
{
    const double rounded = std::floor(double(origin) + 0.5);
    // Origins far outside any image (or NaN) address nothing sensible; keep
    // them representable.
    if (!(rounded > -1e9))
        return -1000000000;
    return int32_t(std::min(rounded, 1e9));
}

}  // namespace

void QrTexIndexer::setCrop(int32_t x0, int32_t x1, int32_t y0, int32_t y1)
{
    x_.setCrop(x0, x1);
    y_.setCrop(y0, y1);
}

void QrTexIndexer::setEdgeMethods(int32_t xMethod, int32_t yMethod)
{
    x_.edgeMethod = std::clamp(xMethod, int32_t(kEdgeColour), int32_t(kEdgeWrap));
    y_.edgeMethod = std::clamp(yMethod, int32_t(kEdgeColour), int32_t(kEdgeWrap));
}

void QrTexIndexer::setOrigin(int32_t x, int32_t y)
{
    x_.originIndex = x;
    y_.originIndex = y;
    x_.origin = float(x);
    y_.origin = float(y);
}

void QrTexIndexer::setOrigin(float x, float y)
{
    x_.origin = x;
    y_.origin = y;
    x_.originIndex = originIndexOf(x);
    y_.originIndex = originIndexOf(y);
}

bool QrTexIndexer::setWindow(int32_t x0, int32_t x1, int32_t y0, int32_t y1)
{
    const bool windowedX = x_.setWindow(x0, x1);
    const bool windowedY = y_.setWindow(y0, y1);
    flags_ = (windowedX || windowedY) ? (flags_ | kAnyWindowed) : (flags_ & ~uint32_t(kAnyWindowed));
    return isWindowed();
}

void QrTexIndexer::resetWindow()
{
    x_.resetWindow();
    y_.resetWindow();
    flags_ &= ~uint32_t(kAnyWindowed);
}

bool QrTexIndexer::setClipCropToWindow(bool on)
{
    for (QrTexAxis* axis : {&x_, &y_}) {
        if (on) {
            axis->flags |= QrTexAxis::kClipCropToWindow;
            axis->setCrop(axis->cropFirst, axis->cropLast);
        } else {
            axis->flags &= ~uint32_t(QrTexAxis::kClipCropToWindow);
        }
    }
    return isWindowed();
}

void QrTexIndexer::reapplyCrop()
{
    setCrop(x_.cropFirst, x_.cropLast, y_.cropFirst, y_.cropLast);
}

void QrTexIndexer::setPlacement(int32_t x, int32_t y)
{
    x_.placement = x;
    y_.placement = y;
}
