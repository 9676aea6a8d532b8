#pragma once
// One axis of an image's addressing: its size, origin, crop range with the
// edge method applied outside it, placement, and the window of indices that
// has memory. The addressing maps a coordinate to the index of the pixel that
// stands for it, or to "no pixel" (the image's edge colour).
#include <cstdint>

enum QrEdgeMethod : int32_t {
    kEdgeColour = 0,  // outside the crop: the edge colour
    kEdgeRepeat = 1,  // the nearest crop end, repeated
    kEdgeReflect = 2,  // mirrored, the end pixel repeated (-1 -> first, n -> last)
    kEdgeWrap = 3,  // periodic
};

// A stretch of consecutive coordinates served by one walk through memory:
// `index` is the column relative to the window's first index (or -1: the edge
// colour for the whole run), advanced by `step` (+1, -1 or 0) per pixel, for
// `length` pixels (always at least 1).
struct QrRun {
    int32_t index;
    int32_t step;
    int32_t length;
};

struct QrTexAxis {
    enum Flags : uint32_t {
        kWindowed = 1u,  // the window is smaller than the whole axis
        kClipCropToWindow = 2u,  // the crop range is kept inside the window
    };
    static constexpr int32_t kEndless = 2147483647;

    int32_t size = 0;
    float origin = 0.0f;  // as set
    int32_t originIndex = 0;  // used for addressing: floor(origin + 0.5)
    int32_t edgeMethod = kEdgeColour;
    int32_t cropFirst = 0, cropLast = -1, cropCount = 0;
    int32_t placement = 0;  // coordinate of index 0 when written as a processor's output
    int32_t windowFirst = 0, windowLast = -1, windowCount = 0;
    uint32_t flags = 0;

    QrTexAxis() = default;
    explicit QrTexAxis(int32_t length);

    bool isWindowed() const { return (flags & kWindowed) != 0; }
    bool clipsCropToWindow() const { return (flags & kClipCropToWindow) != 0; }

    // Edge addressing of one coordinate: the absolute index (0..size-1) of
    // the pixel that stands for it, or -1 when the edge colour does.
    int32_t address(int32_t coordinate) const { return addressIndex(coordinate - originIndex); }
    // The same for an index, the origin already taken off.
    int32_t addressIndex(int32_t index) const;

    // Run addressing along the axis, starting at `coordinate`.
    QrRun run(int32_t coordinate) const;

    // Stores the inclusive crop range a..b (either order), clamped to the
    // axis and, when kClipCropToWindow is set, to the window.
    void setCrop(int32_t a, int32_t b);
    // Stores the inclusive window a..b (either order) clamped to the axis;
    // returns whether it is smaller than the axis.
    bool setWindow(int32_t a, int32_t b);
    void resetWindow();

private:
    QrRun clipToWindow(int32_t index, int32_t step, int32_t length) const;
};
