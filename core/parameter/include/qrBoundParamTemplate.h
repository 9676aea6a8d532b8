#pragma once
// A parameter whose value of type T may be limited by a minimum and a
// maximum of type U (a box, for example, is bounded by points). The visual
// bounds only suggest a slider range and never clamp.
#include "qrParam.h"
#include "qrParamBounds.h"
#include "qrParamHostTransfer.h"
#include "qrParamText.h"

namespace Quarn::Param {

template <class T, class U> class BoundParamTemplate : public Param {
public:
    using ValueType = T;
    using BoundType = U;

    // Reads "default" (unless the definition is locked), the four bounds and
    // "value"; without "value", a given "default" is applied as the value.
    void readAttributes(AttributeList& attributes) override;
    // Stores the text's value as it is: no clamping, no host transfer.
    void parseValue(const std::string& text) override { Text::read(text, value_); }
    void writeXML(std::ostream& os, bool full) const override;

    // Reads a bound from text, keeping it when the text holds none.
    virtual void parseText(const std::string& text, U& bound) const { Text::read(text, bound); }
    // The host's value at a time (the stored value when there is no host).
    virtual T getHostValue(double time) const
    {
        T v = value_;
        if (HostI* host = hostIfHosted())
            HostTransfer::fetch(*host, name(), time, v);
        return v;
    }
    virtual void setHostValue(const T& v)
    {
        if (HostI* host = hostIfHosted())
            HostTransfer::push(*host, name(), v);
    }

    // Clamps to the present bounds, stores, and passes the result to the host
    // when hosted.
    void setValue(const T& v)
    {
        value_ = Bounds::clamp(v, hasMin_, min_, hasMax_, max_);
        setHostValue(value_);
    }
    const T& value() const { return value_; }
    const T& defaultValue() const { return default_; }
    void setDefault(const T& v) { default_ = v; }

    bool hasMin() const { return hasMin_; }
    const U& min() const { return min_; }
    void setMin(const U& v)
    {
        min_ = v;
        hasMin_ = true;
    }
    bool hasMax() const { return hasMax_; }
    const U& max() const { return max_; }
    void setMax(const U& v)
    {
        max_ = v;
        hasMax_ = true;
    }
    bool hasVisualMin() const { return hasVisualMin_; }
    const U& visualMin() const { return visualMin_; }
    void setVisualMin(const U& v)
    {
        visualMin_ = v;
        hasVisualMin_ = true;
    }
    bool hasVisualMax() const { return hasVisualMax_; }
    const U& visualMax() const { return visualMax_; }
    void setVisualMax(const U& v)
    {
        visualMax_ = v;
        hasVisualMax_ = true;
    }

protected:
    // The bounds start at the type's widest range but are not yet present.
    BoundParamTemplate(std::string name, const U& widestMin, const U& widestMax)
        : Param(std::move(name)),
          min_(widestMin),
          max_(widestMax),
          visualMin_(widestMin),
          visualMax_(widestMax)
    {
    }

private:
    void readBound(AttributeList& attributes, const char* key, bool& present, U& bound)
    {
        if (const std::string* text = attributes.take(key)) {
            parseText(*text, bound);
            present = true;
        }
    }
    template <class V> static void writePiece(std::ostream& os, const char* key, const V& v)
    {
        os << ' ' << key << "='";
        Text::write(os, v);
        os << "' ";
    }

    T default_ {};
    T value_ {};
    bool hasMin_ = false;
    U min_;
    bool hasMax_ = false;
    U max_;
    bool hasVisualMin_ = false;
    U visualMin_;
    bool hasVisualMax_ = false;
    U visualMax_;
};

template <class T, class U> void BoundParamTemplate<T, U>::readAttributes(AttributeList& attributes)
{
    Param::readAttributes(attributes);
    const std::string* defaultText = attributes.take("default");
    if (defaultText && !definitionLocked())
        Text::read(*defaultText, default_);
    readBound(attributes, "min", hasMin_, min_);
    readBound(attributes, "max", hasMax_, max_);
    readBound(attributes, "visualmin", hasVisualMin_, visualMin_);
    readBound(attributes, "visualmax", hasVisualMax_, visualMax_);
    if (const std::string* valueText = attributes.take("value")) {
        T v = value_;
        Text::read(*valueText, v);
        setValue(v);
    } else if (defaultText) {
        setValue(default_);
    }
}

template <class T, class U> void BoundParamTemplate<T, U>::writeXML(std::ostream& os, bool full) const
{
    os << "  <" << typeName();
    writeAttributes(os, full);
    if (full) {
        writePiece(os, "default", default_);
        if (hasMin_)
            writePiece(os, "min", min_);
        if (hasMax_)
            writePiece(os, "max", max_);
        if (hasVisualMin_)
            writePiece(os, "visualmin", visualMin_);
        if (hasVisualMax_)
            writePiece(os, "visualmax", visualMax_);
    }
    writePiece(os, "value", value_);
    os << "/>\n";
}

}  // namespace Quarn::Param
