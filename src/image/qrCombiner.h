#pragma once
// A processor from two input images to an output image. process(first,
// second, output) runs beginCombine, then every band through combineBand,
// which by default walks the band's rows through combineRow.
#include "qrImager.h"

#include <cstdint>

template <class InTex1, class InTex2, class OutTex> class Combiner : public Imager {
public:
    explicit Combiner(QrInterruptRecord* record = nullptr) : Imager(record) { }
    ~Combiner() override = default;

    void process(const InTex1& first, const InTex2& second, OutTex& output)
    {
        process(&first, &second, &output);
    }
    virtual void process(const InTex1* first, const InTex2* second, OutTex* output)
    {
        if (!first || !second || !output)
            return;
        struct Reset {
            Combiner& self;
            ~Reset()
            {
                self.first_ = nullptr;
                self.second_ = nullptr;
                self.output_ = nullptr;
            }
        } reset {*this};
        fitRegion(*output);
        first_ = first;
        second_ = second;
        output_ = output;
        run();
    }

    virtual void beginCombine(const InTex1& first, const InTex2& second, OutTex& output)
    {
        (void)first, (void)second, (void)output;
    }
    virtual void combineBand(const InTex1& first, const InTex2& second, OutTex& output)
    {
        walkBandRows([&](int32_t y) { combineRow(first, second, output, y, region().x0, region().x1); });
    }
    // Columns [x0, x1) of row y.
    virtual void combineRow(
        const InTex1& first, const InTex2& second, OutTex& output, int32_t y, int32_t x0, int32_t x1)
    {
        (void)first, (void)second, (void)output, (void)y, (void)x0, (void)x1;
    }

    void beginProcess() override { beginCombine(*first_, *second_, *output_); }
    void processBand() override { combineBand(*first_, *second_, *output_); }

private:
    const InTex1* first_ = nullptr;
    const InTex2* second_ = nullptr;
    OutTex* output_ = nullptr;
};
