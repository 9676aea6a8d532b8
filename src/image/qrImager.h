#pragma once
// Base of samplers and combiners: processors that read one or two input
// images and write an output image. Holds the region (in output
// coordinates), the aspect pair and the field mode for interlaced frames.
#include "qrMultiProcessor.h"
#include "qrProcRegion.h"
#include "qrTexIndexer.h"

#include <cstdint>

class Imager : public QrMultiProcessor {
public:
    enum FieldMode : int32_t {
        kWholeFrame = 0,
        kEvenField = 1,  // rows 0, 2, 4, ...
        kOddField = 2,  // rows 1, 3, 5, ...
    };

    explicit Imager(QrInterruptRecord* record = nullptr) : QrMultiProcessor(record) { }
    ~Imager() override = default;

    void setRegion(int32_t x0, int32_t y0, int32_t x1, int32_t y1) { region_.set(x0, y0, x1, y1); }
    void getRegion(int32_t& x0, int32_t& y0, int32_t& x1, int32_t& y1) const { region_.get(x0, y0, x1, y1); }
    void setRegionMode(QrRegionMode mode) { region_.mode = mode; }
    const QrRect& region() const { return region_.rect; }

    void setFieldMode(int32_t mode) { fieldMode_ = mode; }
    int32_t fieldMode() const { return fieldMode_; }
    // The first row at or after y that belongs to the field.
    int32_t fieldRow(int32_t y) const;
    // Distance between consecutive rows of the field.
    int32_t rowStep() const { return fieldMode_ != kWholeFrame ? 2 : 1; }

    float pixelAspect = 1.0f;
    float inversePixelAspect = 1.0f;

protected:
    // Called as a run starts: fits the region to the output's data window.
    void fitRegion(const QrTexIndexer& output) { region_.fitTo(output); }
    // The calling thread's rows [first, end) of the region.
    void regionBand(int32_t& first, int32_t& end) const
    {
        bandRows(region_.rect.y0, region_.rect.y1, first, end);
    }
    // Calls op(y) for each row of the calling thread's band that belongs to
    // the field, checking for an interruption before each.
    template <class RowOp> void walkBandRows(RowOp&& op) const
    {
        int32_t first = 0, end = 0;
        regionBand(first, end);
        if (region_.rect.width() <= 0)
            return;
        for (int32_t y = fieldRow(first); y < end; y += rowStep()) {
            if (isInterrupted())
                return;
            op(y);
        }
    }

private:
    QrProcRegion region_;
    int32_t fieldMode_ = kWholeFrame;
};
