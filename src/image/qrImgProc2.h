#pragma once
// A processor with an output image and an input image. The input is read
// through its own addressing (origin, crop, edge method, window), so it may
// be smaller, larger or shifted against the output; it may also be the
// output itself (in-place processing).
#include "qrImgProc.h"

#include <cstdint>

template <class OutTex, class InTex = OutTex> class QrImgProc2 : public QrImgProc {
public:
    using OutputTexture = OutTex;
    using InputTexture = InTex;

    explicit QrImgProc2(QrInterruptRecord* record = nullptr) : QrImgProc(record) { }
    ~QrImgProc2() override = default;

    void process(const InTex& input, OutTex& output) { process(&input, &output); }
    // Records both images for the bands, runs on the output, forgets both.
    virtual void process(const InTex* input, OutTex* output)
    {
        struct Reset {
            QrImgProc2& self;
            ~Reset()
            {
                self.output_ = nullptr;
                self.input_ = nullptr;
            }
        } reset {*this};
        output_ = output;
        input_ = input;
        if (input)
            QrImgProc::process(output);
    }

protected:
    OutTex* output() const { return output_; }
    const InTex* input() const { return input_; }

    // Calls op(y, row, count) for each row y of the calling thread's band;
    // row points at the output pixel at (region x0, y), count is the
    // region's width. Read the input of that row with
    // input()->forEachRun(y, region().x0, region().x1, ...).
    template <class RowOp> void forEachBandRow(RowOp&& op) const { walkBandRows(*output_, op); }

private:
    OutTex* output_ = nullptr;
    const InTex* input_ = nullptr;
};
