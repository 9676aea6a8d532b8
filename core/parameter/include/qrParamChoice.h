#pragma once
// A choice among labelled options. Each option has a label, a description
// and an integer value; aliases give further names for an option's label.
// Towards a host a choice is an integer holding the zero-based index of the
// current option.
#include "qrParam.h"

#include <map>
#include <vector>

namespace Quarn::Param {

class Choice : public Param {
public:
    struct Option {
        std::string label;
        std::string description;
        int32_t value = 0;
    };

    explicit Choice(std::string name) : Param(std::move(name)) { }

    // Selects by alias, then by label, then (for a text of digits and blanks)
    // by option value; anything else throws BadValue. The new index goes to
    // the host when hosted.
    void parseValue(const std::string& text) override;
    void writeXML(std::ostream& os, bool full) const override;
    const std::string& typeName() const override;

    // Appends an option; refuses (DuplicateObject) a label that is an alias
    // or an option, and a value another option has.
    virtual void addOption(const std::string& label, const std::string& description, int32_t value);
    // Enters an alias for a label (which need not exist yet); refuses an
    // alias spelt like an option label.
    void aliasOption(const std::string& alias, const std::string& original);

    // Option indices, or -1 when there is none.
    int findLabel(const std::string& label) const;
    int findAlias(const std::string& alias) const;
    int findValue(int32_t value) const;
    // An alias first, then a label.
    int findLabelOrAlias(const std::string& text) const;
    // The label at an index; empty for an index outside the option table.
    const std::string& labelAt(int index) const;

    const std::vector<Option>& options() const { return options_; }
    const std::map<std::string, std::string>& aliases() const { return aliases_; }

    int current() const { return current_; }
    // Stores the current index as it is, without telling the host.
    void setCurrent(int index) { current_ = index; }
    // Makes an option current and passes its index to the host when hosted.
    void select(int index);
    // The value of the current option; 0 when the index is outside the table.
    int32_t currentValue() const;
    int defaultIndex() const { return defaultIndex_; }
    void setDefaultIndex(int index) { defaultIndex_ = index; }

private:
    bool validIndex(int index) const { return index >= 0 && index < int(options_.size()); }

    std::vector<Option> options_;
    std::map<std::string, std::string> aliases_;
    int current_ = 0;
    int defaultIndex_ = 0;
};

}  // namespace Quarn::Param
