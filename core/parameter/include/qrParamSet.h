#pragma once
// ParamSet: an effect's parameters and the one place through which values
// are read and written, by name at a time.
//
// A local set answers from its own parameters, asking the bound host for
// each parameter the host knows. A pass-through set (forwardToHost) sends
// every typed value call straight to its host, so during a render all
// values come from the host application while the parameters held here
// carry the definitions (types, ranges, labels, options).
//
// Derived sets (the effect classes) usually override getTime(); a class that
// overrides one form of an overloaded operation should bring the others back
// with `using ParamSet::name;`.
#include "qrHostedObject.h"
#include "qrNamedParamSetI.h"
#include "qrParam.h"

namespace Quarn::Param {

class ParamSet : public NamedParamSetI {
public:
    // Reads parameter-set XML documents into a set. The XML layer installs
    // one with setXMLReader; without it the parseXML operations throw
    // FunctionUndefined.
    class XMLReaderI {
    public:
        virtual ~XMLReaderI() = default;
        virtual void parse(ParamSet& set, const std::string& document) = 0;
        virtual void parse(ParamSet& set, std::FILE* file) = 0;
    };
    static void setXMLReader(XMLReaderI* reader);
    static XMLReaderI* xmlReader();

    explicit ParamSet(bool forwardToHost = false) : forwardToHost_(forwardToHost) { }
    ParamSet(const ParamSet&) = delete;
    ParamSet& operator=(const ParamSet&) = delete;
    // Detaches the parameters from the set before letting them go, so a
    // parameter that outlives its set is no longer hosted.
    ~ParamSet() override;

    bool paramIsDefined(const std::string& name) override;
    bool paramIsAnimating(const std::string& name) override;
    int paramNumKeys(const std::string& name) override;
    void paramDeleteKey(const std::string& name, double time) override;
    void paramDeleteKey(const std::string& name, int keyIndex) override;
    void paramDeleteAllKeys(const std::string& name) override;
    double paramKeyTime(const std::string& name, int keyIndex) override;
    bool paramFindKey(const std::string& name, double time, int32_t a, int32_t b) override;
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
    bool getRotoParam(const std::string& name, double time, int32_t arg) override;
    QrColGradDescription getGradParam(const std::string& name, double time) override;
    void getLightParam(const std::string& name, LightBase& light, double time) override;
    void getCameraParam(const std::string& name, CameraBase& camera, double time) override;

    double integrateDoubleParam(const std::string& name, double t0, double t1) override;
    Quarn::Scale integrateScaleParam(const std::string& name, double t0, double t1) override;
    double differentiateDoubleParam(const std::string& name, double time) override;
    HvVec2 integrate2DDoubleParam(const std::string& name, double t0, double t1) override;
    HvVec2 differentiate2DDoubleParam(const std::string& name, double time) override;

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

    // Binds (or, with null, unbinds) the host and notifies every parameter
    // with 1 or 0.
    void setHost(HostI* host) override;
    bool definitionLocked() const override { return definitionLock_; }
    void setDefinitionLock(bool on) override { definitionLock_ = on; }
    void addParam(auto_ref<Param> param) override;
    void aliasParam(const std::string& alias, const std::string& original) override;
    void removeParam(const std::string& name) override;
    double getTime() override { return 0.0; }

    Quarn::Scale getScaleParam(const std::string& name) override;
    Quarn::Angle getAngleParam(const std::string& name) override;
    int getIntParam(const std::string& name) override;
    std::string& getStringParam(const std::string& name, std::string& out) override;
    bool getBoolParam(const std::string& name) override;
    QrPixelRGBf getRGBParam(const std::string& name) override;
    QrPixelRGBAf getRGBAParam(const std::string& name) override;
    HvVec2 get2DDoubleParam(const std::string& name) override;
    HvBox2 getRectDParam(const std::string& name) override;
    QrRectI getRectIParam(const std::string& name) override;
    bool getRotoParam(const std::string& name, int32_t arg) override;
    QrColGradDescription getGradParam(const std::string& name) override;
    void getLightParam(const std::string& name, LightBase& light) override;
    void getCameraParam(const std::string& name, CameraBase& camera) override;

    void parseXML(const std::string& document) override;
    // Opens the file in text mode (FileOpen when it cannot) and reads it.
    void parseXMLFile(const std::string& path) override;
    void parseXML(std::FILE* file) override;
    // "<paramset>", every parameter in the order added, "</paramset>".
    std::ostream& writeXML(std::ostream& os, bool full) override;

    // The parameter of that name (or alias) as a U. An unknown name throws
    // ParamUndefined; another type answers false, or throws ParamWrongType
    // when mustMatch.
    template <class U> bool getAndCastParam(auto_ref<U>& out, const std::string& name, bool mustMatch) const;

    HostI* host() const { return host_; }
    bool forwardsToHost() const { return forwardToHost_; }
    const HostedSet<Param>& params() const { return params_; }
    // The parameter of that name or alias, or null.
    Param* findParam(const std::string& name) const { return params_.hsGetObject(name, false); }

private:
    template <class U> auto_ref<U> lookup(const std::string& name) const
    {
        auto_ref<U> p;
        getAndCastParam(p, name, true);
        return p;
    }
    // The host of a pass-through call; NullPointer when none is bound.
    HostI& forwardHost(const char* function) const;

    HostI* host_ = nullptr;
    HostedSet<Param> params_;
    bool definitionLock_ = false;
    bool forwardToHost_;
};

template <class U>
bool ParamSet::getAndCastParam(auto_ref<U>& out, const std::string& name, bool mustMatch) const
{
    static constexpr const char* kFunction = "Quarn::Param::ParamSet::getAndCastParam";
    static constexpr const char* kFile = "core/parameter/include/qrParamSet";
    try {
        return params_.hsGetAndCastObject(out, name, mustMatch);
    } catch (const Exceptions::ObjectUndefined&) {
        throw Exceptions::Param::ParamUndefined(kFunction, kFile, 306, name);
    } catch (const Exceptions::WrongType&) {
        throw Exceptions::Param::ParamWrongType(kFunction, kFile, 309, name);
    }
}

}  // namespace Quarn::Param
