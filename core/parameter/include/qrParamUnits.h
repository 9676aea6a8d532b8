#pragma once
// Typed doubles returned by the scale and angle getters, so a caller cannot
// mix a fraction (1.0 = 100 %) with an angle in radians by accident.

namespace Quarn {

class Scale {
public:
    constexpr Scale() = default;
    constexpr explicit Scale(double fraction) : value_(fraction) { }
    constexpr double value() const { return value_; }
    friend constexpr bool operator==(Scale, Scale) = default;

private:
    double value_ = 0.0;
};

class Angle {
public:
    constexpr Angle() = default;
    constexpr explicit Angle(double radians) : value_(radians) { }
    constexpr double value() const { return value_; }
    friend constexpr bool operator==(Angle, Angle) = default;

private:
    double value_ = 0.0;
};

}  // namespace Quarn
