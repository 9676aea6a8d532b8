#pragma once
// The operations through which parameters reach a host application. A
// parameter set bound to a host calls these by parameter name (the internal
// key); times are in the host's frames.
#include "qrGradDescription.h"
#include "qrHostValues.h"
#include "qrParamUnits.h"
#include "qrParamValueTypes.h"

#include <cstdint>
#include <string>

namespace Quarn::Param {

class HostI {
public:
    virtual ~HostI() = default;

    virtual bool paramIsDefined(const std::string& name) = 0;
    virtual bool paramIsAnimating(const std::string& name) = 0;
    virtual int paramNumKeys(const std::string& name) = 0;
    virtual void paramDeleteKey(const std::string& name, double time) = 0;
    virtual void paramDeleteKey(const std::string& name, int keyIndex) = 0;
    virtual void paramDeleteAllKeys(const std::string& name) = 0;
    virtual double paramKeyTime(const std::string& name, int keyIndex) = 0;
    virtual bool paramFindKey(const std::string& name, double time, int32_t a, int32_t b) = 0;
    virtual void paramSetKey(const std::string& name, double time) = 0;

    virtual double getDoubleParam(const std::string& name, double time) = 0;
    virtual Quarn::Scale getScaleParam(const std::string& name, double time) = 0;
    virtual Quarn::Angle getAngleParam(const std::string& name, double time) = 0;
    virtual int getIntParam(const std::string& name, double time) = 0;
    virtual std::string& getStringParam(const std::string& name, std::string& out, double time) = 0;
    virtual bool getBoolParam(const std::string& name, double time) = 0;
    virtual QrPixelRGBf getRGBParam(const std::string& name, double time) = 0;
    virtual QrPixelRGBAf getRGBAParam(const std::string& name, double time) = 0;
    virtual HvVec2 get2DDoubleParam(const std::string& name, double time) = 0;
    virtual HvBox2 getRectDParam(const std::string& name, double time) = 0;
    virtual QrRectI getRectIParam(const std::string& name, double time) = 0;
    virtual bool getRotoParam(const std::string& name, int32_t arg, double time) = 0;
    virtual QrColGradDescription getGradParam(const std::string& name, double time) = 0;
    virtual void getLightParam(const std::string& name, LightBase& light, double time) = 0;
    virtual void getCameraParam(const std::string& name, CameraBase& camera, double time) = 0;

    virtual double integrateDoubleParam(const std::string& name, double t0, double t1) = 0;
    virtual Quarn::Scale integrateScaleParam(const std::string& name, double t0, double t1) = 0;
    virtual double differentiateDoubleParam(const std::string& name, double time) = 0;
    virtual HvVec2 integrate2DDoubleParam(const std::string& name, double t0, double t1) = 0;
    virtual HvVec2 differentiate2DDoubleParam(const std::string& name, double time) = 0;

    virtual void setDoubleParam(const std::string& name, double value) = 0;
    virtual void setScaleParam(const std::string& name, Quarn::Scale value) = 0;
    virtual void setAngleParam(const std::string& name, Quarn::Angle value) = 0;
    virtual void setIntParam(const std::string& name, int value) = 0;
    virtual void setStringParam(const std::string& name, const std::string& value) = 0;
    virtual void setBoolParam(const std::string& name, bool value) = 0;
    virtual void setRGBParam(const std::string& name, const QrPixelRGBf& value) = 0;
    virtual void setRGBAParam(const std::string& name, const QrPixelRGBAf& value) = 0;
    virtual void set2DDoubleParam(const std::string& name, const HvVec2& value) = 0;
    virtual void setRectDParam(const std::string& name, const HvBox2& value) = 0;
    virtual void setRectIParam(const std::string& name, const QrRectI& value) = 0;
    virtual void setRotoParam(const std::string& name, const RotoShape& value) = 0;
    virtual void setGradParam(const std::string& name, const QrColGradDescription& value) = 0;
};

}  // namespace Quarn::Param
