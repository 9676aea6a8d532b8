#pragma once
// One image of a clip at one time, held for the length of a render and given
// back to the host when it goes.
#include "qrOfxApi.h"
#include "qrOfxPixels.h"

#include <string>

namespace Quarn::Ofx {

class ClipImage {
public:
    // An optional clip that the context lacks or that is not connected is
    // no image; a required one throws a Failure.
    ClipImage(OfxImageEffectHandle instance, const char* clip, double time, bool optional);
    ~ClipImage();
    ClipImage(const ClipImage&) = delete;
    ClipImage& operator=(const ClipImage&) = delete;

    bool present() const { return image_ != nullptr; }
    const std::string& depth() const { return depth_; }
    double pixelAspect() const { return pixelAspect_; }

    template <class C> HostImage<C> view() const
    {
        HostImage<C> v;
        v.data = data_;
        v.rowBytes = rowBytes_;
        v.bounds = bounds_;
        v.channels = channels_;
        v.alpha = alpha_;
        return v;
    }

private:
    void readProperties(const char* clip);

    OfxPropertySetHandle image_ = nullptr;
    void* data_ = nullptr;
    std::ptrdiff_t rowBytes_ = 0;
    OfxRectI bounds_ {0, 0, 0, 0};
    int channels_ = 4;
    Alpha alpha_ = Alpha::premultiplied;
    std::string depth_;
    double pixelAspect_ = 1.0;
};

}  // namespace Quarn::Ofx
