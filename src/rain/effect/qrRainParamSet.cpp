#include "effect/qrRainParamSet.h"

#include "qrParams.h"
#include "effect/qrRainParamTable.h"

#include <numbers>
#include <string_view>

namespace Quarn::Wrapper::Rain {

namespace {

namespace P = Quarn::Param;
using ParamRef = auto_ref<P::Param>;

template <class P> auto_ref<P> named(const RainHostParam& row)
{
    auto_ref<P> p(new P(row.key));
    p->setLabel(row.label[0] ? row.label : (row.checkBoxText ? row.checkBoxText : ""));
    return p;
}

// Sets default, value and ranges of a slider-like parameter in internal
// units (host value x factor).
template <class P, class V> void setRange(P& p, const RainHostParam& row, V factor)
{
    p.setDefault(V(row.defaultValue * factor));
    p.setValue(V(row.defaultValue * factor));
    p.setMin(V(row.validMin * factor));
    p.setMax(V(row.validMax * factor));
    p.setVisualMin(V(row.sliderMin * factor));
    p.setVisualMax(V(row.sliderMax * factor));
}

ParamRef makeChoice(const RainHostParam& row)
{
    auto_ref<P::Choice> c = named<P::Choice>(row);
    const auto table = rainPopupTable(row);
    std::string_view rest = row.choices;
    for (const auto& [position, value] : table) {
        const size_t bar = rest.find('|');
        c->addOption(std::string(rest.substr(0, bar)), "", value);
        rest = bar == std::string_view::npos ? std::string_view() : rest.substr(bar + 1);
    }
    c->setDefaultIndex(row.popupDefault - 1);
    c->setCurrent(row.popupDefault - 1);
    return c;
}

ParamRef makeColour(const RainHostParam& row)
{
    auto_ref<P::RGBAColour> c = named<P::RGBAColour>(row);
    const HostColour8& d = row.colourDefault;
    const QrPixelRGBAf colour {d.red / 255.0f, d.green / 255.0f, d.blue / 255.0f, d.alpha / 255.0f};
    c->setDefault(colour);
    c->setValue(colour);
    return c;
}

ParamRef makeAngle(const RainHostParam& row)
{
    auto_ref<P::Angle> a = named<P::Angle>(row);
    const double radians = row.defaultValue * std::numbers::pi / 180.0;
    a->setDefault(radians);
    a->setValue(radians);
    return a;
}

template <class P, class V> ParamRef makeRanged(const RainHostParam& row, V factor)
{
    auto_ref<P> p = named<P>(row);
    setRange(*p, row, factor);
    return p;
}

ParamRef makeFlag(const RainHostParam& row)
{
    auto_ref<P::Bool> b = named<P::Bool>(row);
    b->setDefault(row.defaultValue != 0.0);
    b->setValue(row.defaultValue != 0.0);
    return b;
}

ParamRef makeParam(const RainHostParam& row)
{
    switch (row.internal) {
    case InternalType::integer: return makeRanged<P::Int>(row, 1);
    case InternalType::number: return makeRanged<P::Double>(row, 1.0);
    case InternalType::scale: return makeRanged<P::Scale>(row, 0.01);
    case InternalType::angle: return makeAngle(row);
    case InternalType::choice: return makeChoice(row);
    case InternalType::rgba: return makeColour(row);
    case InternalType::flag: return makeFlag(row);
    case InternalType::none: break;
    }
    return {};
}

}  // namespace

void declareRainParameters(Quarn::Param::ParamSet& set)
{
    for (const RainHostParam& row : rainHostParams())
        if (ParamRef p = makeParam(row))
            set.addParam(p);
}

const std::array<EffectDescription::Entry, 8>& EffectDescription::entries()
{
    static const std::array<Entry, 8> list = {{
        {"seed", "int"},
        {"dropLength", "double"},
        {"angle", "angle"},
        {"intensity", "scale"},
        {"density", "scale"},
        {"minThresh", "scale"},
        {"maxThresh", "scale"},
        {"useMatte", "bool"},
    }};
    return list;
}

}  // namespace Quarn::Wrapper::Rain
