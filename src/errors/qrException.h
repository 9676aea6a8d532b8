#pragma once
// The exception classes every layer throws. An exception carries its error
// code, the qualified name of the throwing function, its source file and line,
// and typed arguments; its text comes from the message template registered for
// the code (qrExceptionTemplate.h).
//
// Throw sites pass function, file and line explicitly, as constants:
//   throw Quarn::Exceptions::OutOfMemory("Quarn::Image::DataHandle::DataHandle",
//                                        "src/qrImage", 96, "Image allocation");
#include "qrRefCounter.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace Quarn::Exceptions {

// One typed argument of an exception. Numbers format in decimal, texts in
// single quotes, 2-4 element vectors in square brackets; anything else is
// "unknown".
class Argument {
public:
    struct Unknown { };
    using Vector = std::vector<double>;

    Argument() : value_(Unknown {}) { }
    Argument(int v) : value_(int64_t(v)) { }
    Argument(unsigned v) : value_(int64_t(v)) { }
    Argument(long v) : value_(int64_t(v)) { }
    Argument(unsigned long v) : value_(int64_t(v)) { }
    Argument(long long v) : value_(int64_t(v)) { }
    Argument(unsigned long long v) : value_(int64_t(v)) { }
    Argument(float v) : value_(widen(v)) { }
    Argument(double v) : value_(v) { }
    Argument(const char* s) : value_(std::string(s ? s : "")) { }
    Argument(std::string s) : value_(std::move(s)) { }
    Argument(std::string_view s) : value_(std::string(s)) { }
    template <size_t N>
    requires(N >= 2 && N <= 4) Argument(const std::array<double, N>& v) : value_(Vector(v.begin(), v.end()))
    {
    }
    template <size_t N>
    requires(N >= 2 && N <= 4) Argument(const std::array<float, N>& v) : value_(Vector())
    {
        for (float f : v)
            std::get<Vector>(value_).push_back(widen(f));
    }
    // A value of a type the messages cannot write.
    static Argument unknown() { return Argument(); }

    // The argument as it appears inside a message.
    std::string write() const;

    using Value = std::variant<Unknown, int64_t, double, std::string, Vector>;
    const Value& value() const { return value_; }

private:
    // The double nearest the float's shortest decimal form, so 0.1f writes as
    // 0.1 rather than as the float's exact binary value.
    static double widen(float v);

    Value value_;
};

using Arguments = std::vector<Argument>;

class ExceptionI : public QrRefCounter {
public:
    ~ExceptionI() override = default;
    virtual int32_t code() const = 0;
    virtual ExceptionI* clone() const = 0;  // new copy of the same class, count 1
    virtual const char* name() const = 0;  // class name without namespaces
    virtual const char* family() const = 0;  // family name, e.g. "FileException"

    // The message: the exception's own text when it was given one, otherwise
    // the code's template for the argument count, filled in.
    std::string message() const;
    // The text an exception carries as its whole message ("Couldn't load
    // suite."), or empty for a message made from the code's template.
    const std::string& text() const { return text_; }

    const Arguments& arguments() const { return arguments_; }
    const std::string& function() const { return function_; }
    const std::string& file() const { return file_; }
    int32_t line() const { return line_; }
    int32_t storedCode() const { return code_; }
    // Filled from name() and family() when the exception is recorded.
    const std::string& className() const { return className_; }
    const std::string& familyName() const { return familyName_; }
    void fillNames()
    {
        className_ = name();
        familyName_ = family();
    }

protected:
    ExceptionI(const char* function, const char* file, int32_t line, int32_t code, Arguments arguments);
    ExceptionI(const char* function, const char* file, int32_t line, int32_t code, std::string text);
    ExceptionI(const ExceptionI&) = default;

private:
    Arguments arguments_;
    int32_t code_;
    std::string function_;
    std::string file_;
    int32_t line_;
    std::string className_;
    std::string familyName_;
    std::string text_;
};

// Keeps the part of a path from its last backslash on (backslash included),
// or the whole path when it has none.
std::string trimSourcePath(const char* path);

#define QUARN_EXCEPTION_FAMILY(Family)                                                                       \
    class Family : public ::Quarn::Exceptions::ExceptionI {                                                  \
    protected:                                                                                               \
        using ::Quarn::Exceptions::ExceptionI::ExceptionI;                                                   \
    };

// What every concrete class answers about itself: code, copy and names.
#define QUARN_EXCEPTION_IDENTITY(Class, Code, FamilyName)                                                    \
    static constexpr int32_t kCode = Code;                                                                   \
    int32_t code() const override { return kCode; }                                                          \
    ::Quarn::Exceptions::ExceptionI* clone() const override { return new Class(*this); }                     \
    const char* name() const override { return #Class; }                                                     \
    const char* family() const override { return FamilyName; }

#define QUARN_EXCEPTION_CLASS(Class, Family, Code, FamilyName)                                               \
    class Class : public Family {                                                                            \
    public:                                                                                                  \
        QUARN_EXCEPTION_IDENTITY(Class, Code, FamilyName)                                                    \
        template <class... A>                                                                                \
        Class(const char* function, const char* file, int32_t line, A&&... args)                             \
            : Family(function, file, line, Code,                                                             \
                  ::Quarn::Exceptions::Arguments {::Quarn::Exceptions::Argument(std::forward<A>(args))...})  \
        {                                                                                                    \
        }                                                                                                    \
    };

// An exception whose message is the text it is thrown with, word for word,
// rather than that text quoted inside its code's template.
#define QUARN_EXCEPTION_TEXT_CLASS(Class, Family, Code, FamilyName)                                          \
    class Class : public Family {                                                                            \
    public:                                                                                                  \
        QUARN_EXCEPTION_IDENTITY(Class, Code, FamilyName)                                                    \
        Class(const char* function, const char* file, int32_t line, std::string text)                        \
            : Family(function, file, line, Code, std::move(text))                                            \
        {                                                                                                    \
        }                                                                                                    \
    };

QUARN_EXCEPTION_FAMILY(Exception)
QUARN_EXCEPTION_CLASS(AssertionFailed, Exception, 22, "Exception")
QUARN_EXCEPTION_CLASS(BadValue, Exception, 17, "Exception")
QUARN_EXCEPTION_CLASS(DuplicateObject, Exception, 11, "Exception")
QUARN_EXCEPTION_CLASS(FunctionUndefined, Exception, 8, "Exception")
QUARN_EXCEPTION_CLASS(Locked, Exception, 21, "Exception")
QUARN_EXCEPTION_CLASS(NullPointer, Exception, 9, "Exception")
QUARN_EXCEPTION_CLASS(ObjectUndefined, Exception, 8, "Exception")
QUARN_EXCEPTION_CLASS(OutOfMemory, Exception, 5, "Exception")
QUARN_EXCEPTION_CLASS(WrongType, Exception, 3, "Exception")

namespace File {
QUARN_EXCEPTION_FAMILY(FileException)
QUARN_EXCEPTION_CLASS(FileOpen, FileException, 4, "FileException")
QUARN_EXCEPTION_CLASS(DirectoryMake, FileException, 4, "FileException")
}  // namespace File

namespace Thread {
QUARN_EXCEPTION_FAMILY(ThreadException)
QUARN_EXCEPTION_CLASS(ThreadFailed, ThreadException, 4, "ThreadException")
}  // namespace Thread

namespace Param {
QUARN_EXCEPTION_FAMILY(ParamException)
QUARN_EXCEPTION_CLASS(ParamUndefined, ParamException, 8, "ParamException")
QUARN_EXCEPTION_CLASS(ParamWrongType, ParamException, 3, "ParamException")
}  // namespace Param

namespace Wrapper {
QUARN_EXCEPTION_FAMILY(WrapperException)
QUARN_EXCEPTION_CLASS(ClipUndefined, WrapperException, 8, "WrapperException")
QUARN_EXCEPTION_CLASS(FetchImageFailed, WrapperException, 4, "WrapperException")
QUARN_EXCEPTION_CLASS(FetchNonOptionalImageFailed, WrapperException, 4, "WrapperException")
QUARN_EXCEPTION_CLASS(ParameterUndefined, WrapperException, 8, "WrapperException")
}  // namespace Wrapper

namespace XML {
QUARN_EXCEPTION_FAMILY(XMLException)
QUARN_EXCEPTION_CLASS(Parse, XMLException, 4, "XMLException")
}  // namespace XML

namespace AfterEffects {
QUARN_EXCEPTION_FAMILY(AfterEffectsException)
QUARN_EXCEPTION_CLASS(BackwardMappingUndefined, AfterEffectsException, 8, "AfterEffectsException")
QUARN_EXCEPTION_CLASS(ClipAlreadyDefined, AfterEffectsException, 11, "AfterEffectsException")
QUARN_EXCEPTION_CLASS(ClipCheckoutFailed, AfterEffectsException, 4, "AfterEffectsException")
QUARN_EXCEPTION_CLASS(FeatureUnsupported, AfterEffectsException, 14, "AfterEffectsException")
QUARN_EXCEPTION_CLASS(ForwardMappingUndefined, AfterEffectsException, 8, "AfterEffectsException")
QUARN_EXCEPTION_CLASS(InterruptedCritical, AfterEffectsException, 4, "AfterEffectsException")
QUARN_EXCEPTION_CLASS(NullSequenceData, AfterEffectsException, 9, "AfterEffectsException")
QUARN_EXCEPTION_CLASS(ParamCheckoutFailed, AfterEffectsException, 4, "AfterEffectsException")
QUARN_EXCEPTION_CLASS(ParameterAlreadyDefined, AfterEffectsException, 11, "AfterEffectsException")
QUARN_EXCEPTION_CLASS(TemporalUnsupported, AfterEffectsException, 14, "AfterEffectsException")
}  // namespace AfterEffects

namespace ExException {
QUARN_EXCEPTION_FAMILY(ExException)
QUARN_EXCEPTION_CLASS(DuplicateTemplate, ExException, 11, "ExException")
QUARN_EXCEPTION_CLASS(DuplicateTemplateFormat, ExException, 11, "ExException")
QUARN_EXCEPTION_CLASS(ErrorEnumNeedsDefault, ExException, 13, "ExException")
QUARN_EXCEPTION_CLASS(TooManyTemplateVars, ExException, 10, "ExException")
QUARN_EXCEPTION_CLASS(UnregisteredErrorEnum, ExException, 12, "ExException")
}  // namespace ExException

}  // namespace Quarn::Exceptions
