#pragma once
// The order in which the vector blur visits its start pixels, fixed by the
// image and the path shape alone so that the result never depends on the
// number of threads or where the bands are cut.
//
// The processed rows are cut into strips at least twice as tall as a path's
// row reach. One thread traces a strip from top to bottom. All even strips
// are traced at once, then all odd ones: two strips of the same parity never
// deposit into the same pixel, nor into the rows whose weights the other
// tests, so each pixel receives its sums in one fixed order.
#include <cstdint>

class QrVectorBlurStrips {
public:
    static constexpr int32_t kMinRows = 16;

    QrVectorBlurStrips() = default;
    // Rows [first, end); deposits land at most `reach` rows from their start.
    QrVectorBlurStrips(int32_t first, int32_t end, int32_t reach);

    int32_t rowsPerStrip() const { return rows_; }
    int32_t count() const;
    // Rows [stripFirst, stripEnd) of strip `index`.
    void strip(int32_t index, int32_t& stripFirst, int32_t& stripEnd) const;
    // The strips of `parity` that a band owns: those whose first row lies in
    // [bandFirst, bandEnd), so that any split of [first, end) hands every
    // strip to exactly one band. Gives the index range [from, to) to walk
    // with step 2.
    void owned(int32_t parity, int32_t bandFirst, int32_t bandEnd, int32_t& from,
               int32_t& to) const;

private:
    int32_t first_ = 0, end_ = 0, rows_ = kMinRows;
};
