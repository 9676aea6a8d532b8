#pragma once
// The addressing part of an image: an X and a Y axis record (qrTexAxis.h)
// and the texture-wide windowed flag. Indexer operations never fail:
// out-of-range arguments are clamped.
#include "qrTexAxis.h"

#include <cstdint>

class QrTexIndexer {
public:
    enum Flags : uint32_t { kAnyWindowed = 1u };

    QrTexIndexer() = default;
    // Origin 0, method Colour, crop and window covering the image, flags clear.
    QrTexIndexer(int32_t width, int32_t height) : x_(width), y_(height) { }
    virtual ~QrTexIndexer() = default;
    QrTexIndexer(const QrTexIndexer&) = default;
    QrTexIndexer& operator=(const QrTexIndexer&) = default;

    // Inclusive crop ranges, each in either order.
    virtual void setCrop(int32_t x0, int32_t x1, int32_t y0, int32_t y1);
    // QrEdgeMethod codes 0..3; other values are clamped into that range.
    virtual void setEdgeMethods(int32_t xMethod, int32_t yMethod);
    virtual void setOrigin(int32_t x, int32_t y);
    // The addressing origin is floor(value + 0.5) per axis.
    virtual void setOrigin(float x, float y);
    // Inclusive window of indices that have memory; returns whether either
    // axis is now windowed.
    virtual bool setWindow(int32_t x0, int32_t x1, int32_t y0, int32_t y1);
    virtual void resetWindow();
    // Keeps the crop inside the window from now on (re-clamping it at once);
    // returns whether either axis is windowed.
    virtual bool setClipCropToWindow(bool on);
    virtual void reapplyCrop();

    // Coordinate of index 0 of each axis when this image is a processor's
    // output (processors address their region in coordinates).
    void setPlacement(int32_t x, int32_t y);

    int32_t width() const { return x_.size; }
    int32_t height() const { return y_.size; }
    const QrTexAxis& xAxis() const { return x_; }
    const QrTexAxis& yAxis() const { return y_; }
    bool isWindowed() const { return (flags_ & kAnyWindowed) != 0; }
    // Copies every addressing setting of another image (size included).
    void copyIndexer(const QrTexIndexer& other) { *this = other; }

private:
    QrTexAxis x_;
    QrTexAxis y_;
    uint32_t flags_ = 0;
};
