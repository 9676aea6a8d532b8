#pragma once
// A push button: a control without a value.
#include "qrParam.h"

namespace Quarn::Param {

class PushButton : public Param {
public:
    explicit PushButton(std::string name) : Param(std::move(name)) { }
    void parseValue(const std::string&) override { }
    void writeXML(std::ostream& os, bool full) const override;
    const std::string& typeName() const override;
};

}  // namespace Quarn::Param
