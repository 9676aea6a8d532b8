#pragma once
// Saves and restores a processor's region, so that a processor can be run
// over a sub-rectangle and then put back as it was.
#include "qrImgProc.h"

#include <cstdint>

class QrIPWindowStack {
public:
    static constexpr int32_t kCapacity = 10;

    explicit QrIPWindowStack(QrImgProc& owner) : owner_(owner) { }
    virtual ~QrIPWindowStack() = default;
    QrIPWindowStack(const QrIPWindowStack&) = delete;
    QrIPWindowStack& operator=(const QrIPWindowStack&) = delete;

    // Saves the current region; false (nothing saved) when ten are stored.
    bool pushWindow();
    // Saves the current region, then sets the inclusive corners as the new one.
    bool pushWindow(int32_t x0, int32_t y0, int32_t x1, int32_t y1);
    // Restores the last saved region; false when none is stored.
    bool popWindow();
    int32_t storedWindows() const { return count_; }

private:
    QrImgProc& owner_;
    QrProcRegion saved_[kCapacity];
    int32_t count_ = 0;
};
