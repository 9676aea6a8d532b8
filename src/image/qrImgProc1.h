#pragma once
// A processor with one output image of texture type Tex.
#include "qrImgProc.h"

#include <cstdint>

template <class Tex> class QrImgProc1 : public QrImgProc {
public:
    using Texture = Tex;
    using StoragePixel = typename Tex::StoragePixel;
    using WorkPixel = typename Tex::WorkPixel;

    explicit QrImgProc1(QrInterruptRecord* record = nullptr) : QrImgProc(record) { }
    ~QrImgProc1() override = default;

    void process(Tex& output) { process(&output); }
    // Records the typed output for the bands, runs, and forgets it again.
    virtual void process(Tex* output)
    {
        struct Reset {
            Tex*& p;
            ~Reset() { p = nullptr; }
        } reset {output_};
        output_ = output;
        QrImgProc::process(output);
    }

protected:
    Tex* output() const { return output_; }

    // Calls op(y, row, count) for each row y of the calling thread's band,
    // where row points at the output pixel at (region x0, y) and count is the
    // region's width. Stops when the run is interrupted.
    template <class RowOp> void forEachBandRow(RowOp&& op) const { walkBandRows(*output_, op); }

private:
    Tex* output_ = nullptr;
};
