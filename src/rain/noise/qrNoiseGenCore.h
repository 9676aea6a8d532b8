#pragma once
// What the noise generators share: the seed and clamps, and the grain. With a
// grain the noise is first generated over the region grown by the grain's
// reach into a temporary wrap-edged image, and smoothed into the output at
// the finish; without one it is written straight into the output.
//
// `Derived::fillRow(P* row, int32_t count, int32_t key)` writes `count`
// generated pixels, the first with pixel key `key`, advancing the key by
// `keyStep` per pixel (QrHash::advance with the default step).
#include "qrImgProc1.h"
#include "noise/qrNoiseGrain.h"
#include "qrTexture.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

template <class P, class Derived> class QrNoiseGenCore : public QrImgProc1<QrTexture<P, P>> {
public:
    using Texture = QrTexture<P, P>;

    int32_t seed = 0;
    bool clampHigh = true;
    bool clampLow = false;
    int32_t keyStep = int32_t(QrHash::kColumnStep);
    float grainX = 0.0f, grainY = 0.0f;  // grain sizes in pixels (x in square pixels)

    explicit QrNoiseGenCore(QrInterruptRecord* record = nullptr) : QrImgProc1<Texture>(record) { }

    bool isSmoothing() const { return smoothing_; }

protected:
    void beginProcess() override
    {
        target_ = this->output();
        area_ = this->region();
        smoothing_ = grainX != 0.0f || grainY != 0.0f;
        if (!smoothing_)
            return;
        sizeX_ = std::clamp(grainX, 0.0f, 2.0f * float(this->outputWidth()));
        sizeY_ = std::clamp(grainY, 0.0f, 2.0f * float(this->outputHeight()));
        sizeX_ /= this->pixelAspect;  // grain is measured in square pixels
        const int32_t mx = int32_t(std::ceil(sizeX_)), my = int32_t(std::ceil(sizeY_));
        area_ = {area_.x0 - mx, area_.y0 - my, area_.x1 + mx, area_.y1 + my};
        QrTexIndexer geometry(area_.width(), area_.height());
        geometry.setPlacement(area_.x0, area_.y0);
        geometry.setOrigin(area_.x0, area_.y0);
        geometry.setEdgeMethods(kEdgeWrap, kEdgeWrap);
        // Throws OutOfMemory, which ends the run before any pass.
        temporary_ = Texture::allocateLike(geometry);
        target_ = &temporary_;
    }

    void processBand() override
    {
        if (!target_ || area_.isEmpty())
            return;
        int32_t first = 0, end = 0;
        this->bandRows(area_.y0, area_.y1, first, end);
        for (int32_t y = first; y < end; ++y) {
            if (this->isInterrupted())
                return;
            const int32_t key = int32_t(
                uint32_t(area_.x0) * uint32_t(keyStep) + uint32_t(y) * QrHash::kRowStep + uint32_t(seed));
            static_cast<Derived*>(this)->fillRow(target_->placedPixel(area_.x0, y), area_.width(), key);
        }
    }

    void endProcess() override
    {
        if (smoothing_ && !this->isInterrupted())
            QrNoiseGrain::blur(temporary_, *this->output(), this->region(), sizeX_, sizeY_);
        temporary_.releaseData();
        target_ = nullptr;
    }

    int32_t nextKey(int32_t key) const { return int32_t(uint32_t(key) + uint32_t(keyStep)); }
    // Applies the clamp flags; `white` is the generator's top value.
    float clamped(float v, float white) const
    {
        if (clampLow && v < 0.0f)
            v = 0.0f;
        if (clampHigh && v > white)
            v = white;
        return v;
    }

private:
    bool smoothing_ = false;
    float sizeX_ = 0.0f, sizeY_ = 0.0f;
    QrRect area_;
    Texture temporary_;
    Texture* target_ = nullptr;
};
