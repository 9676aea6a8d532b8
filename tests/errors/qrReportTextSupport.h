#pragma once
// Helpers for comparing error reports whose second line is the wall-clock
// time: the time line is swapped for a fixed marker before comparing.
#include "qrExceptionStack.h"

#include <regex>
#include <sstream>
#include <string>

namespace Quarn::Test {

inline const char* const kTimeMarker = "<time>\n";

// Replaces every asctime-style line ("Www Mmm dd hh:mm:ss yyyy\n") that
// follows a report title; leaves the text alone when there is no such line,
// so the comparison fails visibly.
inline std::string maskTime(const std::string& report)
{
    static const std::regex timeLine(R"((QUARN INTERNAL ERROR REPORT\n-{28}\n))"
                                     R"([A-Z][a-z]{2} [A-Z][a-z]{2} [ 123]\d \d\d:\d\d:\d\d \d{4}\n)");
    return std::regex_replace(report, timeLine, std::string("$1") + kTimeMarker);
}

inline std::string report(bool formatCodes)
{
    std::ostringstream out;
    Exceptions::Stack::writeReport(out, formatCodes);
    return out.str();
}

// The fixed parts around the records, with the time masked.
inline std::string reportHead(bool formatCodes)
{
    return std::string(formatCodes ? "#FC(R)" : "") + "QUARN INTERNAL ERROR REPORT\n" + std::string(28, '-') +
        "\n" + kTimeMarker + "\r\n" + (formatCodes ? "#FC(4)" : "");
}

inline std::string reportTail()
{
    return std::string("\nEmail to ") + Exceptions::kSupportAddress;
}

}  // namespace Quarn::Test
