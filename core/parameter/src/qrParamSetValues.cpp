// The typed value operations of ParamSet. In pass-through mode each goes
// straight to the host; locally the named parameter answers, through the
// host when it is hosted (its getHostValue falls back to the stored value).
// The host knows a parameter by its own name, never by an alias of it.
#include "qrParamSet.h"

#include "qrParams.h"

namespace Quarn::Param {

namespace {
constexpr const char* kFile = "src/qrSetOfParams";
}  // namespace

double ParamSet::getDoubleParam(const std::string& name, double time)
{
    if (forwardToHost_)
        return forwardHost("Quarn::Param::ParamSet::getDoubleParam").getDoubleParam(name, time);
    return lookup<Double>(name)->getHostValue(time);
}

Quarn::Scale ParamSet::getScaleParam(const std::string& name, double time)
{
    if (forwardToHost_)
        return forwardHost("Quarn::Param::ParamSet::getScaleParam").getScaleParam(name, time);
    return Quarn::Scale(lookup<Scale>(name)->getHostValue(time));
}

Quarn::Angle ParamSet::getAngleParam(const std::string& name, double time)
{
    if (forwardToHost_)
        return forwardHost("Quarn::Param::ParamSet::getAngleParam").getAngleParam(name, time);
    return Quarn::Angle(lookup<Angle>(name)->getHostValue(time));
}

// Serves Int, Choice (the current option's value) and Bool (1 or 0).
int ParamSet::getIntParam(const std::string& name, double time)
{
    if (forwardToHost_)
        return forwardHost("Quarn::Param::ParamSet::getIntParam").getIntParam(name, time);
    auto_ref<Int> integer;
    if (getAndCastParam(integer, name, false))
        return integer->getHostValue(time);
    auto_ref<Choice> choice;
    if (getAndCastParam(choice, name, false)) {
        if (choice->isHosted())
            choice->setCurrent(host_->getIntParam(choice->name(), time));
        return choice->currentValue();
    }
    auto_ref<Bool> flag;
    if (getAndCastParam(flag, name, false))
        return flag->getHostValue(time) ? 1 : 0;
    throw Exceptions::Param::ParamUndefined("Quarn::Param::ParamSet::getIntParam", kFile, 190, name);
}

std::string& ParamSet::getStringParam(const std::string& name, std::string& out, double time)
{
    if (forwardToHost_)
        return forwardHost("Quarn::Param::ParamSet::getStringParam").getStringParam(name, out, time);
    out = lookup<String>(name)->getHostValue(time);
    return out;
}

bool ParamSet::getBoolParam(const std::string& name, double time)
{
    if (forwardToHost_)
        return forwardHost("Quarn::Param::ParamSet::getBoolParam").getBoolParam(name, time);
    return lookup<Bool>(name)->getHostValue(time);
}

QrPixelRGBf ParamSet::getRGBParam(const std::string& name, double time)
{
    if (forwardToHost_)
        return forwardHost("Quarn::Param::ParamSet::getRGBParam").getRGBParam(name, time);
    return lookup<RGBColour>(name)->getHostValue(time);
}

QrPixelRGBAf ParamSet::getRGBAParam(const std::string& name, double time)
{
    if (forwardToHost_)
        return forwardHost("Quarn::Param::ParamSet::getRGBAParam").getRGBAParam(name, time);
    return lookup<RGBAColour>(name)->getHostValue(time);
}

HvVec2 ParamSet::get2DDoubleParam(const std::string& name, double time)
{
    if (forwardToHost_)
        return forwardHost("Quarn::Param::ParamSet::get2DDoubleParam").get2DDoubleParam(name, time);
    return lookup<Double2>(name)->getHostValue(time);
}

HvBox2 ParamSet::getRectDParam(const std::string& name, double time)
{
    if (forwardToHost_)
        return forwardHost("Quarn::Param::ParamSet::getRectDParam").getRectDParam(name, time);
    return lookup<RectD>(name)->getHostValue(time);
}

QrRectI ParamSet::getRectIParam(const std::string& name, double time)
{
    if (forwardToHost_)
        return forwardHost("Quarn::Param::ParamSet::getRectIParam").getRectIParam(name, time);
    return lookup<RectI>(name)->getHostValue(time);
}

// Works through the roto parameter in both modes.
bool ParamSet::getRotoParam(const std::string& name, double time, int32_t arg)
{
    auto_ref<Roto> roto = lookup<Roto>(name);
    return roto->isHosted() && host_->getRotoParam(roto->name(), arg, time);
}

QrColGradDescription ParamSet::getGradParam(const std::string& name, double time)
{
    if (forwardToHost_)
        return forwardHost("Quarn::Param::ParamSet::getGradParam").getGradParam(name, time);
    auto_ref<Grad> grad = lookup<Grad>(name);
    return grad->isHosted() ? host_->getGradParam(grad->name(), time) : grad->value();
}

double ParamSet::integrateDoubleParam(const std::string& name, double t0, double t1)
{
    if (forwardToHost_)
        return forwardHost("Quarn::Param::ParamSet::integrateDoubleParam").integrateDoubleParam(name, t0, t1);
    return lookup<Double>(name)->integrate(t0, t1);
}

Quarn::Scale ParamSet::integrateScaleParam(const std::string& name, double t0, double t1)
{
    if (forwardToHost_)
        return forwardHost("Quarn::Param::ParamSet::integrateScaleParam").integrateScaleParam(name, t0, t1);
    return Quarn::Scale(lookup<Scale>(name)->integrate(t0, t1));
}

double ParamSet::differentiateDoubleParam(const std::string& name, double time)
{
    if (forwardToHost_)
        return forwardHost("Quarn::Param::ParamSet::differentiateDoubleParam")
            .differentiateDoubleParam(name, time);
    return lookup<Double>(name)->differentiate(time);
}

HvVec2 ParamSet::integrate2DDoubleParam(const std::string& name, double t0, double t1)
{
    if (forwardToHost_)
        return forwardHost("Quarn::Param::ParamSet::integrate2DDoubleParam")
            .integrate2DDoubleParam(name, t0, t1);
    return lookup<Double2>(name)->integrate(t0, t1);
}

HvVec2 ParamSet::differentiate2DDoubleParam(const std::string& name, double time)
{
    if (forwardToHost_)
        return forwardHost("Quarn::Param::ParamSet::differentiate2DDoubleParam")
            .differentiate2DDoubleParam(name, time);
    return lookup<Double2>(name)->differentiate(time);
}

void ParamSet::setDoubleParam(const std::string& name, double value)
{
    if (forwardToHost_)
        return forwardHost("Quarn::Param::ParamSet::setDoubleParam").setDoubleParam(name, value);
    lookup<Double>(name)->setValue(value);
}

void ParamSet::setScaleParam(const std::string& name, Quarn::Scale value)
{
    if (forwardToHost_)
        return forwardHost("Quarn::Param::ParamSet::setScaleParam").setScaleParam(name, value);
    lookup<Scale>(name)->setValue(value.value());
}

void ParamSet::setAngleParam(const std::string& name, Quarn::Angle value)
{
    if (forwardToHost_)
        return forwardHost("Quarn::Param::ParamSet::setAngleParam").setAngleParam(name, value);
    lookup<Angle>(name)->setValue(value.value());
}

// Serves Int, Choice (selects the option with that value, if any) and Bool.
void ParamSet::setIntParam(const std::string& name, int value)
{
    if (forwardToHost_)
        return forwardHost("Quarn::Param::ParamSet::setIntParam").setIntParam(name, value);
    auto_ref<Int> integer;
    if (getAndCastParam(integer, name, false))
        return integer->setValue(value);
    auto_ref<Choice> choice;
    if (getAndCastParam(choice, name, false)) {
        const int index = choice->findValue(value);
        if (index >= 0)
            choice->select(index);
        return;
    }
    auto_ref<Bool> flag;
    if (getAndCastParam(flag, name, false))
        return flag->setValue(value != 0);
    throw Exceptions::Param::ParamUndefined("Quarn::Param::ParamSet::setIntParam", kFile, 415, name);
}

void ParamSet::setStringParam(const std::string& name, const std::string& value)
{
    if (forwardToHost_)
        return forwardHost("Quarn::Param::ParamSet::setStringParam").setStringParam(name, value);
    lookup<String>(name)->setValue(value);
}

void ParamSet::setBoolParam(const std::string& name, bool value)
{
    if (forwardToHost_)
        return forwardHost("Quarn::Param::ParamSet::setBoolParam").setBoolParam(name, value);
    lookup<Bool>(name)->setValue(value);
}

void ParamSet::setRGBParam(const std::string& name, const QrPixelRGBf& value)
{
    if (forwardToHost_)
        return forwardHost("Quarn::Param::ParamSet::setRGBParam").setRGBParam(name, value);
    lookup<RGBColour>(name)->setValue(value);
}

void ParamSet::setRGBAParam(const std::string& name, const QrPixelRGBAf& value)
{
    if (forwardToHost_)
        return forwardHost("Quarn::Param::ParamSet::setRGBAParam").setRGBAParam(name, value);
    lookup<RGBAColour>(name)->setValue(value);
}

void ParamSet::set2DDoubleParam(const std::string& name, const HvVec2& value)
{
    if (forwardToHost_)
        return forwardHost("Quarn::Param::ParamSet::set2DDoubleParam").set2DDoubleParam(name, value);
    lookup<Double2>(name)->setValue(value);
}

void ParamSet::setRectDParam(const std::string& name, const HvBox2& value)
{
    if (forwardToHost_)
        return forwardHost("Quarn::Param::ParamSet::setRectDParam").setRectDParam(name, value);
    lookup<RectD>(name)->setValue(value);
}

void ParamSet::setRectIParam(const std::string& name, const QrRectI& value)
{
    if (forwardToHost_)
        return forwardHost("Quarn::Param::ParamSet::setRectIParam").setRectIParam(name, value);
    lookup<RectI>(name)->setValue(value);
}

void ParamSet::setRotoParam(const std::string& name, const RotoShape& value)
{
    auto_ref<Roto> roto = lookup<Roto>(name);
    if (roto->isHosted())
        host_->setRotoParam(roto->name(), value);
}

// Passes the gradient to the host when hosted and keeps it in any case.
void ParamSet::setGradParam(const std::string& name, const QrColGradDescription& value)
{
    auto_ref<Grad> grad = lookup<Grad>(name);
    if (grad->isHosted())
        host_->setGradParam(grad->name(), value);
    grad->setValue(value);
}

}  // namespace Quarn::Param
