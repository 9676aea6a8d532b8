// The error report: a header with the local time, then every record of the
// stack, thread by thread. With format codes the host's message box gets
// "#FC(R)" / "#FC(4)" markers; the log file is written without them.
#include "qrExceptionMessage.h"
#include "qrExceptionStack.h"
#include "qrExceptionTemplate.h"

#include <array>
#include <cstdio>
#include <ctime>

namespace Quarn::Exceptions {

namespace {

constexpr size_t kMaxFunctionLength = 80;
constexpr size_t kFunctionTailLength = 77;

// At least four digits, zero padded: 5 -> "0005".
std::string padded(int32_t value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d", int(value));
    return buffer;
}

// The current local time as the report's time line.
std::string localTimeLine()
{
    const std::time_t now = std::time(nullptr);
    std::tm t {};
    localtime_r(&now, &t);
    return reportTimeLine(t);
}

std::string functionText(const std::string& function)
{
    if (function.size() > kMaxFunctionLength)
        return "..." + function.substr(function.size() - kFunctionTailLength);
    return function;
}

// One record: code, catch site, message and class name. Inside a record the
// lines end in a bare "\n"; only the thread blocks end in "\r\n".
void writeRecord(std::ostream& out, const Stack::Record& r, bool formatCodes)
{
    const char* fc4 = formatCodes ? "#FC(4)" : "";
    out << (formatCodes ? "#FC(4) [ Err " : " [ Err ") << padded(r.code) << "]\n   ";
    if (!r.function.empty() && r.function != "unknown()")
        out << functionText(r.function) << "() ";
    if (!r.file.empty()) {
        out << fc4 << r.file;
        if (r.line != 0)
            out << fc4 << "(" << padded(r.line) << ")\n   ";
    }
    // A text of the exception's own stands where a default text would.
    if (!r.text.empty())
        out << '"' << r.text << '"';
    else if (r.arguments.empty())
        out << '"' << Errors::defaultMessage(r.code) << '"';
    else
        out << (formatCodes ? "#FC(R)" : "") << Errors::formatMessage(r.code, r.arguments);
    out << fc4 << " (" << r.className << ")\n";
}

void writeThread(std::ostream& out, int32_t index, const std::vector<Stack::Record>& records, bool withHeader,
    bool formatCodes)
{
    if (withHeader)
        out << "Thread " << index << "\r\n" << std::string(40, '-') << "\r\n";
    size_t number = records.size();
    for (const Stack::Record& r : records) {
        out << number-- << ". ";
        writeRecord(out, r, formatCodes);
    }
    out << "\r\n";
}

}  // namespace

// Formatted here instead of by asctime, whose buffer is shared between
// threads and whose day of the month is blank padded.
std::string reportTimeLine(const std::tm& t)
{
    static constexpr std::array<const char*, 7> days = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr std::array<const char*, 12> months = {
        "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.3s %.3s %.2d %.2d:%.2d:%.2d %d\n", days[size_t(t.tm_wday) % 7],
        months[size_t(t.tm_mon) % 12], t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec, 1900 + t.tm_year);
    return buffer;
}

void Stack::writeReport(std::ostream& out, bool formatCodes)
{
    // Registered before the snapshot: a registry failure is itself recorded
    // and so belongs in this report.
    try {
        Errors::Initialise();
    } catch (const ExceptionI& e) {
        record(e, "Quarn::Exceptions::Stack::writeReport", "src/qrExceptionStack", __LINE__);
    }
    // Formatting happens outside the stack's lock, on a copy.
    const Records records = snapshot();
    out << (formatCodes ? "#FC(R)" : "") << "QUARN INTERNAL ERROR REPORT\n"
        << "----------------------------\n"
        << localTimeLine() << "\r\n"
        << (formatCodes ? "#FC(4)" : "");
    const bool headers = records.size() > 1;
    for (const auto& [index, list] : records)
        writeThread(out, index, list, headers, formatCodes);
    out << "\nEmail to " << kSupportAddress;
}

}  // namespace Quarn::Exceptions
