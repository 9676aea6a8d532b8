#pragma once
// The host operation that carries each value type: fetch reads a value of
// the parameter's name at a time, push writes one. The double kinds all go
// through the double operations, the 2D kinds through the 2D ones.
#include "qrParamHostI.h"

namespace Quarn::Param::HostTransfer {

inline void fetch(HostI& h, const std::string& n, double t, int32_t& v)
{
    v = h.getIntParam(n, t);
}
inline void fetch(HostI& h, const std::string& n, double t, double& v)
{
    v = h.getDoubleParam(n, t);
}
inline void fetch(HostI& h, const std::string& n, double t, HvVec2& v)
{
    v = h.get2DDoubleParam(n, t);
}
inline void fetch(HostI& h, const std::string& n, double t, HvBox2& v)
{
    v = h.getRectDParam(n, t);
}
inline void fetch(HostI& h, const std::string& n, double t, QrRectI& v)
{
    v = h.getRectIParam(n, t);
}
inline void fetch(HostI& h, const std::string& n, double t, bool& v)
{
    v = h.getBoolParam(n, t);
}
inline void fetch(HostI& h, const std::string& n, double t, std::string& v)
{
    h.getStringParam(n, v, t);
}
inline void fetch(HostI& h, const std::string& n, double t, QrPixelRGBf& v)
{
    v = h.getRGBParam(n, t);
}
inline void fetch(HostI& h, const std::string& n, double t, QrPixelRGBAf& v)
{
    v = h.getRGBAParam(n, t);
}

inline void push(HostI& h, const std::string& n, int32_t v)
{
    h.setIntParam(n, v);
}
inline void push(HostI& h, const std::string& n, double v)
{
    h.setDoubleParam(n, v);
}
inline void push(HostI& h, const std::string& n, const HvVec2& v)
{
    h.set2DDoubleParam(n, v);
}
inline void push(HostI& h, const std::string& n, const HvBox2& v)
{
    h.setRectDParam(n, v);
}
inline void push(HostI& h, const std::string& n, const QrRectI& v)
{
    h.setRectIParam(n, v);
}
inline void push(HostI& h, const std::string& n, bool v)
{
    h.setBoolParam(n, v);
}
inline void push(HostI& h, const std::string& n, const std::string& v)
{
    h.setStringParam(n, v);
}
inline void push(HostI& h, const std::string& n, const QrPixelRGBf& v)
{
    h.setRGBParam(n, v);
}
inline void push(HostI& h, const std::string& n, const QrPixelRGBAf& v)
{
    h.setRGBAParam(n, v);
}

}  // namespace Quarn::Param::HostTransfer
