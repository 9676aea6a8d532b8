#pragma once
// Plain value types carried by parameters: 2D vectors and boxes in single
// precision, integer points and rectangles, and float colours. They hold
// numbers only; the image library has its own pixel types.
#include <cstdint>

struct HvVec2 {
    float x = 0.0f;
    float y = 0.0f;
    friend bool operator==(const HvVec2&, const HvVec2&) = default;
};

// A box stored as x1, x2, y1, y2 (its text form is x1 y1 x2 y2).
struct HvBox2 {
    float x1 = 0.0f;
    float x2 = 0.0f;
    float y1 = 0.0f;
    float y2 = 0.0f;
    friend bool operator==(const HvBox2&, const HvBox2&) = default;
};

struct QrPointI {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const QrPointI&, const QrPointI&) = default;
};

struct QrRectI {
    int32_t x1 = 0;
    int32_t y1 = 0;
    int32_t x2 = 0;
    int32_t y2 = 0;
    friend bool operator==(const QrRectI&, const QrRectI&) = default;
};

struct QrPixelRGBf {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    friend bool operator==(const QrPixelRGBf&, const QrPixelRGBf&) = default;
};

struct QrPixelRGBAf {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;
    friend bool operator==(const QrPixelRGBAf&, const QrPixelRGBAf&) = default;
};
