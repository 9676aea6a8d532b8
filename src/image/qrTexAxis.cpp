#include "qrTexAxis.h"

#include <algorithm>

// Index arithmetic below uses C++ / and %, which truncate toward zero: the
// reflect and wrap rules are written for exactly that.

QrTexAxis::QrTexAxis(int32_t length) : size(std::max(length, 0))
{
    resetWindow();
    setCrop(0, size - 1);
}

int32_t QrTexAxis::addressIndex(int32_t i) const
{
    const int32_t n = cropCount;
    if (n <= 0)
        return -1;
    const int32_t d = i - cropFirst;
    int32_t k = i;
    if (d < 0) {
        const int32_t wrapped = cropFirst + (d + 1) % n - 1 + n;
        switch (edgeMethod) {
        case kEdgeRepeat: k = cropFirst; break;
        case kEdgeReflect: {
            const int32_t q = (-1 - d) / n, r = (-1 - d) % n;
            k = q % 2 == 0 ? cropFirst + r : wrapped;
            break;
        }
        case kEdgeWrap: k = wrapped; break;
        default: return -1;
        }
    } else if (d >= n) {
        switch (edgeMethod) {
        case kEdgeRepeat: k = cropFirst + n - 1; break;
        case kEdgeReflect: k = (d / n) % 2 != 0 ? cropFirst + n - d % n - 1 : cropFirst + d % n; break;
        case kEdgeWrap: k = cropFirst + d % n; break;
        default: return -1;
        }
    }
    return k >= windowFirst && k <= windowLast ? k : -1;
}

QrRun QrTexAxis::run(int32_t coordinate) const
{
    const int32_t n = cropCount;
    if (n <= 0)
        return {-1, 0, kEndless};
    const int32_t i = coordinate - originIndex;
    const int32_t d = i - cropFirst;
    if (d >= 0 && d < n)
        return clipToWindow(i, 1, cropLast - i + 1);
    if (d < 0) {
        const int32_t m = (d + 1) % n - 1 + n;  // wrap offset into the crop
        switch (edgeMethod) {
        case kEdgeRepeat: return clipToWindow(cropFirst, 0, -d);
        case kEdgeReflect: {
            const int32_t q = (-1 - d) / n, r = (-1 - d) % n;
            if (q % 2 == 0)
                return clipToWindow(cropFirst + r, -1, r + 1);
            return clipToWindow(cropFirst + m, 1, n - m);
        }
        case kEdgeWrap: return clipToWindow(cropFirst + m, 1, n - m);
        default: return {-1, 0, -d};
        }
    }
    const int32_t rem = d % n;
    switch (edgeMethod) {
    case kEdgeRepeat: return clipToWindow(cropLast, 0, kEndless);
    case kEdgeReflect:
        if ((d / n) % 2 != 0)
            return clipToWindow(cropFirst + n - rem - 1, -1, n - rem);
        return clipToWindow(cropFirst + rem, 1, n - rem);
    case kEdgeWrap: return clipToWindow(cropFirst + rem, 1, n - rem);
    default: return {-1, 0, kEndless};
    }
}

// Outside the window there is no memory: the run becomes edge colour up to
// the point where the walk would enter the window. Inside, the run is cut so
// that the walk stays inside it.
QrRun QrTexAxis::clipToWindow(int32_t index, int32_t step, int32_t length) const
{
    if (index < windowFirst) {
        if (step > 0)
            length = std::min(length, windowFirst - index);
        return {-1, 0, length};
    }
    if (index > windowLast) {
        if (step < 0)
            length = std::min(length, index - windowLast);
        return {-1, 0, length};
    }
    if (step > 0)
        length = std::min(length, windowLast - index + 1);
    else if (step < 0)
        length = std::min(length, index - windowFirst + 1);
    return {index - windowFirst, step, length};
}

void QrTexAxis::setCrop(int32_t a, int32_t b)
{
    int32_t lo = std::clamp(std::min(a, b), 0, std::max(size - 1, 0));
    int32_t hi = std::clamp(std::max(a, b), 0, std::max(size - 1, 0));
    if (clipsCropToWindow() && windowCount > 0) {
        lo = std::clamp(lo, windowFirst, windowLast);
        hi = std::clamp(hi, windowFirst, windowLast);
    }
    if (size <= 0)
        hi = -1;
    cropFirst = lo;
    cropLast = hi;
    cropCount = hi - lo + 1;
}

bool QrTexAxis::setWindow(int32_t a, int32_t b)
{
    const int32_t last = std::max(size - 1, 0);
    windowFirst = std::clamp(std::min(a, b), 0, last);
    windowLast = size > 0 ? std::clamp(std::max(a, b), 0, last) : -1;
    windowCount = windowLast - windowFirst + 1;
    if (windowFirst == 0 && windowLast == size - 1)
        flags &= ~uint32_t(kWindowed);
    else
        flags |= kWindowed;
    if (clipsCropToWindow())
        setCrop(cropFirst, cropLast);
    return isWindowed();
}

void QrTexAxis::resetWindow()
{
    windowFirst = 0;
    windowLast = size - 1;
    windowCount = size;
    flags &= ~uint32_t(kWindowed);
}
