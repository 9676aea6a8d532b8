#pragma once
// A parameter holding an unbounded value of type T (a flag, a text, a
// colour). Setting stores the value as given and passes it to the host when
// hosted.
#include "qrParam.h"
#include "qrParamHostTransfer.h"
#include "qrParamText.h"

namespace Quarn::Param {

template <class T> class ValueParamTemplate : public Param {
public:
    using ValueType = T;

    // Reads "default" (unless the definition is locked) and "value"; without
    // "value", a given "default" becomes the value.
    void readAttributes(AttributeList& attributes) override;
    // Stores the text's value as it is, without host transfer.
    void parseValue(const std::string& text) override { parseText(text); }
    void writeXML(std::ostream& os, bool full) const override;

    virtual void parseText(const std::string& text) { Text::read(text, value_); }
    virtual void setHostValue(const T& v)
    {
        if (HostI* host = hostIfHosted())
            HostTransfer::push(*host, name(), v);
    }
    // The host's value at a time (the stored value when there is no host).
    virtual T getHostValue(double time) const
    {
        T v = value_;
        if (HostI* host = hostIfHosted())
            HostTransfer::fetch(*host, name(), time, v);
        return v;
    }

    void setValue(const T& v)
    {
        value_ = v;
        setHostValue(value_);
    }
    const T& value() const { return value_; }
    const T& defaultValue() const { return default_; }
    void setDefault(const T& v) { default_ = v; }

protected:
    explicit ValueParamTemplate(std::string name, const T& initial = T {})
        : Param(std::move(name)), value_(initial), default_(initial)
    {
    }

private:
    T value_;
    T default_;
};

// The same, handing out its value by copy (for small values).
template <class T> class ValueReturningParamTemplate : public ValueParamTemplate<T> {
public:
    T value() const { return ValueParamTemplate<T>::value(); }

protected:
    using ValueParamTemplate<T>::ValueParamTemplate;
};

template <class T> void ValueParamTemplate<T>::readAttributes(AttributeList& attributes)
{
    Param::readAttributes(attributes);
    const std::string* defaultText = attributes.take("default");
    if (defaultText && !definitionLocked())
        Text::read(*defaultText, default_);
    if (const std::string* valueText = attributes.take("value")) {
        T v = value_;
        Text::read(*valueText, v);
        setValue(v);
    } else if (defaultText) {
        setValue(default_);
    }
}

template <class T> void ValueParamTemplate<T>::writeXML(std::ostream& os, bool full) const
{
    os << "  <" << typeName();
    writeAttributes(os, full);
    if (full) {
        os << " default='";
        Text::write(os, default_);
        os << "' ";
    }
    os << " value='";
    Text::write(os, value_);
    os << "' />\n";
}

}  // namespace Quarn::Param
