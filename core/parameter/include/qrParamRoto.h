#pragma once
// A roto shape parameter: it holds no value of its own; a host that knows it
// answers the set's roto operations.
#include "qrParam.h"

namespace Quarn::Param {

class Roto : public Param {
public:
    explicit Roto(std::string name) : Param(std::move(name)) { }
    void parseValue(const std::string&) override { }
    void writeXML(std::ostream& os, bool full) const override;
    const std::string& typeName() const override;
};

}  // namespace Quarn::Param
