#pragma once
// Param: the base of every parameter. Besides the hosted object's name and
// texts it carries four behaviour flags and a pointer to the set that holds
// it. A parameter is "hosted" when its set is bound to a host that knows its
// name; a hosted parameter reads and writes its value through the host.
#include "qrHostedObject.h"
#include "qrParamHostI.h"

#include <cstdint>
#include <ostream>
#include <string>

namespace Quarn::Param {

class ParamSet;

class Param : public HostedObject {
public:
    explicit Param(std::string name) : HostedObject(std::move(name)) { }
    ~Param() override = default;

    // Adds secret, enabled, significant and animatable to the common
    // attributes when full.
    void writeAttributes(std::ostream& os, bool full) const override;
    // Reads the hosted object's attributes, then the four flags unless the
    // owning set's definition is locked.
    void readAttributes(AttributeList& attributes) override;
    virtual void setParamSet(ParamSet* set) { paramSet_ = set; }
    virtual void parseValue(const std::string& text) = 0;
    virtual void writeXML(std::ostream& os, bool full) const = 0;
    virtual const std::string& typeName() const = 0;

    bool secret() const { return secret_; }
    void setSecret(bool on) { secret_ = on; }
    bool enabled() const { return enabled_; }
    void setEnabled(bool on) { enabled_ = on; }
    bool significant() const { return significant_; }
    void setSignificant(bool on) { significant_ = on; }
    bool animatable() const { return animatable_; }
    void setAnimatable(bool on) { animatable_ = on; }
    ParamSet* paramSet() const { return paramSet_; }

    bool isHosted() const { return hostIfHosted() != nullptr; }
    bool definitionLocked() const;

    // Key frames: answered by the host for a hosted parameter, otherwise
    // nothing happens and the answer is false or 0.
    bool paramIsAnimating() const;
    int paramNumKeys() const;
    void paramDeleteKey(double time);
    void paramDeleteKey(int keyIndex);
    void paramDeleteAllKeys();
    double paramKeyTime(int keyIndex) const;
    bool paramFindKey(double time, int32_t a, int32_t b) const;
    void paramSetKey(double time);

protected:
    // The host when this parameter is hosted, else null.
    HostI* hostIfHosted() const;

private:
    bool secret_ = false;
    bool enabled_ = true;
    bool significant_ = true;
    bool animatable_ = true;
    ParamSet* paramSet_ = nullptr;
};

}  // namespace Quarn::Param

namespace Quarn {
template <> struct HostedTypeName<Param::Param> {
    static constexpr const char* value = "class Quarn::Param::Param";
};
}  // namespace Quarn
