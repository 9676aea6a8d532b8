#pragma once
// Two-component parameters (single precision, with a kind number as for
// doubles) and the two rectangle parameters.
#include "qrBoundParamTemplate.h"

namespace Quarn::Param {

class Double2 : public BoundParamTemplate<HvVec2, HvVec2> {
public:
    enum Kind { plain = 0, size2D, pos2D, scale2D, angle2D };

    explicit Double2(std::string name) : Double2(std::move(name), plain) { }
    const std::string& typeName() const override;
    int double2Kind() const { return kind_; }

    // The host's integral when hosted, else (t1 - t0) * value per component
    // in single precision.
    virtual HvVec2 integrate(double t0, double t1) const;
    // The host's derivative when hosted, else (0, 0).
    virtual HvVec2 differentiate(double time) const;

protected:
    Double2(std::string name, Kind kind);

private:
    Kind kind_;
};

class Size2D : public Double2 {
public:
    explicit Size2D(std::string name) : Double2(std::move(name), size2D) { }
    const std::string& typeName() const override;
};

class Pos2D : public Double2 {
public:
    explicit Pos2D(std::string name) : Double2(std::move(name), pos2D) { }
    const std::string& typeName() const override;
};

class Scale2D : public Double2 {
public:
    explicit Scale2D(std::string name) : Double2(std::move(name), scale2D) { }
    const std::string& typeName() const override;
};

class Angle2D : public Double2 {
public:
    explicit Angle2D(std::string name) : Double2(std::move(name), angle2D) { }
    const std::string& typeName() const override;
};

// A box of floats; its x edges clamp against the bounds' x, its y edges
// against their y.
class RectD : public BoundParamTemplate<HvBox2, HvVec2> {
public:
    explicit RectD(std::string name);
    const std::string& typeName() const override;
};

class RectI : public BoundParamTemplate<QrRectI, QrPointI> {
public:
    explicit RectI(std::string name);
    const std::string& typeName() const override;
};

}  // namespace Quarn::Param
