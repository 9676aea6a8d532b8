#pragma once
// Unbounded value parameters: a flag, a one-word text and float colours.
#include "qrValueParamTemplate.h"

namespace Quarn::Param {

class Bool : public ValueReturningParamTemplate<bool> {
public:
    explicit Bool(std::string name) : ValueReturningParamTemplate(std::move(name), false) { }
    const std::string& typeName() const override;
};

class String : public ValueParamTemplate<std::string> {
public:
    explicit String(std::string name) : ValueParamTemplate(std::move(name)) { }
    const std::string& typeName() const override;
};

class RGBColour : public ValueReturningParamTemplate<QrPixelRGBf> {
public:
    explicit RGBColour(std::string name) : ValueReturningParamTemplate(std::move(name)) { }
    const std::string& typeName() const override;
};

class RGBAColour : public ValueReturningParamTemplate<QrPixelRGBAf> {
public:
    explicit RGBAColour(std::string name) : ValueReturningParamTemplate(std::move(name)) { }
    const std::string& typeName() const override;
};

}  // namespace Quarn::Param
