// Identity of every concrete exception class and what a copy keeps.
#include "qrAutoRef.h"
#include "qrException.h"

#include <gtest/gtest.h>

#include <tuple>
#include <functional>

namespace {

using namespace Quarn::Exceptions;

struct ClassCase {
    std::function<ExceptionI*()> make;
    int32_t code;
    const char* name;
    const char* family;
    std::function<bool(const ExceptionI*)> inFamily;
};

// Every family's name is the name of its base class.
#define CLASS_CASE(Namespace, Class, Code, Family)                                                           \
    ClassCase                                                                                                \
    {                                                                                                        \
        [] { return new Namespace::Class("Quarn::Test::make", "src/qrTest", 1); }, Code, #Class, #Family,    \
            [](const ExceptionI* e) { return dynamic_cast<const Namespace::Family*>(e) != nullptr; }         \
    }

TEST(ExceptionClasses, EachClassReportsItsCodeNameAndFamily)
{
    namespace E = Quarn::Exceptions;
    const ClassCase cases[] = {
        CLASS_CASE(E, AssertionFailed, 22, Exception),
        CLASS_CASE(E, BadValue, 17, Exception),
        CLASS_CASE(E, DuplicateObject, 11, Exception),
        CLASS_CASE(E, FunctionUndefined, 8, Exception),
        CLASS_CASE(E, Locked, 21, Exception),
        CLASS_CASE(E, NullPointer, 9, Exception),
        CLASS_CASE(E, ObjectUndefined, 8, Exception),
        CLASS_CASE(E, OutOfMemory, 5, Exception),
        CLASS_CASE(E, WrongType, 3, Exception),
        CLASS_CASE(File, FileOpen, 4, FileException),
        CLASS_CASE(File, DirectoryMake, 4, FileException),
        CLASS_CASE(Thread, ThreadFailed, 4, ThreadException),
        CLASS_CASE(Param, ParamUndefined, 8, ParamException),
        CLASS_CASE(Param, ParamWrongType, 3, ParamException),
        CLASS_CASE(Wrapper, ClipUndefined, 8, WrapperException),
        CLASS_CASE(Wrapper, FetchImageFailed, 4, WrapperException),
        CLASS_CASE(Wrapper, FetchNonOptionalImageFailed, 4, WrapperException),
        CLASS_CASE(Wrapper, ParameterUndefined, 8, WrapperException),
        CLASS_CASE(XML, Parse, 4, XMLException),
        CLASS_CASE(AfterEffects, BackwardMappingUndefined, 8, AfterEffectsException),
        CLASS_CASE(AfterEffects, ClipAlreadyDefined, 11, AfterEffectsException),
        CLASS_CASE(AfterEffects, ClipCheckoutFailed, 4, AfterEffectsException),
        CLASS_CASE(AfterEffects, FeatureUnsupported, 14, AfterEffectsException),
        CLASS_CASE(AfterEffects, ForwardMappingUndefined, 8, AfterEffectsException),
        CLASS_CASE(AfterEffects, InterruptedCritical, 4, AfterEffectsException),
        CLASS_CASE(AfterEffects, NullSequenceData, 9, AfterEffectsException),
        CLASS_CASE(AfterEffects, ParamCheckoutFailed, 4, AfterEffectsException),
        CLASS_CASE(AfterEffects, ParameterAlreadyDefined, 11, AfterEffectsException),
        CLASS_CASE(AfterEffects, TemporalUnsupported, 14, AfterEffectsException),
        CLASS_CASE(ExException, DuplicateTemplate, 11, ExException),
        CLASS_CASE(ExException, DuplicateTemplateFormat, 11, ExException),
        CLASS_CASE(ExException, ErrorEnumNeedsDefault, 13, ExException),
        CLASS_CASE(ExException, TooManyTemplateVars, 10, ExException),
        CLASS_CASE(ExException, UnregisteredErrorEnum, 12, ExException),
    };
    for (const ClassCase& c : cases) {
        const Quarn::auto_ref<ExceptionI> e(c.make());
        EXPECT_EQ(e->code(), c.code) << c.name;
        EXPECT_EQ(e->storedCode(), c.code) << c.name;
        EXPECT_STREQ(e->name(), c.name);
        EXPECT_STREQ(e->family(), c.family) << c.name;
        EXPECT_TRUE(c.inFamily(e.get())) << c.name << " derives from the wrong family";
        const Quarn::auto_ref<ExceptionI> copy(e->clone());
        EXPECT_STREQ(copy->name(), c.name) << "clone changed the class";
    }
}

TEST(ExceptionOrigin, SourceFileKeepsThePartFromTheLastBackslash)
{
    EXPECT_EQ(trimSourcePath("C:\\dev\\quarn\\src\\qrImage.cpp"), "\\qrImage.cpp");
    EXPECT_EQ(trimSourcePath("src/qrMultiProcessor"), "src/qrMultiProcessor");
    EXPECT_EQ(trimSourcePath("trailing\\"), "\\");
    EXPECT_EQ(trimSourcePath(nullptr), "");

    const OutOfMemory e("Quarn::Image::DataHandle::DataHandle", "D:\\build\\src\\qrImage", 96);
    EXPECT_EQ(std::tuple(e.function(), e.file(), e.line()),
        std::tuple("Quarn::Image::DataHandle::DataHandle", "\\qrImage", 96));
}

TEST(ExceptionCopy, CloneIsAnIndependentObjectWithTheSameContent)
{
    auto* original = new Locked("Quarn::Test::lock", "src/qrTest", 12, "Set", "add");
    EXPECT_EQ(original->refCount(), 1);
    original->acquire();
    ExceptionI* copy = original->clone();
    EXPECT_EQ(copy->refCount(), 1) << "a clone starts with its own single reference";
    EXPECT_EQ(copy->message(), original->message());
    EXPECT_EQ(std::tuple(copy->function(), copy->file(), copy->line()),
        std::tuple(original->function(), original->file(), 12));
    ASSERT_EQ(copy->arguments().size(), 2u);
    original->release();
    original->release();  // gone; the copy must not depend on it
    EXPECT_EQ(copy->message(), "'Set' is locked, cannot 'add'.");
    copy->release();
}

// An exception thrown with a text of its own says that text and nothing
// more, keeps its class's code, and keeps the text in a copy.
QUARN_EXCEPTION_TEXT_CLASS(Worded, Exception, 4, "Exception")

TEST(ExceptionOwnText, IsTheWholeMessageAndSurvivesACopy)
{
    const Worded e("Quarn::Test::acquire", "src/qrTest", 3, "Couldn't load suite.");
    EXPECT_EQ(e.message(), "Couldn't load suite.");
    EXPECT_TRUE(e.arguments().empty());
    EXPECT_EQ(e.code(), 4);
    const Quarn::auto_ref<ExceptionI> copy(e.clone());
    EXPECT_EQ(copy->message(), "Couldn't load suite.");
    EXPECT_EQ(copy->text(), "Couldn't load suite.");
    // A templated exception has no text of its own.
    EXPECT_TRUE(Locked("f", "src/qrTest", 1, "Set").text().empty());
}

}  // namespace
