#pragma once
// A per-pixel rule over single-channel images (storage S, working W): the
// operation rewrites one working pixel in place. Bands run on several
// threads, so both operations are const.
#include <cstdint>

template <class S, class W> class QrGeneralPass {
public:
    virtual ~QrGeneralPass() = default;
    virtual void generalPixel(W& pixel) const = 0;
    // Called once per band before its pixels, with the band's rectangle
    // (x0, y0 inclusive; x1, y1 exclusive). Nothing to do by default.
    virtual void generalBand(int32_t x0, int32_t y0, int32_t x1, int32_t y1) const
    {
        (void)x0, (void)y0, (void)x1, (void)y1;
    }
};
