#pragma once
// The After Effects host adapter: the generic host interface over one host
// command. It maps the effect's internal keys to host parameter indices
// (and popup positions to internal values), answers value reads at the
// current time from a cache that the render driver fills, checks parameters
// out at other times, converts units both ways and writes values back into
// the command's parameter list. One adapter lives for one command, on the
// command's thread.
#include "qrAEParamStream.h"
#include "qrAESuite.h"
#include "qrClip.h"
#include "qrWrapperHost.h"

#include <AE_Effect.h>

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

class QrTexIndexer;

namespace Quarn::AfterEffects {
class InterruptChecker;
}

namespace Quarn::AfterEffects::Wrapper {

// Parameter type codes as the rest of the system sees them.
enum ParamTypeCode : int32_t {
    kTypeBool = 1,
    kTypeDouble = 3,
    kTypeInt = 4,
    kTypeRGB = 5,
    kTypeRGBA = 6,
    kTypeChoice = 7,
    kTypeDouble2 = 11,
    kTypeScale = 13,
    kTypeAngle = 15,
};

// (host menu position k, internal value v) pairs, positions 0-based.
using PopupTable = std::vector<std::pair<int32_t, int32_t>>;

// One line of a preset file: key, type code and the value in internal units
// (up to four components).
struct PresetValue {
    std::string key;
    int32_t type = 0;
    double value[4] = {0, 0, 0, 0};
};

// The working values an effect instance keeps between commands.
using InstanceData = std::array<int32_t, 3>;

class Host : public Quarn::Wrapper::HostI {
public:
    // For render commands: NullPointer ("in_data", "out_data", "params",
    // "output") when one is missing.
    Host(PF_InData* in, PF_OutData* out, PF_ParamDef* params[], PF_LayerDef* output,
        InterruptChecker* checker);
    // For commands without an output (parameter changes, UI updates).
    Host(PF_InData* in, PF_OutData* out, PF_ParamDef* params[]);
    ~Host() override;
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // --- mappings --------------------------------------------------------
    void addParamMapping(int32_t index, const std::string& key, int32_t type, PopupTable popup = {});
    void addClipMapping(const std::string& name, int32_t layerIndex);
    // Every internal key and both clips of the rain effect's host table.
    void bindRainMappings();

    int32_t getParamID(const std::string& key) const;
    // The command's definition of the key's parameter (its value at the
    // current time); null when the command carries none.
    PF_ParamDef* getParam(const std::string& key) const;
    int32_t getParameterType(const std::string& key) const;
    int32_t getClipID(const std::string& name) const;
    int32_t getForwardPopupMapping(const std::string& key, int32_t position) const;
    int32_t getBackwardPopupMapping(const std::string& key, int32_t value) const;
    // Checks parameter `index` out at `time` (frames) into `def`;
    // ParamCheckoutFailed, or InterruptedCritical on a user cancel. The
    // caller checks it in.
    void checkoutAEParam(int32_t index, double time, PF_ParamDef& def) const;
    void checkinAEParam(PF_ParamDef& def) const;

    // Fills the value cache with every mapped parameter of host index 2 to
    // 38 at the current time, in index order; by checkout when `checkout`,
    // otherwise from the command's parameter list.
    void captureValues(bool checkout);
    bool isCached(int32_t index) const { return cache_.count(index) != 0; }

    // The values a preset file lists, in key order.
    std::vector<PresetValue> presetValues();

    // --- the instance and its frames --------------------------------------
    // The instance's working values, kept in its live sequence record from
    // command to command (flattening keeps none); NullSequenceData when the
    // command carries no live record.
    void setInstanceData(const InstanceData& values);
    InstanceData getInstanceData() const;
    // The frames, first to last, the effect will fetch from the clip `name`
    // besides the current one; ClipUndefined for an unmapped clip.
    void setFramesNeeded(const std::string& clip, double first, double last);
    bool frameIsNeeded(int32_t layerIndex, double time) const;
    // The frames of the effect's layer, from 0 to the last one its
    // duration holds; the layers an effect checks out share them.
    Quarn::Wrapper::FrameRange getLayerFrameRange() const;

    // --- the output and clips -------------------------------------------
    // The texture that wraps the output world (set by the render driver).
    void setOutputTexture(QrTexIndexer* output) { outputTexture_ = output; }
    PF_InData* inData() const { return in_; }
    PF_OutData* outData() const { return out_; }
    PF_ParamDef** params() const { return params_; }
    PF_LayerDef* output() const { return output_; }

    // Gives back every suite the adapter acquired; SuiteFailed ("Failed to
    // release suite.") when the host refuses one.
    void releaseSuites();
    // Asks the host to redraw the control of parameter `index` from `def`.
    void updateParamUI(int32_t index, const PF_ParamDef& def);

    // --- Quarn::Wrapper::HostI ------------------------------------------
    double getTime() override;
    double getFrameRate() override;
    double getPixelAspectRatio() override;
    void getDownsample(double& x, double& y) override;
    void getImageSize(int32_t& width, int32_t& height) override;
    QrRectI getOutputExtent() override;
    int32_t getPremultiplicationState() override { return 1; }
    QrInterruptRecord* getInterruptRecord() override;
    bool fetchOutputImageRaw(QrTexIndexer* dest) override;
    int32_t forwardPopupMapping(const std::string& key, int32_t position) override
    {
        return getForwardPopupMapping(key, position);
    }
    void sendMessage(Message::Severity severity, const std::string& title, const std::string& text) override;

    bool paramIsDefined(const std::string& name) override;
    bool paramIsAnimating(const std::string& name) override;
    int paramNumKeys(const std::string& name) override;
    void paramDeleteKey(const std::string& name, double time) override;
    void paramDeleteKey(const std::string& name, int keyIndex) override;
    void paramDeleteAllKeys(const std::string& name) override;
    double paramKeyTime(const std::string& name, int keyIndex) override;
    // `direction` < 0: is there a key before `time`; > 0: after it; 0: at
    // it. With `atTimeToo` non-zero a key at `time` counts either way.
    bool paramFindKey(const std::string& name, double time, int32_t direction, int32_t atTimeToo) override;
    void paramSetKey(const std::string& name, double time) override;

    double getDoubleParam(const std::string& name, double time) override;
    Quarn::Scale getScaleParam(const std::string& name, double time) override;
    Quarn::Angle getAngleParam(const std::string& name, double time) override;
    int getIntParam(const std::string& name, double time) override;
    std::string& getStringParam(const std::string& name, std::string& out, double time) override;
    bool getBoolParam(const std::string& name, double time) override;
    QrPixelRGBf getRGBParam(const std::string& name, double time) override;
    QrPixelRGBAf getRGBAParam(const std::string& name, double time) override;
    HvVec2 get2DDoubleParam(const std::string& name, double time) override;
    HvBox2 getRectDParam(const std::string& name, double time) override;
    QrRectI getRectIParam(const std::string& name, double time) override;
    bool getRotoParam(const std::string& name, int32_t arg, double time) override;
    QrColGradDescription getGradParam(const std::string& name, double time) override;
    void getLightParam(const std::string& name, LightBase& light, double time) override;
    void getCameraParam(const std::string& name, CameraBase& camera, double time) override;

    double integrateDoubleParam(const std::string& name, double t0, double t1) override;
    Quarn::Scale integrateScaleParam(const std::string& name, double t0, double t1) override;
    double differentiateDoubleParam(const std::string& name, double time) override;
    HvVec2 integrate2DDoubleParam(const std::string& name, double t0, double t1) override;
    HvVec2 differentiate2DDoubleParam(const std::string& name, double time) override;
    Quarn::Scale differentiateScaleParam(const std::string& name, double time);

    void setDoubleParam(const std::string& name, double value) override;
    void setScaleParam(const std::string& name, Quarn::Scale value) override;
    void setAngleParam(const std::string& name, Quarn::Angle value) override;
    void setIntParam(const std::string& name, int value) override;
    void setStringParam(const std::string& name, const std::string& value) override;
    void setBoolParam(const std::string& name, bool value) override;
    void setRGBParam(const std::string& name, const QrPixelRGBf& value) override;
    void setRGBAParam(const std::string& name, const QrPixelRGBAf& value) override;
    void set2DDoubleParam(const std::string& name, const HvVec2& value) override;
    void setRectDParam(const std::string& name, const HvBox2& value) override;
    void setRectIParam(const std::string& name, const QrRectI& value) override;
    void setRotoParam(const std::string& name, const RotoShape& value) override;
    void setGradParam(const std::string& name, const QrColGradDescription& value) override;

private:
    struct Mapping {
        int32_t index = 0;
        int32_t type = 0;
        PopupTable popup;
    };

    const Mapping& mapping(const std::string& key, const char* function) const;
    // The mapping of `key`, which must have one of the types given.
    const Mapping& typed(const std::string& key, std::initializer_list<int32_t> types, const char* kind,
        const char* function) const;
    // The parameter's definition at `time`: the cache (or the command's list)
    // at the current time, a checkout otherwise.
    PF_ParamDef valueAt(int32_t index, double time) const;
    bool isCurrentTime(double time) const;
    // Writes a new value into the command's list and the cache.
    void store(int32_t index, const PF_ParamDefUnion& value);
    const void* suite(const char* name, A_long version, const char* function);
    template <class T> const T& suiteAs(const char* name, A_long version, const char* function)
    {
        return *static_cast<const T*>(suite(name, version, function));
    }
    // The stream of the parameter `key`, for key changes.
    ParamStream keyStream(const std::string& key, const char* function);
    // The times (frames) of the parameter's keys, in order.
    std::vector<double> keyFrames(const std::string& key);
    // After a key change: the value at the current time, read again.
    void refreshCurrentValue(const std::string& key);
    // Frame times in the host's time units.
    A_long hostTime(double frames) const;
    A_Time keyTimeOf(double frames) const;
    double frames(A_long hostTime, A_u_long scale) const;

    PF_InData* in_;
    PF_OutData* out_;
    PF_ParamDef** params_;
    PF_LayerDef* output_;
    InterruptChecker* checker_;
    QrTexIndexer* outputTexture_ = nullptr;
    std::map<std::string, Mapping> mappings_;
    std::map<std::string, int32_t> clips_;
    std::map<int32_t, Quarn::Wrapper::FrameRange> framesNeeded_;  // by layer index
    std::map<int32_t, PF_ParamDef> cache_;
    std::map<std::string, SuiteHandle> suites_;
};

}  // namespace Quarn::AfterEffects::Wrapper
