#include "qrParamChoice.h"

#include "qrException.h"
#include "qrParamText.h"
#include "qrParamTypeName.h"

#include <algorithm>
#include <cctype>

namespace Quarn::Param {

namespace {

constexpr const char* kFile = "src/qrParamChoice";

bool isDigitsAndBlanks(const std::string& text)
{
    return std::all_of(
        text.begin(), text.end(), [](unsigned char c) { return std::isspace(c) || std::isdigit(c); });
}

}  // namespace

void Choice::addOption(const std::string& label, const std::string& description, int32_t value)
{
    constexpr const char* function = "Quarn::Param::Choice::addOption";
    if (aliases_.count(label))
        throw Exceptions::DuplicateObject(
            function, kFile, 115, "Tried to add a choice option for an existing alias");
    if (findLabel(label) >= 0)
        throw Exceptions::DuplicateObject(
            function, kFile, 119, "Tried to add a choice option for an existing option");
    if (findValue(value) >= 0)
        throw Exceptions::DuplicateObject(
            function, kFile, 123, "Tried to add a choice option for an existing value");
    options_.push_back(Option {label, description, value});
}

void Choice::aliasOption(const std::string& alias, const std::string& original)
{
    if (findLabel(alias) >= 0)
        throw Exceptions::DuplicateObject("Quarn::Param::Choice::aliasOption", kFile, 207,
            "Tried to set a choice alias for an existing options");
    aliases_[alias] = original;
}

int Choice::findLabel(const std::string& label) const
{
    for (size_t i = 0; i < options_.size(); ++i)
        if (options_[i].label == label)
            return int(i);
    return -1;
}

int Choice::findAlias(const std::string& alias) const
{
    auto it = aliases_.find(alias);
    return it == aliases_.end() ? -1 : findLabel(it->second);
}

int Choice::findValue(int32_t value) const
{
    for (size_t i = 0; i < options_.size(); ++i)
        if (options_[i].value == value)
            return int(i);
    return -1;
}

int Choice::findLabelOrAlias(const std::string& text) const
{
    const int byAlias = findAlias(text);
    return byAlias >= 0 ? byAlias : findLabel(text);
}

const std::string& Choice::labelAt(int index) const
{
    static const std::string none;
    return validIndex(index) ? options_[size_t(index)].label : none;
}

void Choice::select(int index)
{
    current_ = index;
    if (HostI* host = hostIfHosted())
        host->setIntParam(name(), index);
}

int32_t Choice::currentValue() const
{
    return validIndex(current_) ? options_[size_t(current_)].value : 0;
}

void Choice::parseValue(const std::string& text)
{
    int index = findLabelOrAlias(text);
    int32_t number = 0;
    if (index < 0 && isDigitsAndBlanks(text) && Text::read(text, number))
        index = findValue(number);
    if (index < 0)
        throw Exceptions::BadValue("Quarn::Param::Choice::parseValue", kFile, 150,
            text + " is not an option to the choice parameter " + name());
    select(index);
}

void Choice::writeXML(std::ostream& os, bool full) const
{
    os << "  <" << typeName();
    writeAttributes(os, full);
    if (full)
        os << " default='" << labelAt(defaultIndex_) << "' ";
    os << " value='" << labelAt(current_) << "'>\n";
    if (full) {
        for (const Option& option : options_) {
            os << "    <option "
               << "label='" << option.label;
            if (!option.description.empty())
                os << "' description='" << option.description;
            os << "' value='" << option.value << "'/>\n";
        }
        for (const auto& [alias, original] : aliases_)
            os << "    <alias name='" << alias << "' original='" << original << "' />\n";
    }
    os << "  </" << typeName() << ">\n";
}

QUARN_PARAM_TYPE_NAME(Choice, "choice")

}  // namespace Quarn::Param
