#include "qrOfxClipImage.h"

#include "qrOfxSuites.h"

namespace Quarn::Ofx {

namespace {

Alpha alphaOf(const std::string& state)
{
    if (state == Value::opaque)
        return Alpha::opaque;
    return state == Value::unpremultiplied ? Alpha::straight : Alpha::premultiplied;
}

}  // namespace

ClipImage::ClipImage(OfxImageEffectHandle instance, const char* clip, double time, bool optional)
{
    OfxImageClipHandle handle = nullptr;
    OfxPropertySetHandle clipProps = nullptr;
    const bool defined = suites().effect->clipGetHandle(instance, clip, &handle, &clipProps) == Status::ok;
    const bool connected = defined && (!clipProps || Props(clipProps).getInt(Prop::clipConnected, 1) != 0);
    if (connected && suites().effect->clipGetImage(handle, time, nullptr, &image_) != Status::ok)
        image_ = nullptr;
    if (!image_) {
        if (optional)
            return;
        throw Failure(Status::failed, std::string("the host gave no \"") + clip + "\" image");
    }
    try {
        readProperties(clip);
    } catch (...) {
        suites().effect->clipReleaseImage(image_);
        image_ = nullptr;
        throw;
    }
}

ClipImage::~ClipImage()
{
    if (image_)
        suites().effect->clipReleaseImage(image_);
}

void ClipImage::readProperties(const char* clip)
{
    const Props p(image_);
    data_ = p.getPointer(Prop::imageData);
    rowBytes_ = p.getInt(Prop::imageRowBytes);
    const bool hasBounds = p.getRect(Prop::imageBounds, bounds_);
    depth_ = p.getString(Prop::pixelDepth);
    const std::string components = p.getString(Prop::components);
    channels_ = components == Value::componentsRGB ? 3 : 4;
    alpha_ = channels_ == 3 ? Alpha::opaque : alphaOf(p.getString(Prop::premultiplication));
    pixelAspect_ = p.getDouble(Prop::pixelAspectRatio, 1.0);
    const std::string name(clip);
    if (!data_ || !hasBounds || bounds_.x2 < bounds_.x1 || bounds_.y2 < bounds_.y1)
        throw Failure(Status::errImageFormat, "the \"" + name + "\" image has no pixels or no bounds");
    if (components != Value::componentsRGBA && components != Value::componentsRGB)
        throw Failure(Status::errImageFormat, "the \"" + name + "\" image has components " + components +
                ": Nimbrel renders RGBA and RGB");
}

}  // namespace Quarn::Ofx
