#include "blur/qrVectorBlurStrips.h"

#include <algorithm>

QrVectorBlurStrips::QrVectorBlurStrips(int32_t first, int32_t end, int32_t reach)
    : first_(first), end_(std::max(first, end)), rows_(std::max(2 * std::max(reach, 0), kMinRows))
{
}

int32_t QrVectorBlurStrips::count() const { return (end_ - first_ + rows_ - 1) / rows_; }

void QrVectorBlurStrips::strip(int32_t index, int32_t& stripFirst, int32_t& stripEnd) const
{
    stripFirst = first_ + index * rows_;
    stripEnd = std::min(stripFirst + rows_, end_);
}

void QrVectorBlurStrips::owned(int32_t parity, int32_t bandFirst, int32_t bandEnd,
                               int32_t& from, int32_t& to) const
{
    // First strip index whose first row is at or after `row`.
    auto firstAtOrAfter = [&](int32_t row) {
        const int32_t offset = std::max(row - first_, 0);
        return std::min((offset + rows_ - 1) / rows_, count());
    };
    from = firstAtOrAfter(bandFirst);
    to = bandEnd > bandFirst ? firstAtOrAfter(bandEnd) : from;
    if ((from & 1) != parity)
        ++from;
}
