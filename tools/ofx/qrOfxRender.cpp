// One frame through the rain effect: the host's images wrapped or copied
// into textures, the controls read at the frame's time, the effect run over
// a local host that gives it the time, scale, pixel aspect and window.
#include "qrOfxActions.h"
#include "qrOfxClipImage.h"
#include "qrOfxParamIO.h"
#include "qrOfxSuites.h"

#include "effect/qrFrameTextures.h"
#include "effect/qrLocalHost.h"
#include "effect/qrRainKeys.h"

#include <algorithm>
#include <memory>
#include <thread>

namespace Quarn::Ofx {

namespace {

namespace Key = Wrapper::Rain::Key;
using Depth = Wrapper::RainEffect::Depth;

// The reason an interruption records when the host asked to stop.
constexpr int32_t kHostAbort = 2000;

// Asks the host whether to stop, from the render's own thread only: worker
// threads never call the host.
struct AbortPoll {
    explicit AbortPoll(OfxImageEffectHandle instance) : instance(instance)
    {
        record.context = this;
        record.check = &AbortPoll::check;
    }
    static int32_t check(void* context, std::atomic<int32_t>* reason)
    {
        auto* self = static_cast<AbortPoll*>(context);
        const auto abort = suites().effect->abort;
        if (!abort || std::this_thread::get_id() != self->thread || !abort(self->instance))
            return 0;
        reason->store(kHostAbort);
        return 1;
    }

    QrInterruptRecord record;
    OfxImageEffectHandle instance;
    std::thread::id thread = std::this_thread::get_id();
};

struct Frame {
    Wrapper::LocalHost host;
    Wrapper::RainEffect effect {&host, false};
    OfxRectI window {0, 0, 0, 0};
};

bool sameRect(const OfxRectI& a, const OfxRectI& b)
{
    return a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2;
}

OfxRectI intersection(const OfxRectI& a, const OfxRectI& b)
{
    return {std::max(a.x1, b.x1), std::max(a.y1, b.y1), std::min(a.x2, b.x2), std::min(a.y2, b.y2)};
}

// The matte layer: the whole image, with its crops, centred on the source.
template <class D, class C> void attachMatte(Frame& f, const ClipImage& matte, int width, int height)
{
    const HostImage<C> image = matte.view<C>();
    auto texture = D::Texture::allocate(areaWidth(image.bounds), areaHeight(image.bounds));
    readArea<D>(image, image.bounds, texture);
    Rain::applyCrops(texture, Rain::readCrops(f.effect, Key::matteCrops, f.host.time), false);
    Rain::centreOn(texture, width, height);
    f.effect.attachClip(auto_ref<Wrapper::Clip>(new Wrapper::TextureClip<D>(Key::matteClip, texture)));
}

// The effect's coordinates are the source image's. Streaks and the blurs
// under them reach far across the frame, so the whole area is rendered and
// the window written; the render goes straight into the host's memory when
// the window is the whole output and exactly that area, else into a texture.
template <class D, class C>
void renderAt(Frame& f, const ClipImage& source, const ClipImage& output, const ClipImage& matte, Depth depth)
{
    const HostImage<C> in = source.view<C>(), out = output.view<C>();
    const OfxRectI area = in.bounds;
    const OfxRectI window = intersection(intersection(f.window, area), out.bounds);
    if (window.x2 <= window.x1 || window.y2 <= window.y1)
        return;
    const int width = areaWidth(area), height = areaHeight(area);
    auto sourceTexture = D::Texture::allocate(width, height);
    readArea<D>(in, area, sourceTexture);
    const bool inPlace = canWrapInPlace(out, area) && sameRect(window, area);
    typename D::Texture result = inPlace ? wrapInPlace<D>(out) : D::Texture::allocate(width, height);
    f.host.setOutput(&result);

    auto cropped = sourceTexture;
    Rain::applyCrops(cropped, Rain::readCrops(f.effect, Key::sourceCrops, f.host.time), false);
    f.effect.attachClip(auto_ref<Wrapper::Clip>(new Wrapper::TextureClip<D>(Key::sourceClip, cropped)));
    if (matte.present())
        attachMatte<D, C>(f, matte, width, height);
    f.effect.render(depth);
    writeWindow<D>(result, area, window, out);
}

void checkOutcome(const QrInterruptRecord& record)
{
    if (record.interrupted.load() == 0)
        return;
    switch (record.reason.load()) {
    case kHostAbort: throw Failure(Status::failed, "");
    case 1000:
    case 1001: throw Failure(Status::errMemory, "Nimbrel out of memory.");
    default: throw Failure(Status::failed, "the render stopped before the frame was finished");
    }
}

}  // namespace

void render(OfxImageEffectHandle instance, OfxPropertySetHandle inArgs)
{
    const Props args(inArgs);
    auto frame = std::make_unique<Frame>();
    Frame& f = *frame;
    f.host.time = args.getDouble(Prop::time);
    if (!args.getRect(Prop::renderWindow, f.window))
        throw Failure(Status::errValue, "the host gave no render window");
    f.host.downsampleX = args.getDouble(Prop::renderScale, 1.0, 0);
    f.host.downsampleY = args.getDouble(Prop::renderScale, 1.0, 1);
    OfxPropertySetHandle effectProps = nullptr;
    if (suites().effect->getPropertySet(instance, &effectProps) == Status::ok && effectProps)
        f.host.frameRate = Props(effectProps).getDouble(Prop::frameRate, f.host.frameRate);

    const ClipImage source(instance, ClipName::source, f.host.time, false);
    const ClipImage output(instance, ClipName::output, f.host.time, false);
    const ClipImage matte(instance, ClipName::matte, f.host.time, true);
    const std::string& depth = output.depth();
    if (source.depth() != depth || (matte.present() && matte.depth() != depth))
        throw Failure(Status::errImageFormat, "the images of one frame come at different depths");
    f.host.pixelAspect = source.pixelAspect();
    applyControls(readControls(instance, f.host.time), f.effect);

    AbortPoll poll(instance);
    f.host.interrupt = &poll.record;
    if (depth == Value::depthByte)
        renderAt<QrDepth8, uint8_t>(f, source, output, matte, Depth::eight);
    else if (depth == Value::depthShort)
        renderAt<QrDepth16, uint16_t>(f, source, output, matte, Depth::sixteen);
    else if (depth == Value::depthFloat)
        renderAt<QrDepthF, float>(f, source, output, matte, Depth::floating);
    else
        throw Failure(Status::errImageFormat, "the pixel depth " + depth + " is not supported");
    checkOutcome(poll.record);
}

}  // namespace Quarn::Ofx
