#pragma once
// The rectangle of coordinates a processor works on, and how it is fitted to
// the output image when a run starts.
#include "qrTexIndexer.h"

#include <cstdint>

enum QrRegionMode : uint8_t {
    kRegionClamp = 0,  // clamp the region into the image
    kRegionKeep = 1,  // keep an axis inside the image, else use the image's extent on it
};

struct QrRect {
    int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // x1 and y1 exclusive

    int32_t width() const { return x1 - x0; }
    int32_t height() const { return y1 - y0; }
    bool isEmpty() const { return x1 <= x0 || y1 <= y0; }
    friend bool operator==(const QrRect&, const QrRect&) = default;
};

struct QrProcRegion {
    bool isSet = false;  // false: the output's data window is used
    QrRect rect;
    QrRegionMode mode = kRegionClamp;

    void set(const QrRect& r)
    {
        rect = r;
        isSet = true;
    }
    // Inclusive corners.
    void set(int32_t x0, int32_t y0, int32_t x1, int32_t y1) { set({x0, y0, x1 + 1, y1 + 1}); }
    void get(int32_t& x0, int32_t& y0, int32_t& x1, int32_t& y1) const
    {
        x0 = rect.x0;
        y0 = rect.y0;
        x1 = rect.x1 - 1;
        y1 = rect.y1 - 1;
    }

    // The image's data window in coordinates (placement applied).
    static QrRect dataWindow(const QrTexIndexer& image);
    // Called as a run starts: an unset region becomes the image's data
    // window; then the region is fitted to it by the mode.
    void fitTo(const QrTexIndexer& image);
};
