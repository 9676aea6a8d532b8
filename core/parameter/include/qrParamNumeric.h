#pragma once
// Integer and double parameters. Every double carries a kind number that
// tells a host what quantity it is; the kinds differ from Double only in that
// number and their type name.
#include "qrBoundParamTemplate.h"

namespace Quarn::Param {

class Int : public BoundParamTemplate<int32_t, int32_t> {
public:
    explicit Int(std::string name);
    const std::string& typeName() const override;
};

class Double : public BoundParamTemplate<double, double> {
public:
    enum Kind { plain = 0, xSize, ySize, xPos, yPos, scale, angle, timePos, timeSize };

    explicit Double(std::string name) : Double(std::move(name), plain) { }
    const std::string& typeName() const override;
    int doubleKind() const { return kind_; }

    // The host's integral over [t0, t1] when hosted, else (t1 - t0) * value.
    virtual double integrate(double t0, double t1) const;
    // The host's derivative when hosted, else 0.
    virtual double differentiate(double time) const;

protected:
    Double(std::string name, Kind kind);

private:
    Kind kind_;
};

class XSize : public Double {
public:
    explicit XSize(std::string name) : Double(std::move(name), xSize) { }
    const std::string& typeName() const override;
};

class YSize : public Double {
public:
    explicit YSize(std::string name) : Double(std::move(name), ySize) { }
    const std::string& typeName() const override;
};

class XPos : public Double {
public:
    explicit XPos(std::string name) : Double(std::move(name), xPos) { }
    const std::string& typeName() const override;
};

class YPos : public Double {
public:
    explicit YPos(std::string name) : Double(std::move(name), yPos) { }
    const std::string& typeName() const override;
};

// A fraction, 1.0 meaning 100 %.
class Scale : public Double {
public:
    explicit Scale(std::string name) : Double(std::move(name), scale) { }
    const std::string& typeName() const override;
};

// An angle in radians.
class Angle : public Double {
public:
    explicit Angle(std::string name) : Double(std::move(name), angle) { }
    const std::string& typeName() const override;
};

class TimePos : public Double {
public:
    explicit TimePos(std::string name) : Double(std::move(name), timePos) { }
    const std::string& typeName() const override;
};

class TimeSize : public Double {
public:
    explicit TimeSize(std::string name) : Double(std::move(name), timeSize) { }
    const std::string& typeName() const override;
};

}  // namespace Quarn::Param
