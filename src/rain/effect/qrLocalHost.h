#pragma once
// A host for running the rain effect inside another program (a video filter,
// a test): it owns no parameters — the effect answers from its own parameter
// set — and gives the frame's time and geometry from plain fields, the output
// image from a texture it is handed, and the clips from textures.
#include "qrClip.h"
#include "qrException.h"
#include "effect/qrRainPipeline.h"
#include "qrWrapperHost.h"

#include <functional>
#include <optional>

namespace Quarn::Wrapper {

class LocalHost : public HostI {
public:
    double time = 0.0;
    double frameRate = 25.0;
    double pixelAspect = 1.0;
    double downsampleX = 1.0;
    double downsampleY = 1.0;
    int32_t premultiplied = 1;
    std::optional<QrRectI> extent;  // the whole output when unset
    QrInterruptRecord* interrupt = nullptr;

    // The image the effect renders into (shared, not copied); not owned.
    template <class S, class W> void setOutput(QrTexture<S, W>* output)
    {
        width_ = output->width();
        height_ = output->height();
        output_ = [output](QrTexIndexer* dest) {
            auto* d = dynamic_cast<QrTexture<S, W>*>(dest);
            if (d)
                *d = *output;
            return d != nullptr;
        };
    }

    double getTime() override { return time; }
    double getFrameRate() override { return frameRate; }
    double getPixelAspectRatio() override { return pixelAspect; }
    void getDownsample(double& x, double& y) override
    {
        x = downsampleX;
        y = downsampleY;
    }
    void getImageSize(int32_t& width, int32_t& height) override
    {
        width = width_;
        height = height_;
    }
    QrRectI getOutputExtent() override { return extent.value_or(QrRectI {0, 0, width_ - 1, height_ - 1}); }
    int32_t getPremultiplicationState() override { return premultiplied; }
    QrInterruptRecord* getInterruptRecord() override { return interrupt; }
    bool fetchOutputImageRaw(QrTexIndexer* dest) override { return output_ && output_(dest); }
    int32_t forwardPopupMapping(const std::string&, int32_t position) override { return position; }
    void sendMessage(Message::Severity, const std::string&, const std::string&) override { }

    // No parameter is the host's: the effect's own set answers.
    bool paramIsDefined(const std::string&) override { return false; }
    bool paramIsAnimating(const std::string&) override { return false; }
    int paramNumKeys(const std::string&) override { return 0; }
    void paramDeleteKey(const std::string& n, double) override { undefined(n); }
    void paramDeleteKey(const std::string& n, int) override { undefined(n); }
    void paramDeleteAllKeys(const std::string& n) override { undefined(n); }
    double paramKeyTime(const std::string& n, int) override { undefined(n); }
    bool paramFindKey(const std::string& n, double, int32_t, int32_t) override { undefined(n); }
    void paramSetKey(const std::string& n, double) override { undefined(n); }
    double getDoubleParam(const std::string& n, double) override { undefined(n); }
    Scale getScaleParam(const std::string& n, double) override { undefined(n); }
    Angle getAngleParam(const std::string& n, double) override { undefined(n); }
    int getIntParam(const std::string& n, double) override { undefined(n); }
    std::string& getStringParam(const std::string& n, std::string&, double) override { undefined(n); }
    bool getBoolParam(const std::string& n, double) override { undefined(n); }
    QrPixelRGBf getRGBParam(const std::string& n, double) override { undefined(n); }
    QrPixelRGBAf getRGBAParam(const std::string& n, double) override { undefined(n); }
    HvVec2 get2DDoubleParam(const std::string& n, double) override { undefined(n); }
    HvBox2 getRectDParam(const std::string& n, double) override { undefined(n); }
    QrRectI getRectIParam(const std::string& n, double) override { undefined(n); }
    bool getRotoParam(const std::string& n, int32_t, double) override { undefined(n); }
    QrColGradDescription getGradParam(const std::string& n, double) override { undefined(n); }
    void getLightParam(const std::string& n, LightBase&, double) override { undefined(n); }
    void getCameraParam(const std::string& n, CameraBase&, double) override { undefined(n); }
    double integrateDoubleParam(const std::string& n, double, double) override { undefined(n); }
    Scale integrateScaleParam(const std::string& n, double, double) override { undefined(n); }
    double differentiateDoubleParam(const std::string& n, double) override { undefined(n); }
    HvVec2 integrate2DDoubleParam(const std::string& n, double, double) override { undefined(n); }
    HvVec2 differentiate2DDoubleParam(const std::string& n, double) override { undefined(n); }
    void setDoubleParam(const std::string& n, double) override { undefined(n); }
    void setScaleParam(const std::string& n, Scale) override { undefined(n); }
    void setAngleParam(const std::string& n, Angle) override { undefined(n); }
    void setIntParam(const std::string& n, int) override { undefined(n); }
    void setStringParam(const std::string& n, const std::string&) override { undefined(n); }
    void setBoolParam(const std::string& n, bool) override { undefined(n); }
    void setRGBParam(const std::string& n, const QrPixelRGBf&) override { undefined(n); }
    void setRGBAParam(const std::string& n, const QrPixelRGBAf&) override { undefined(n); }
    void set2DDoubleParam(const std::string& n, const HvVec2&) override { undefined(n); }
    void setRectDParam(const std::string& n, const HvBox2&) override { undefined(n); }
    void setRectIParam(const std::string& n, const QrRectI&) override { undefined(n); }
    void setRotoParam(const std::string& n, const RotoShape&) override { undefined(n); }
    void setGradParam(const std::string& n, const QrColGradDescription&) override { undefined(n); }

private:
    [[noreturn]] static void undefined(const std::string& name)
    {
        throw Exceptions::Wrapper::ParameterUndefined(
            "Quarn::Wrapper::LocalHost", "src/rain/effect/qrLocalHost.h", __LINE__, name);
    }

    int32_t width_ = 0;
    int32_t height_ = 0;
    std::function<bool(QrTexIndexer*)> output_;
};

// A clip over a texture of depth D: fetched as D's ARGB texture it shares the
// image; fetched as D's single-channel texture it gives the alpha.
template <class D> class TextureClip : public Clip {
public:
    TextureClip(std::string name, const typename D::Texture& texture)
        : Clip(std::move(name)), texture_(texture)
    {
    }

    bool isConnected() override { return texture_.hasData(); }
    void fetchImageRaw(double, QrTexIndexer* dest) override
    {
        if (auto* argb = dynamic_cast<typename D::Texture*>(dest)) {
            *argb = texture_;
        } else if (auto* single = dynamic_cast<typename D::MatteTexture*>(dest)) {
            copyAlpha(*single);
        } else {
            throw Exceptions::Wrapper::FetchImageFailed("Quarn::Wrapper::TextureClip::fetchImageRaw",
                "src/rain/effect/qrLocalHost.h", __LINE__, "unknown texture pixel type");
        }
    }

private:
    void copyAlpha(typename D::MatteTexture& dest) const
    {
        dest = D::MatteTexture::allocateLike(texture_);
        typename D::MatteStorage edge;
        edge[0] = texture_.edgeColour().a();
        dest.setEdgeColour(edge);
        const QrTexAxis &x = texture_.xAxis(), &y = texture_.yAxis();
        for (int32_t j = y.windowFirst; j <= y.windowLast; ++j) {
            const auto* in = texture_.rowStart(j);
            auto* out = dest.rowStart(j);
            for (int32_t i = 0; i < x.windowCount; ++i)
                out[i][0] = in[i].a();
        }
    }

    typename D::Texture texture_;
};

}  // namespace Quarn::Wrapper
