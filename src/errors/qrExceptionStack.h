#pragma once
// The process-wide record of caught exceptions, per thread index, and the
// error report written from it.
#include "qrException.h"

#include <cstdint>
#include <ctime>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace Quarn::Exceptions {

class Stack {
public:
    // What one recording keeps: the exception's code, arguments and names,
    // and the catch site (file trimmed like an exception's source file).
    struct Record {
        int32_t code = 0;
        Arguments arguments;
        std::string text;  // the exception's own message text, if it has one
        std::string className;
        std::string familyName;
        std::string function;
        std::string file;
        int32_t line = 0;
    };
    // Records per thread index, thread indices ascending, each in recording order.
    using Records = std::map<int32_t, std::vector<Record>>;

    // Adds a record for the calling thread (its worker index, 0 outside a
    // threaded pass) with the catch site's function, file and line. The first
    // exception recorded on a thread is also kept as a clone.
    static void record(const ExceptionI& e, const char* function, const char* file, int32_t line);
    static void clear();
    // The report text; format codes insert the "#FC(R)" / "#FC(4)" markers.
    static void writeReport(std::ostream& out, bool formatCodes);
    // Appends the report (no format codes) to the log for folder/baseName,
    // creating the missing folders. When a folder cannot be made or the file
    // cannot be opened, records File::DirectoryMake / File::FileOpen on the
    // stack and throws it.
    static void stackDumpLog(const char* folder, const char* baseName);
    // $QUARN_ERROR_DIR/folder/baseName.log when the variable is set, else
    // <program files folder>/Quarn/log/folder/baseName.log.
    static std::string logPath(const char* folder, const char* baseName);

    // The worker index of the calling thread; the multi-processor sets it on
    // its workers for the length of a band.
    static void setThreadIndex(int32_t index);
    static int32_t threadIndex();

    // The clone of the first exception recorded on thread `index`, or null;
    // valid until the next clear().
    static const ExceptionI* firstException(int32_t index);
    static size_t recordCount();
    // A copy of every record, taken under the stack's lock.
    static Records snapshot();
};

// The report's time line for the local time `t`: the asctime layout with the
// day of the month in two digits, "Fri Dec 04 12:00:57 2026\n".
std::string reportTimeLine(const std::tm& t);

// The address named at the end of every error report.
inline constexpr const char* kSupportAddress = "support@brastor-plugins.example";

}  // namespace Quarn::Exceptions
