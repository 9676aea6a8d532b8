#pragma once
// A combiner whose pixels come from a binary operation on working pixels:
// output(x, y) = op(first(x, y), second(x, y)), both inputs read through
// their own addressing. Op is a value type called as
// `WOut op(const W1&, const W2&) const`.
#include "qrCombiner.h"
#include "qrPixel.h"

#include <cstdint>
#include <vector>

template <class InTex1, class InTex2, class OutTex, class Op>
class GeneralCombiner : public Combiner<InTex1, InTex2, OutTex> {
public:
    using W1 = typename InTex1::WorkPixel;
    using W2 = typename InTex2::WorkPixel;
    using WOut = typename OutTex::WorkPixel;
    using SOut = typename OutTex::StoragePixel;

    explicit GeneralCombiner(const Op& op = Op(), QrInterruptRecord* record = nullptr)
        : Combiner<InTex1, InTex2, OutTex>(record), op_(op)
    {
    }

    void combineBand(const InTex1& first, const InTex2& second, OutTex& output) override
    {
        // Row buffers per band: bands run concurrently on one object.
        std::vector<W1> a(size_t(this->region().width()));
        std::vector<W2> b(a.size());
        this->walkBandRows([&](int32_t y) {
            const int32_t x0 = this->region().x0, x1 = this->region().x1;
            first.fetchRow(y, x0, x1, a.data());
            second.fetchRow(y, x0, x1, b.data());
            SOut* out = output.placedPixel(x0, y);
            for (size_t k = 0; k < a.size(); ++k)
                out[k] = Quarn::Pixel::convert<SOut>(WOut(op_(a[k], b[k])));
        });
    }

private:
    Op op_;
};
