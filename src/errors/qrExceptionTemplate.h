#pragma once
// Message templates: per error code, one text per placeholder count (0..6).
#include <cstdint>
#include <map>
#include <string>

namespace Quarn::Errors {

class Template {
public:
    // Stores `text` under its placeholder count ("@" followed by a digit).
    // Throws TooManyTemplateVars (> 6) or DuplicateTemplateFormat.
    void addFormatString(const std::string& text);
    // The text for `count` placeholders, or null.
    const std::string* format(int count) const;
    const std::string* defaultFormat() const { return format(0); }
    const std::map<int, std::string>& formats() const { return formats_; }

private:
    std::map<int, std::string> formats_;
};

// Registers `t` for `code`; throws DuplicateTemplate when the code has one.
void addTemplate(int32_t code, const Template& t);
// The set registered for `code`, or null.
const Template* findTemplate(int32_t code);
// Registers the whole table of codes 0..23 once; failures are recorded on the
// exception stack. Safe to call more than once (later calls do nothing).
void Initialise();
// Empties the registry so that the next Initialise registers the table again.
// For tests only: texts handed out by findTemplate become invalid.
void resetTemplates();
// Counts "@"+digit placeholders in a template text.
int placeholderCount(const std::string& text);

}  // namespace Quarn::Errors
