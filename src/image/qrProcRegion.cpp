#include "qrProcRegion.h"

#include <algorithm>

QrRect QrProcRegion::dataWindow(const QrTexIndexer& image)
{
    const QrTexAxis& x = image.xAxis();
    const QrTexAxis& y = image.yAxis();
    return {x.windowFirst + x.placement, y.windowFirst + y.placement, x.windowLast + x.placement + 1,
        y.windowLast + y.placement + 1};
}

void QrProcRegion::fitTo(const QrTexIndexer& image)
{
    const QrRect bounds = dataWindow(image);
    if (!isSet)
        rect = bounds;
    if (mode == kRegionKeep) {
        if (rect.x0 < bounds.x0 || rect.x1 > bounds.x1) {
            rect.x0 = bounds.x0;
            rect.x1 = bounds.x1;
        }
        if (rect.y0 < bounds.y0 || rect.y1 > bounds.y1) {
            rect.y0 = bounds.y0;
            rect.y1 = bounds.y1;
        }
        return;
    }
    rect.x0 = std::clamp(rect.x0, bounds.x0, bounds.x1);
    rect.x1 = std::clamp(rect.x1, bounds.x0, bounds.x1);
    rect.y0 = std::clamp(rect.y0, bounds.y0, bounds.y1);
    rect.y1 = std::clamp(rect.y1, bounds.y0, bounds.y1);
}
