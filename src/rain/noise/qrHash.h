#pragma once
// The integer hash behind every random value of the rain. A value depends only
// on the absolute pixel position and a seed, never on which thread or band
// computes it, so renders are identical whatever the thread count.
#include <cstdint>

struct QrHash {
    // Key advance per pixel along a row and per row.
    static constexpr uint32_t kColumnStep = 7907u;
    static constexpr uint32_t kRowStep = 17387u;
    // 2^-31 as a float: maps a hash onto [0, 1).
    static constexpr float kUnit = 4.656613e-10f;

    // Hash of n in 0 .. 2^31 - 1. Unsigned arithmetic gives the 32-bit
    // wrap-around without signed overflow.
    static constexpr int32_t hash(int32_t n)
    {
        const uint32_t u = static_cast<uint32_t>(n);
        const uint32_t m = (u << 13) ^ u;
        const uint32_t h = m * (m * m * 15731u + 789221u) + 1376312589u;
        return static_cast<int32_t>(h & 0x7FFFFFFFu);
    }

    // Key of the pixel at absolute coordinates (x, y) under `seed`.
    static constexpr int32_t key(int32_t x, int32_t y, int32_t seed)
    {
        return static_cast<int32_t>(static_cast<uint32_t>(x) * kColumnStep +
            static_cast<uint32_t>(y) * kRowStep + static_cast<uint32_t>(seed));
    }

    // Key of the pixel `steps` to the right of a pixel with key `n`.
    static constexpr int32_t advance(int32_t n, int32_t steps)
    {
        return static_cast<int32_t>(static_cast<uint32_t>(n) + static_cast<uint32_t>(steps) * kColumnStep);
    }

    // Sum of two keys or seeds with wrap-around (channel keys n + c, seeds).
    static constexpr int32_t offset(int32_t n, int32_t by)
    {
        return static_cast<int32_t>(static_cast<uint32_t>(n) + static_cast<uint32_t>(by));
    }

    // Hash mapped onto [0, 1).
    static constexpr float unit(int32_t h) { return static_cast<float>(h) * kUnit; }
};
