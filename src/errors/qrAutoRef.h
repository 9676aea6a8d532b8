#pragma once
// auto_ref<T>: a handle holding one reference to a reference-counted object
// (anything with acquire() and release(), such as QrRefCounter subclasses).
//
// Constructing from a raw pointer adopts the creator's reference, so
//   auto_ref<Param::Int> p(new Param::Int("count"));
// leaves the count at 1; share() takes an extra reference instead.
#include <type_traits>
#include <utility>

namespace Quarn {

template <class T> class auto_ref {
public:
    auto_ref() = default;
    explicit auto_ref(T* adopted) : p_(adopted) { }
    static auto_ref share(T* p)
    {
        if (p)
            p->acquire();
        return auto_ref(p);
    }

    auto_ref(const auto_ref& o) : p_(o.p_) { acquireHeld(); }
    auto_ref(auto_ref&& o) noexcept : p_(std::exchange(o.p_, nullptr)) { }
    template <class U>
    requires std::is_convertible_v<U*, T*> auto_ref(const auto_ref<U>& o) : p_(o.get()) { acquireHeld(); }

    auto_ref& operator=(auto_ref o) noexcept
    {
        std::swap(p_, o.p_);
        return *this;
    }
    ~auto_ref() { reset(); }

    void reset()
    {
        if (T* p = std::exchange(p_, nullptr))
            p->release();
    }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    T& operator*() const { return *p_; }
    bool isNull() const { return p_ == nullptr; }
    explicit operator bool() const { return p_ != nullptr; }

    // A new handle on the same object when it is a U, else a null handle.
    template <class U> auto_ref<U> cast() const { return auto_ref<U>::share(dynamic_cast<U*>(p_)); }

    friend bool operator==(const auto_ref& a, const auto_ref& b) { return a.p_ == b.p_; }

private:
    void acquireHeld()
    {
        if (p_)
            p_->acquire();
    }

    T* p_ = nullptr;
};

}  // namespace Quarn
