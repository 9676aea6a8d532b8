#pragma once
#include <cstdint>
#include <utility>

// Intrusive reference count shared by exceptions, memory handles and hosted
// objects. The creator holds the first reference (count 1); the object
// deletes itself when the last holder releases it. Not atomic: references are
// taken and dropped on the thread that owns the object.
class QrRefCounter {
public:
    QrRefCounter() = default;
    QrRefCounter(const QrRefCounter&) : count_(1) {}
    QrRefCounter& operator=(const QrRefCounter&) { return *this; }
    virtual ~QrRefCounter() = default;

    void acquire() { ++count_; }
    void release()
    {
        if (count_ > 0)
            --count_;
        if (count_ == 0)
            delete this;
    }
    int32_t refCount() const { return count_; }

private:
    int32_t count_ = 1;
};

// Holds one reference to a QrRefCounter object (adopting or acquiring it).
template <class T>
class QrRef {
public:
    QrRef() = default;
    // Takes over the creator's reference.
    static QrRef adopt(T* p) { QrRef r; r.p_ = p; return r; }
    // Shares an object someone else holds.
    static QrRef share(T* p) { if (p) p->acquire(); return adopt(p); }
    QrRef(const QrRef& o) : p_(o.p_) { if (p_) p_->acquire(); }
    QrRef(QrRef&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
    QrRef& operator=(QrRef o) noexcept { std::swap(p_, o.p_); return *this; }
    ~QrRef() { if (p_) p_->release(); }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    T& operator*() const { return *p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};
