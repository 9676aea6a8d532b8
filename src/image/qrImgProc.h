#pragma once
// A processor that writes one output image. It is configured, optionally
// given a region (in output coordinates), and processed; the multi-processor
// base splits each pass into bands of the region's rows.
//
// A subclass overrides processBand (and the pass hooks where needed). Inside
// processBand, regionBand() gives the calling thread's rows, region() the
// columns; the typed bases (QrImgProc1, QrImgProc2) add row walkers.
#include "qrMultiProcessor.h"
#include "qrProcRegion.h"
#include "qrTexIndexer.h"

#include <cstdint>

class QrImgProc : public QrMultiProcessor {
public:
    explicit QrImgProc(QrInterruptRecord* record = nullptr) : QrMultiProcessor(record) { }
    ~QrImgProc() override = default;

    // Region from inclusive corners; until one is set, each run uses the
    // output's data window.
    void setRegion(int32_t x0, int32_t y0, int32_t x1, int32_t y1) { region_.set(x0, y0, x1, y1); }
    // Region from a rectangle with x1 and y1 exclusive.
    void setRegion(const QrRect& rect) { region_.set(rect); }
    void getRegion(int32_t& x0, int32_t& y0, int32_t& x1, int32_t& y1) const { region_.get(x0, y0, x1, y1); }
    void copyRegion(const QrImgProc& other) { region_ = other.region_; }
    void setRegionMode(QrRegionMode mode) { region_.mode = mode; }
    // The whole region record (used by the window stack).
    const QrProcRegion& regionRecord() const { return region_; }
    void setRegionRecord(const QrProcRegion& region) { region_ = region; }
    // The region as exclusive corners (fitted to the output during a run).
    const QrRect& region() const { return region_.rect; }

    // Pixel aspect ratio (width / height of a pixel) and its reciprocal.
    float pixelAspect = 1.0f;
    float inversePixelAspect = 1.0f;

protected:
    // Runs the processor on `output`: fits the region to the output's data
    // window, records the output, runs every pass. Null does nothing. The
    // typed bases call it from their own process, the one entry callers see.
    void process(QrTexIndexer* output);

    // The calling thread's rows [first, end) of the region.
    void regionBand(int32_t& first, int32_t& end) const
    {
        bandRows(region_.rect.y0, region_.rect.y1, first, end);
    }
    // Calls op(y, row, count) for each row y of the calling thread's band,
    // where row points at the pixel of `out` at (region x0, y) and count is
    // the region's width. Checks for an interruption before every row.
    template <class Tex, class RowOp> void walkBandRows(Tex& out, RowOp&& op) const
    {
        int32_t first = 0, end = 0;
        regionBand(first, end);
        const int32_t x0 = region_.rect.x0, count = region_.rect.width();
        if (count <= 0)
            return;
        for (int32_t y = first; y < end; ++y) {
            if (isInterrupted())
                return;
            op(y, out.placedPixel(x0, y), count);
        }
    }
    QrTexIndexer* outputImage() const { return output_; }
    int32_t outputWidth() const { return outputWidth_; }
    int32_t outputHeight() const { return outputHeight_; }

private:
    QrProcRegion region_;
    QrTexIndexer* output_ = nullptr;
    int32_t outputWidth_ = 0;
    int32_t outputHeight_ = 0;
};
