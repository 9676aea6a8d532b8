#pragma once
// Makes a single-channel matte from an ARGB image of the same depth: the
// plain mean of R, G and B (no weights), the alpha, or white minus either,
// chosen by the matte channel code:
//   1, 5  (B + G + R) / 3                  luminance
//   2, 6  ((w - R) + (w - G) + (w - B)) / 3  inverse luminance
//   3, 7  A                                 alpha
//   4, 8  w - A                             inverse alpha
// (the division is a multiplication by 0.33333334, and alpha goes through
// the same 3 x 0.33333334, so every code rounds alike). Source pixels are read
// through the source's edge addressing; the result takes the matte's store
// conversion.
#include "qrPixel.h"
#include "qrSampler.h"
#include "qrTexture.h"

#include <cstdint>

template <class StoragePixel, class WorkPixel, class MatteStoragePixel, class MatteWorkPixel>
class AlphaMatterWithoutTemplatedMax
    : public Sampler<QrTexture<StoragePixel, WorkPixel>, QrTexture<MatteStoragePixel, MatteWorkPixel>> {
public:
    using Source = QrTexture<StoragePixel, WorkPixel>;
    using Matte = QrTexture<MatteStoragePixel, MatteWorkPixel>;
    using MatteComponent = typename MatteStoragePixel::Component;

    int32_t reserved = 0;
    int32_t mode = 1;  // the matte channel code, 1..8
    int32_t white = int32_t(StoragePixel::Desc::kWhite);
    int32_t alphaWhite = int32_t(StoragePixel::Desc::kWhite);

    explicit AlphaMatterWithoutTemplatedMax(QrInterruptRecord* record = nullptr)
        : Sampler<Source, Matte>(record)
    {
    }

    // Gives `matte` the source's geometry (size, window, crop, edge methods),
    // placed where the source's pixels stand so that matte index i holds the
    // value of source index i, and an edge value of the mean of the source
    // edge colour's R, G and B whatever the code.
    static void prepare(Matte& matte, const Source& source)
    {
        const int32_t ox = source.xAxis().originIndex, oy = source.yAxis().originIndex;
        matte = Matte::allocateLike(source);
        matte.setPlacement(ox, oy);
        matte.setOrigin(ox, oy);
        const StoragePixel& e = source.edgeColour();
        MatteStoragePixel edge;
        edge.c[0] = store((float(e.b()) + float(e.g()) + float(e.r())) * kThird);
        matte.setEdgeColour(edge);
    }

    float value(const StoragePixel& p) const
    {
        const float w = float(white);
        switch (mode) {
        case 1:
        case 5: return (float(p.b()) + float(p.g()) + float(p.r())) * kThird;
        case 2:
        case 6: return ((w - float(p.r())) + (w - float(p.g())) + (w - float(p.b()))) * kThird;
        case 3:
        case 7: return float(p.a()) * 3.0f * kThird;
        case 4:
        case 8: return (w - float(p.a())) * 3.0f * kThird;
        default: return 0.0f;
        }
    }

    void sampleRow(const Source& input, Matte& output, int32_t y, int32_t x0, int32_t x1) override
    {
        MatteStoragePixel* out = output.placedPixel(x0, y);
        input.forEachRun(y, x0, x1, [&](const StoragePixel* p, int32_t step, int32_t count) {
            for (int32_t k = 0; k < count; ++k, p += step)
                (out++)->c[0] = store(value(*p));
        });
    }

private:
    static constexpr float kThird = 0.33333334f;

    static MatteComponent store(float v)
    {
        return Quarn::Pixel::storeComponent<MatteComponent, MatteStoragePixel::kInteger>(
            v, 0.0, MatteStoragePixel::Desc::kWhite);
    }
};
