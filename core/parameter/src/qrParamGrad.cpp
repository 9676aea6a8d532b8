#include "qrParamGrad.h"

#include "qrParamTypeName.h"

namespace Quarn::Param {

void writeGradient(std::ostream& os, const QrColGradDescription& g, const char* tag)
{
    os << "<" << tag << " cyclic=" << (g.cyclic() ? "'true'" : "'false'") << " interp="
       << (g.interpolation() == QrColGradDescription::Interpolation::cubic ? "'cubic'" : "'linear'") << ">\n";
    for (const auto& node : g.nodes()) {
        const QrPixelRGBAf& c = node.colour;
        os << "  <node value='" << double(c.r) << ' ' << double(c.g) << ' ' << double(c.b) << ' '
           << double(c.a) << ' ' << "'"
           << " position='" << double(node.position) << "'"
           << "/>\n";
    }
    os << "</" << tag << ">\n";
}

void Grad::writeXML(std::ostream& os, bool full) const
{
    os << "  <" << typeName();
    writeAttributes(os, full);
    os << ">\n";
    writeGradient(os, value_, "value");
    if (full)
        writeGradient(os, default_, "default");
    os << "  </" << typeName() << ">\n";
}

QUARN_PARAM_TYPE_NAME(Grad, "grad")

}  // namespace Quarn::Param
