#include "qrExceptionStack.h"

#include "qrAutoRef.h"

#include <mutex>

namespace Quarn::Exceptions {

namespace {

// Workers of a threaded pass record concurrently, so every access to the
// records and the first-exception clones goes through one mutex.
struct StackState {
    std::mutex mutex;
    Stack::Records records;
    std::map<int32_t, auto_ref<ExceptionI>> first;
};

StackState& state()
{
    static StackState s;
    return s;
}

thread_local int32_t currentThreadIndex = 0;

Stack::Record makeRecord(const ExceptionI& e, const char* function, const char* file, int32_t line)
{
    Stack::Record r;
    r.code = e.storedCode();
    r.arguments = e.arguments();
    r.text = e.text();
    r.className = e.name();
    r.familyName = e.family();
    r.function = function ? function : "";
    r.file = trimSourcePath(file);
    r.line = line;
    return r;
}

}  // namespace

void Stack::record(const ExceptionI& e, const char* function, const char* file, int32_t line)
{
    Record r = makeRecord(e, function, file, line);
    const int32_t index = currentThreadIndex;
    StackState& s = state();
    std::lock_guard lock(s.mutex);
    s.records[index].push_back(std::move(r));
    if (!s.first.count(index)) {
        auto_ref<ExceptionI> copy(e.clone());
        copy->fillNames();
        s.first.emplace(index, std::move(copy));
    }
}

void Stack::clear()
{
    StackState& s = state();
    std::lock_guard lock(s.mutex);
    s.records.clear();
    s.first.clear();
}

void Stack::setThreadIndex(int32_t index)
{
    currentThreadIndex = index;
}

int32_t Stack::threadIndex()
{
    return currentThreadIndex;
}

const ExceptionI* Stack::firstException(int32_t index)
{
    StackState& s = state();
    std::lock_guard lock(s.mutex);
    const auto it = s.first.find(index);
    return it == s.first.end() ? nullptr : it->second.get();
}

size_t Stack::recordCount()
{
    StackState& s = state();
    std::lock_guard lock(s.mutex);
    size_t count = 0;
    for (const auto& [index, list] : s.records)
        count += list.size();
    return count;
}

Stack::Records Stack::snapshot()
{
    StackState& s = state();
    std::lock_guard lock(s.mutex);
    return s.records;
}

}  // namespace Quarn::Exceptions
