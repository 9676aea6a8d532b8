#pragma once
// Test images made from a rule per pixel position, and the check that an
// image holds what such a rule says.
#include "qrTexture.h"

#include <gtest/gtest.h>

#include <cstdint>

// A w x h image whose pixel (i, j) is f(i, j).
template <class P, class F> QrTexture<P> imageFrom(int32_t w, int32_t h, F f)
{
    QrTexture<P> t = QrTexture<P>::allocate(w, h);
    for (int32_t j = 0; j < h; ++j)
        for (int32_t i = 0; i < w; ++i)
            *t.pixelAtIndex(i, j) = f(i, j);
    return t;
}

// A w x h image of the pixel type's black.
template <class P> QrTexture<P> blackImage(int32_t w, int32_t h)
{
    return imageFrom<P>(w, h, [](int32_t, int32_t) { return P::black(); });
}

// Asserts that every pixel (i, j) of the unwindowed image t is want(i, j).
template <class P, class F> void expectPixels(const QrTexture<P>& t, F want)
{
    for (int32_t j = 0; j < t.height(); ++j)
        for (int32_t i = 0; i < t.width(); ++i)
            ASSERT_EQ(*t.pixelAtIndex(i, j), want(i, j)) << "at " << i << "," << j;
}
