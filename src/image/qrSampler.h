#pragma once
// A processor from one input image to an output image. process(input,
// output) runs beginSample, then every band through sampleBand, then
// endSample. By default a band is walked row by row (the rows of the field)
// through sampleRow; a sampler overrides whichever level suits it.
#include "qrImager.h"

#include <cstdint>

template <class InTex, class OutTex> class Sampler : public Imager {
public:
    explicit Sampler(QrInterruptRecord* record = nullptr) : Imager(record) { }
    ~Sampler() override = default;

    void process(const InTex& input, OutTex& output) { process(&input, &output); }
    virtual void process(const InTex* input, OutTex* output)
    {
        if (!input || !output)
            return;
        struct Reset {
            Sampler& self;
            ~Reset()
            {
                self.input_ = nullptr;
                self.output_ = nullptr;
            }
        } reset {*this};
        fitRegion(*output);
        input_ = input;
        output_ = output;
        run();
    }

    virtual void beginSample(const InTex& input, OutTex& output) { (void)input, (void)output; }
    virtual void sampleBand(const InTex& input, OutTex& output)
    {
        walkBandRows([&](int32_t y) { sampleRow(input, output, y, region().x0, region().x1); });
    }
    // Columns [x0, x1) of row y.
    virtual void sampleRow(const InTex& input, OutTex& output, int32_t y, int32_t x0, int32_t x1)
    {
        (void)input, (void)output, (void)y, (void)x0, (void)x1;
    }
    virtual void endSample(const InTex& input, OutTex& output) { (void)input, (void)output; }

    void beginProcess() override { beginSample(*input_, *output_); }
    void processBand() override { sampleBand(*input_, *output_); }
    void endProcess() override { endSample(*input_, *output_); }

protected:
    const InTex* input() const { return input_; }
    OutTex* output() const { return output_; }

private:
    const InTex* input_ = nullptr;
    OutTex* output_ = nullptr;
};
