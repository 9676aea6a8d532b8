#pragma once
// A colour gradient parameter. Its value reaches a host only through the
// parameter set's gradient operations.
#include "qrGradDescription.h"
#include "qrParam.h"

namespace Quarn::Param {

class Grad : public Param {
public:
    explicit Grad(std::string name) : Param(std::move(name)) { }

    // A gradient has no text form; the text is ignored.
    void parseValue(const std::string&) override { }
    // The value gradient under "value", and when full the default under
    // "default", inside a "grad" element.
    void writeXML(std::ostream& os, bool full) const override;
    const std::string& typeName() const override;

    const QrColGradDescription& defaultValue() const { return default_; }
    void setDefault(const QrColGradDescription& g) { default_ = g; }
    const QrColGradDescription& value() const { return value_; }
    void setValue(const QrColGradDescription& g) { value_ = g; }

private:
    QrColGradDescription default_;
    QrColGradDescription value_;
};

// Writes one gradient as an element named `tag`.
void writeGradient(std::ostream& os, const QrColGradDescription& g, const char* tag);

}  // namespace Quarn::Param
