#include "qrFrei0rFilter.h"

#include "qrFrei0rMotion.h"
#include "effect/qrFrameTextures.h"
#include "effect/qrRainKeys.h"

#include <cstdint>

namespace Quarn::Frei0r {

namespace {

bool isChoice(int index)
{
    return index >= 0 && index < kFilterParamCount && filterParams()[index].mapping == Mapping::choice;
}

bool isNumber(int index)
{
    return index >= 0 && index < kFilterParamCount && !isChoice(index);
}

}  // namespace

Filter::Filter(int32_t width, int32_t height, TimeUnit unit)
    : source_(FrameTexture::allocate(width, height)), unit_(unit)
{
    // frei0r frames are whole pictures: no downsampling, square pixels.
    host_.pixelAspect = 1.0;
    for (int i = 0; i < kFilterParamCount; ++i) {
        const FilterParam& p = filterParams()[i];
        if (p.mapping == Mapping::choice)
            setText(i, p.defaultText);
        else
            setNumber(i, p.defaultValue);
    }
}

void Filter::setNumber(int index, double value)
{
    if (!isNumber(index))
        return;
    const FilterParam& p = filterParams()[index];
    const double internal = internalValue(p, value);
    numbers_[index] = value;
    if (p.mapping == Mapping::rate) {
        frameRate_ = internal;
        host_.frameRate = internal;
        return;
    }
    if (setMotionValue(motion_, p.key, internal)) {
        effect_.setMotion(motion_);
        return;
    }
    switch (p.mapping) {
    case Mapping::fraction: effect_.setScaleParam(p.key, Quarn::Scale(internal)); break;
    case Mapping::angle: effect_.setAngleParam(p.key, Quarn::Angle(internal)); break;
    case Mapping::seed: effect_.setIntParam(p.key, int(internal)); break;
    default: effect_.setDoubleParam(p.key, internal); break;
    }
}

double Filter::number(int index) const
{
    return isNumber(index) ? numbers_[index] : 0.0;
}

void Filter::setText(int index, const char* text)
{
    if (!isChoice(index) || !text)
        return;
    const FilterParam& p = filterParams()[index];
    if (const std::optional<int32_t> value = choiceValue(p, text)) {
        effect_.setIntParam(p.key, *value);
        texts_[index] = text;
    }
}

const char* Filter::text(int index) const
{
    return isChoice(index) ? texts_[index].c_str() : "";
}

void Filter::update(double time, const uint32_t* in, uint32_t* out)
{
    unpackRGBA(in, source_);
    output_ = FrameTexture(width(), height(), out, std::ptrdiff_t(width()) * 4);
    host_.setOutput(&output_);
    host_.time = videoFrame(time, unit_, frameRate_).value_or(framesRendered_);
    attachClips();
    effect_.render(Quarn::Wrapper::RainEffect::Depth::eight);
    packRGBA(output_, out);
    framesRendered_ = framesRendered_ < INT32_MAX ? framesRendered_ + 1 : 0;
}

// "Source" is the frame with its crops; "Matte" is the frame too, so that
// the source-based mattes (which need a connected matte layer) work.
void Filter::attachClips()
{
    namespace Key = Quarn::Wrapper::Rain::Key;
    FrameTexture cropped = source_;
    Quarn::Rain::applyCrops(cropped, Quarn::Rain::readCrops(effect_, Key::sourceCrops, 0.0), false);
    using Clip = Quarn::Wrapper::TextureClip<QrDepth8>;
    effect_.attachClip(Quarn::auto_ref<Quarn::Wrapper::Clip>(new Clip(Key::sourceClip, cropped)));
    effect_.attachClip(Quarn::auto_ref<Quarn::Wrapper::Clip>(new Clip(Key::matteClip, source_)));
}

}  // namespace Quarn::Frei0r
