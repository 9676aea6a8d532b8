#pragma once
// An image: addressing (QrTexIndexer) over pixels of the storage type S in
// memory held by a shared, reference-counted handle, or in memory the host
// owns (the plug-in wraps the host's worlds without copying). W is the float
// working pixel of the same scale (qrPixel.h).
//
// Memory layout: `data()` is the pixel at (window first X, window first Y);
// rows are `stride()` bytes apart. Index (i, j) inside the window lives at
// data + stride * (j - windowFirstY) + sizeof(S) * (i - windowFirstX).
// Changing the window keeps every pixel at its address (the data pointer
// follows the window's first pixel), so the memory must cover the new window.
//
// Three ways to reach pixels:
//  - a processor's output: `placedPixel(x, y)`, coordinates minus placement;
//  - an input walked along a row: `forEachRun` / `fetchRow`, which apply the
//    origin, crop, edge method and window of both axes once per run;
//  - single samples: `pixelAt` (nearest) and `bilinear`.
#include "qrAutoRef.h"
#include "qrDataHandle.h"
#include "qrMemoryHandle.h"
#include "qrPixel.h"
#include "qrRefCounter.h"
#include "qrTexIndexer.h"
#include "qrTexNotifier.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

template <class S, class W = Quarn::Pixel::Work<S>>
class QrTexture : public QrTexIndexer, public QrTexNotifier {
public:
    using StoragePixel = S;
    using WorkPixel = W;

    QrTexture() = default;
    // Shares `handle` (acquired; may be null); rows are packed.
    QrTexture(int32_t width, int32_t height, Quarn::Memory::Handle* handle);
    // Wraps memory owned by someone else (the host): no handle, rows
    // `rowBytes` apart starting at `data`.
    QrTexture(int32_t width, int32_t height, void* data, std::ptrdiff_t rowBytes);
    ~QrTexture() override = default;
    // Copies share the data handle; indexer, edge colour and stride are copied.
    QrTexture(const QrTexture&) = default;
    QrTexture& operator=(const QrTexture&) = default;

    // A new width x height image in fresh image memory (DataHandle: the
    // host's when one is current on this thread). Contents are undefined.
    static QrTexture allocate(int32_t width, int32_t height);
    // A new image with every addressing setting of `geometry` (size, origin,
    // crop, edge methods, placement, window) and memory for its window.
    static QrTexture allocateLike(const QrTexIndexer& geometry);

    bool setWindow(int32_t x0, int32_t x1, int32_t y0, int32_t y1) override;
    void resetWindow() override;
    virtual void setEdgeColour(const S& colour) { edgeColour_ = colour; }
    const S& edgeColour() const { return edgeColour_; }

    // Bilinear sample at the centre of the box (x0, y0)-(x1, y1).
    virtual void sampleBox(float x0, float y0, float x1, float y1, W& out) const;
    // The same for a box given as centre and half sizes.
    virtual void sampleCentre(float cx, float cy, float rx, float ry, W& out) const;
    // Bilinear sample at (x, y); pixel centres are at index + 0.5 (+ origin).
    W bilinear(float x, float y) const;

    S* data() const { return data_; }
    std::ptrdiff_t stride() const { return stride_; }
    Quarn::Memory::Handle* handle() const { return handle_.get(); }
    bool hasData() const { return data_ != nullptr; }
    // Lets go of the memory (the handle's reference, if any).
    void releaseData();

    // Start of row j in memory (the pixel at window first X); pixel (i, j)
    // by index. Both must lie inside the window.
    S* rowStart(int32_t j) const
    {
        return reinterpret_cast<S*>(
            reinterpret_cast<char*>(data_) + stride_ * std::ptrdiff_t(j - yAxis().windowFirst));
    }
    S* pixelAtIndex(int32_t i, int32_t j) const { return rowStart(j) + (i - xAxis().windowFirst); }
    // Output pixel at coordinate (x, y): index = coordinate - placement.
    S* placedPixel(int32_t x, int32_t y) const
    {
        return pixelAtIndex(x - xAxis().placement, y - yAxis().placement);
    }
    // The memory row that stands for row coordinate y (edge-addressed), or
    // null when the edge colour does.
    const S* rowAt(int32_t y) const
    {
        const int32_t j = yAxis().address(y);
        return j < 0 ? nullptr : rowStart(j);
    }
    // Edge-addressed pixel at coordinate (x, y); the edge colour outside.
    const S& pixelAt(int32_t x, int32_t y) const
    {
        const int32_t i = xAxis().address(x), j = yAxis().address(y);
        return i < 0 || j < 0 ? edgeColour_ : *pixelAtIndex(i, j);
    }

    // Walks the pixels standing for coordinates x0..x1-1 of row y as runs:
    // f(const S* first, int32_t step, int32_t count) reads `count` pixels
    // from `first`, advancing by `step` (0: the same pixel, e.g. the edge
    // colour). The runs cover the row in order.
    template <class F> void forEachRun(int32_t y, int32_t x0, int32_t x1, F&& f) const;
    // The same row converted into working pixels out[0 .. x1-x0-1].
    void fetchRow(int32_t y, int32_t x0, int32_t x1, W* out) const;

private:
    void followWindow(int32_t oldFirstX, int32_t oldFirstY);

    Quarn::auto_ref<Quarn::Memory::Handle> handle_;
    S* data_ = nullptr;
    S edgeColour_ {};
    std::ptrdiff_t stride_ = 0;
};

template <class S, class W>
QrTexture<S, W>::QrTexture(int32_t width, int32_t height, Quarn::Memory::Handle* handle)
    : QrTexIndexer(width, height),
      handle_(Quarn::auto_ref<Quarn::Memory::Handle>::share(handle)),
      data_(handle ? static_cast<S*>(handle->data()) : nullptr),
      stride_(std::ptrdiff_t(this->width()) * std::ptrdiff_t(sizeof(S)))
{
}

template <class S, class W>
QrTexture<S, W>::QrTexture(int32_t width, int32_t height, void* data, std::ptrdiff_t rowBytes)
    : QrTexIndexer(width, height), data_(static_cast<S*>(data)), stride_(rowBytes)
{
}

template <class S, class W> QrTexture<S, W> QrTexture<S, W>::allocate(int32_t width, int32_t height)
{
    return allocateLike(QrTexIndexer(width, height));
}

template <class S, class W> QrTexture<S, W> QrTexture<S, W>::allocateLike(const QrTexIndexer& geometry)
{
    const auto columns = std::size_t(std::max(geometry.xAxis().windowCount, 0));
    const auto rows = std::size_t(std::max(geometry.yAxis().windowCount, 0));
    // An overflowing size becomes one that the data handle refuses.
    const bool fits = rows == 0 || columns <= SIZE_MAX / sizeof(S) / rows;
    auto handle = Quarn::auto_ref<Quarn::Memory::Handle>(
        new Quarn::Image::DataHandle(fits ? columns * rows * sizeof(S) : SIZE_MAX));
    QrTexture texture(0, 0, handle.get());
    texture.copyIndexer(geometry);
    texture.stride_ = std::ptrdiff_t(columns * sizeof(S));
    return texture;
}

template <class S, class W> bool QrTexture<S, W>::setWindow(int32_t x0, int32_t x1, int32_t y0, int32_t y1)
{
    const int32_t firstX = xAxis().windowFirst, firstY = yAxis().windowFirst;
    const bool windowed = QrTexIndexer::setWindow(x0, x1, y0, y1);
    followWindow(firstX, firstY);
    return windowed;
}

template <class S, class W> void QrTexture<S, W>::resetWindow()
{
    const int32_t firstX = xAxis().windowFirst, firstY = yAxis().windowFirst;
    QrTexIndexer::resetWindow();
    followWindow(firstX, firstY);
}

template <class S, class W> void QrTexture<S, W>::followWindow(int32_t oldFirstX, int32_t oldFirstY)
{
    if (!data_)
        return;
    const std::ptrdiff_t bytes = stride_ * std::ptrdiff_t(yAxis().windowFirst - oldFirstY) +
        std::ptrdiff_t(sizeof(S)) * (xAxis().windowFirst - oldFirstX);
    data_ = reinterpret_cast<S*>(reinterpret_cast<char*>(data_) + bytes);
}

template <class S, class W> void QrTexture<S, W>::releaseData()
{
    handle_ = Quarn::auto_ref<Quarn::Memory::Handle>();
    data_ = nullptr;
}

template <class S, class W>
void QrTexture<S, W>::sampleBox(float x0, float y0, float x1, float y1, W& out) const
{
    out = bilinear((x0 + x1) * 0.5f, (y0 + y1) * 0.5f);
}

template <class S, class W>
void QrTexture<S, W>::sampleCentre(float cx, float cy, float rx, float ry, W& out) const
{
    sampleBox(cx - rx, cy - ry, cx + rx, cy + ry, out);
}

namespace QrTextureDetail {

// Splits a sample position into the index below it and the fraction
// towards the next; positions beyond any image (or NaN) pin far outside.
inline int32_t splitPosition(float t, float& fraction)
{
    const float pinned = t > -1e9f ? (t < 1e9f ? t : 1e9f) : -1e9f;
    const float k = std::floor(pinned);
    fraction = pinned - k;
    return int32_t(k);
}

}  // namespace QrTextureDetail

template <class S, class W> W QrTexture<S, W>::bilinear(float x, float y) const
{
    float fx = 0.0f, fy = 0.0f;
    const int32_t kx = QrTextureDetail::splitPosition(x - 0.5f - xAxis().origin, fx);
    const int32_t ky = QrTextureDetail::splitPosition(y - 0.5f - yAxis().origin, fy);
    const int32_t i0 = xAxis().addressIndex(kx), i1 = xAxis().addressIndex(kx + 1);
    const int32_t j0 = yAxis().addressIndex(ky), j1 = yAxis().addressIndex(ky + 1);
    auto at = [&](int32_t i, int32_t j) -> W {
        using Quarn::Pixel::convert;
        return convert<W>(i < 0 || j < 0 ? edgeColour_ : *pixelAtIndex(i, j));
    };
    const W top = at(i0, j0) * (1.0f - fx) + at(i1, j0) * fx;
    const W bottom = at(i0, j1) * (1.0f - fx) + at(i1, j1) * fx;
    return top * (1.0f - fy) + bottom * fy;
}

template <class S, class W>
template <class F>
void QrTexture<S, W>::forEachRun(int32_t y, int32_t x0, int32_t x1, F&& f) const
{
    const S* row = rowAt(y);
    if (!row) {
        if (x1 > x0)
            f(&edgeColour_, 0, x1 - x0);
        return;
    }
    for (int32_t x = x0; x < x1;) {
        const QrRun run = xAxis().run(x);
        const int32_t count = std::min(run.length, x1 - x);
        if (run.index < 0)
            f(&edgeColour_, 0, count);
        else
            f(row + run.index, run.step, count);
        x += count;
    }
}

template <class S, class W> void QrTexture<S, W>::fetchRow(int32_t y, int32_t x0, int32_t x1, W* out) const
{
    forEachRun(y, x0, x1, [&out](const S* p, int32_t step, int32_t count) {
        for (int32_t k = 0; k < count; ++k, p += step)
            *out++ = Quarn::Pixel::convert<W>(*p);
    });
}
