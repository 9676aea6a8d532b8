#include "motion/qrRainTravel.h"

#include <cmath>

double QrRainTravel::direction(int64_t frame, double angle, double windRadians, const QrRainGust& gust)
{
    return windRadians == 0.0 ? angle : angle + windRadians * gust.at(frame);
}

QrRainTravel QrRainTravel::to(int64_t frame, double angle, double windRadians, const QrRainGust& gust)
{
    QrRainTravel t;
    if (windRadians == 0.0) {  // a steady direction: n equal steps
        t.x = kSense * double(frame) * std::cos(angle);
        t.y = kSense * double(frame) * std::sin(angle);
        return t;
    }
    const int64_t first = frame >= 0 ? 0 : frame;
    const int64_t last = frame >= 0 ? frame : 0;  // one past
    for (int64_t i = first; i < last; ++i) {
        const double d = direction(i, angle, windRadians, gust);
        t.x += std::cos(d);
        t.y += std::sin(d);
    }
    const double sign = frame >= 0 ? kSense : -kSense;
    t.x *= sign;
    t.y *= sign;
    return t;
}
