#include "qrExceptionTemplate.h"

#include "qrException.h"
#include "qrExceptionStack.h"

#include <atomic>
#include <cctype>
#include <mutex>
#include <vector>

namespace Quarn::Errors {

namespace {

constexpr int kMaxPlaceholders = 6;
constexpr int32_t kCodeCount = 24;  // codes 0..23 form the fixed table

// The code -> template set registry. std::map keeps the addresses handed out
// by findTemplate stable while later codes are added.
struct Registry {
    std::mutex mutex;
    std::map<int32_t, Template> sets;
};

Registry& registry()
{
    static Registry r;
    return r;
}

// Initialise runs its table once; the flag is checked without the lock on
// every message, so it is atomic.
std::mutex& initialiseMutex()
{
    static std::mutex m;
    return m;
}
std::atomic<bool> initialised {false};

struct TableRow {
    int32_t code;
    int line;  // the row's own line, recorded when its registration fails
    std::vector<const char*> texts;
};

// The most placeholders first; the text without placeholder is the default.
// Built on first use so that no static initialisation order matters.
const std::vector<TableRow>& table()
{
    static const std::vector<TableRow> rows = {
        {0, __LINE__, {"OK"}},
        {1, __LINE__, {"Unknown error"}},
        {2, __LINE__,
            {"@1 == @2 not in range @3 to @4", "@1 not in range @2 to @3", "Range is @1 to @2",
                "@1 out of range", "Out of range"}},
        {3, __LINE__,
            {"@1 should be @2 or @3", "@1 should be @2", "@1 required", "Wrong type supplied/requested"}},
        {4, __LINE__, {"Failed to @1 @2 - @3", "Failed to @1 @2", "@1 failed", "Failed"}},
        {5, __LINE__,
            {"@2 failed to allocated @1 bytes", "Failed to allocated @1 bytes",
                "Failed to allocated memory"}},
        {6, __LINE__, {"@1 overflowed with result @2.", "@1 overflowed.", "Arithmetic Overflow"}},
        {7, __LINE__, {"@1 arithmetic Underflow", "Arithmetic Underflow"}},
        {8, __LINE__, {"@1 is undefined for @2", "@1 is undefined", "Item was Undefined"}},
        {9, __LINE__, {"@1 is null", "Null pointer"}},
        {10, __LINE__,
            {"@1 exceeds maximum allowable '@2'", "@1 exceeds maximum allowable 'items'", "Too many items"}},
        {11, __LINE__,
            {"@1 is a duplicate @2 and is not allowed", "Duplicate @1 not allowed", "Duplicate not allowed"}},
        {12, __LINE__, {"@1 @2 is not registered", "@1 is not registered", "Not registered"}},
        {13, __LINE__, {"@1 requires a default.", "A default is needed."}},
        {14, __LINE__, {"@1 does/do not support @2", "@1 are/is not supported", "Not supported"}},
        {15, __LINE__, {"@1 is missing @2", "@1 is missing.", "Missing item."}},
        {16, __LINE__, {"@1 is an unknown @2.", "@1 is an unknown.", "Missing item."}},
        {17, __LINE__, {"@1 has a bad value @2.", "@1 is a bad value.", "Bad value."}},
        {18, __LINE__, {"@1 is greater than @2.", "@1 is too big.", "Too big."}},
        {19, __LINE__, {"@1 is less than @2.", "@1 is too small.", "Too small."}},
        {20, __LINE__,
            {"@1 is busy doing @2.", "@1 is busy doing something else.", "Busy doing something else."}},
        {21, __LINE__, {"@1 is locked, cannot @2.", "@1 is locked.", "Locked object."}},
        {22, __LINE__, {"Assertion failed: @1", "Assertion failed."}},
        {23, __LINE__, {"[@1] '@2'", "Runtime error [@1]", "Unspecified runtime error"}},
    };
    return rows;
}

// One row, guarded: a failure is recorded and the next row still registers.
void registerRow(const TableRow& row)
{
    try {
        Template set;
        for (const char* text : row.texts)
            set.addFormatString(text);
        addTemplate(row.code, set);
    } catch (const Exceptions::ExceptionI& e) {
        Exceptions::Stack::record(e, "Quarn::Errors::Initialise", "src/qrExceptionTemplate", row.line);
    }
}

// Every code of the table must end up with a default text.
void checkDefaults()
{
    for (int32_t code = 0; code < kCodeCount; ++code) {
        const Template* set = findTemplate(code);
        if (set && !set->defaultFormat())
            throw Exceptions::ExException::ErrorEnumNeedsDefault(
                "Quarn::Errors::Initialise", "src/qrExceptionTemplate", 384, code);
        if (!set)
            throw Exceptions::ExException::UnregisteredErrorEnum(
                "Quarn::Errors::Initialise", "src/qrExceptionTemplate", 388, code);
    }
}

}  // namespace

int placeholderCount(const std::string& text)
{
    int count = 0;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '@' && std::isdigit(static_cast<unsigned char>(text[i + 1])))
            ++count;
    }
    return count;
}

void Template::addFormatString(const std::string& text)
{
    const int count = placeholderCount(text);
    if (count > kMaxPlaceholders)
        throw Exceptions::ExException::TooManyTemplateVars(
            "Quarn::Errors::Template::addFormatString", "src/qrException", 40, text);
    if (formats_.count(count))
        throw Exceptions::ExException::DuplicateTemplateFormat(
            "Quarn::Errors::Template::addFormatString", "src/qrException", 45, text);
    formats_.emplace(count, text);
}

const std::string* Template::format(int count) const
{
    const auto it = formats_.find(count);
    return it == formats_.end() ? nullptr : &it->second;
}

void addTemplate(int32_t code, const Template& t)
{
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    if (r.sets.count(code))
        throw Exceptions::ExException::DuplicateTemplate(
            "Quarn::Errors::addTemplate", "src/qrExceptionTemplate", 34, code);
    r.sets.emplace(code, t);
}

const Template* findTemplate(int32_t code)
{
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    const auto it = r.sets.find(code);
    return it == r.sets.end() ? nullptr : &it->second;
}

void Initialise()
{
    if (initialised.load(std::memory_order_acquire))
        return;
    std::lock_guard lock(initialiseMutex());
    if (initialised.load(std::memory_order_relaxed))
        return;
    for (const TableRow& row : table())
        registerRow(row);
    // Marked before the checks so a failing check is reported once, not on
    // every later message.
    initialised.store(true, std::memory_order_release);
    checkDefaults();
}

void resetTemplates()
{
    std::lock_guard initLock(initialiseMutex());
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    r.sets.clear();
    initialised.store(false, std::memory_order_release);
}

}  // namespace Quarn::Errors
