#pragma once
// One host suite, acquired by name and version through the command's basic
// suite and released with the same pair when the holder ends (or earlier,
// through release(), which tells whether the host took it back).
#include <AE_Effect.h>

#include <utility>

namespace Quarn::AfterEffects {

class SuiteHandle {
public:
    SuiteHandle() = default;
    // Asks the host for the suite; null() when it has none.
    SuiteHandle(PF_InData* in, const char* name, A_long version);
    ~SuiteHandle() { release(); }
    SuiteHandle(SuiteHandle&& o) noexcept
        : basic_(std::exchange(o.basic_, nullptr)),
          name_(o.name_),
          version_(o.version_),
          table_(std::exchange(o.table_, nullptr))
    {
    }
    SuiteHandle& operator=(SuiteHandle&& o) noexcept
    {
        if (this != &o) {
            release();
            basic_ = std::exchange(o.basic_, nullptr);
            name_ = o.name_;
            version_ = o.version_;
            table_ = std::exchange(o.table_, nullptr);
        }
        return *this;
    }
    SuiteHandle(const SuiteHandle&) = delete;
    SuiteHandle& operator=(const SuiteHandle&) = delete;

    bool null() const { return table_ == nullptr; }
    const void* table() const { return table_; }
    const char* name() const { return name_; }
    // Gives the suite back; false when the host refused to take it. A handle
    // holding nothing releases successfully.
    bool release();

private:
    SPBasicSuite* basic_ = nullptr;
    const char* name_ = "";
    A_long version_ = 0;
    const void* table_ = nullptr;
};

template <class T> class Suite : public SuiteHandle {
public:
    Suite() = default;
    Suite(PF_InData* in, const char* name, A_long version) : SuiteHandle(in, name, version) { }
    const T* operator->() const { return static_cast<const T*>(table()); }
    const T* get() const { return static_cast<const T*>(table()); }
};

}  // namespace Quarn::AfterEffects
