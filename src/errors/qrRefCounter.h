#pragma once
#include <cstdint>

// Intrusive reference count shared by exceptions, memory handles and hosted
// objects. The creator holds the first reference (count 1); the object
// deletes itself when the last holder releases it; Quarn::auto_ref
// (qrAutoRef.h) is the one handle that holds such references. Not atomic: references are
// taken and dropped on the thread that owns the object.
class QrRefCounter {
public:
    QrRefCounter() = default;
    QrRefCounter(const QrRefCounter&) : count_(1) { }
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
