#pragma once
// "alias" elements: another name for a parameter of the set, or for an
// option label of a choice. Both read "name" and "original".
#include "qrParamChoice.h"
#include "qrParamSet.h"
#include "qrXMLParseElement.h"

namespace Quarn::XML {

class BaseAliasXMLElement : public ParseElement {
public:
    explicit BaseAliasXMLElement(const std::string& element) : ParseElement(element) { }
    void attributes(Parser& parser, AttributeList& attributes) override;

protected:
    virtual void makeAlias(const std::string& alias, const std::string& original) = 0;
};

// An alias of a choice's option label. Skipped in a value pass.
class ChoiceOptionAliasXMLElement : public BaseAliasXMLElement {
public:
    ChoiceOptionAliasXMLElement(const std::string& element, Param::Choice& choice)
        : BaseAliasXMLElement(element), choice_(choice)
    {
    }

protected:
    void makeAlias(const std::string& alias, const std::string& original) override;

private:
    Param::Choice& choice_;
};

// An alias of a parameter of the set. Skipped in a value pass.
class ParamAliasXMLElement : public BaseAliasXMLElement {
public:
    ParamAliasXMLElement(const std::string& element, Param::ParamSet& set)
        : BaseAliasXMLElement(element), set_(set)
    {
    }

protected:
    void makeAlias(const std::string& alias, const std::string& original) override;

private:
    Param::ParamSet& set_;
};

}  // namespace Quarn::XML
