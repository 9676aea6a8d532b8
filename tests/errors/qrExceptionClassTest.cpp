// Identity of every concrete exception class and what a copy keeps.
#include "qrException.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using namespace Quarn::Exceptions;

struct ClassCase {
    std::function<ExceptionI*()> make;
    int32_t code;
    const char* name;
    const char* family;
    std::function<bool(const ExceptionI*)> inFamily;
};

template <class E>
ClassCase row(int32_t code, const char* name, const char* family,
              std::function<bool(const ExceptionI*)> inFamily)
{
    return {[] { return new E("Quarn::Test::make", "src/qrTest", 1); }, code, name, family,
            std::move(inFamily)};
}

template <class F>
bool is(const ExceptionI* e)
{
    return dynamic_cast<const F*>(e) != nullptr;
}

TEST(ExceptionClasses, EachClassReportsItsCodeNameAndFamily)
{
    const ClassCase cases[] = {
        row<AssertionFailed>(22, "AssertionFailed", "Exception", is<Exception>),
        row<BadValue>(17, "BadValue", "Exception", is<Exception>),
        row<DuplicateObject>(11, "DuplicateObject", "Exception", is<Exception>),
        row<FunctionUndefined>(8, "FunctionUndefined", "Exception", is<Exception>),
        row<Locked>(21, "Locked", "Exception", is<Exception>),
        row<NullPointer>(9, "NullPointer", "Exception", is<Exception>),
        row<ObjectUndefined>(8, "ObjectUndefined", "Exception", is<Exception>),
        row<OutOfMemory>(5, "OutOfMemory", "Exception", is<Exception>),
        row<WrongType>(3, "WrongType", "Exception", is<Exception>),
        row<File::FileOpen>(4, "FileOpen", "FileException", is<File::FileException>),
        row<File::DirectoryMake>(4, "DirectoryMake", "FileException", is<File::FileException>),
        row<Thread::ThreadFailed>(4, "ThreadFailed", "ThreadException",
                                  is<Thread::ThreadException>),
        row<Param::ParamUndefined>(8, "ParamUndefined", "ParamException",
                                   is<Param::ParamException>),
        row<Param::ParamWrongType>(3, "ParamWrongType", "ParamException",
                                   is<Param::ParamException>),
        row<Wrapper::ClipUndefined>(8, "ClipUndefined", "WrapperException",
                                    is<Wrapper::WrapperException>),
        row<Wrapper::FetchImageFailed>(4, "FetchImageFailed", "WrapperException",
                                       is<Wrapper::WrapperException>),
        row<Wrapper::FetchNonOptionalImageFailed>(4, "FetchNonOptionalImageFailed",
                                                  "WrapperException",
                                                  is<Wrapper::WrapperException>),
        row<Wrapper::ParameterUndefined>(8, "ParameterUndefined", "WrapperException",
                                         is<Wrapper::WrapperException>),
        row<XML::Parse>(4, "Parse", "XMLException", is<XML::XMLException>),
        row<AfterEffects::BackwardMappingUndefined>(8, "BackwardMappingUndefined",
                                                    "AfterEffectsException",
                                                    is<AfterEffects::AfterEffectsException>),
        row<AfterEffects::ClipAlreadyDefined>(11, "ClipAlreadyDefined", "AfterEffectsException",
                                              is<AfterEffects::AfterEffectsException>),
        row<AfterEffects::ClipCheckoutFailed>(4, "ClipCheckoutFailed", "AfterEffectsException",
                                              is<AfterEffects::AfterEffectsException>),
        row<AfterEffects::FeatureUnsupported>(14, "FeatureUnsupported", "AfterEffectsException",
                                              is<AfterEffects::AfterEffectsException>),
        row<AfterEffects::ForwardMappingUndefined>(8, "ForwardMappingUndefined",
                                                   "AfterEffectsException",
                                                   is<AfterEffects::AfterEffectsException>),
        row<AfterEffects::InterruptedCritical>(4, "InterruptedCritical", "AfterEffectsException",
                                               is<AfterEffects::AfterEffectsException>),
        row<AfterEffects::NullSequenceData>(9, "NullSequenceData", "AfterEffectsException",
                                            is<AfterEffects::AfterEffectsException>),
        row<AfterEffects::ParamCheckoutFailed>(4, "ParamCheckoutFailed", "AfterEffectsException",
                                               is<AfterEffects::AfterEffectsException>),
        row<AfterEffects::ParameterAlreadyDefined>(11, "ParameterAlreadyDefined",
                                                   "AfterEffectsException",
                                                   is<AfterEffects::AfterEffectsException>),
        row<AfterEffects::TemporalUnsupported>(14, "TemporalUnsupported", "AfterEffectsException",
                                               is<AfterEffects::AfterEffectsException>),
        row<ExException::DuplicateTemplate>(11, "DuplicateTemplate", "ExException",
                                            is<ExException::ExException>),
        row<ExException::DuplicateTemplateFormat>(11, "DuplicateTemplateFormat", "ExException",
                                                  is<ExException::ExException>),
        row<ExException::ErrorEnumNeedsDefault>(13, "ErrorEnumNeedsDefault", "ExException",
                                                is<ExException::ExException>),
        row<ExException::TooManyTemplateVars>(10, "TooManyTemplateVars", "ExException",
                                              is<ExException::ExException>),
        row<ExException::UnregisteredErrorEnum>(12, "UnregisteredErrorEnum", "ExException",
                                                is<ExException::ExException>),
    };
    for (const ClassCase& c : cases) {
        const QrRef<ExceptionI> e = QrRef<ExceptionI>::adopt(c.make());
        EXPECT_EQ(e->code(), c.code) << c.name;
        EXPECT_EQ(e->storedCode(), c.code) << c.name;
        EXPECT_STREQ(e->name(), c.name);
        EXPECT_STREQ(e->family(), c.family) << c.name;
        EXPECT_TRUE(c.inFamily(e.get())) << c.name << " derives from the wrong family";
        const QrRef<ExceptionI> copy = QrRef<ExceptionI>::adopt(e->clone());
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
    EXPECT_EQ(e.function(), "Quarn::Image::DataHandle::DataHandle");
    EXPECT_EQ(e.file(), "\\qrImage");
    EXPECT_EQ(e.line(), 96);
}

TEST(ExceptionCopy, CloneIsAnIndependentObjectWithTheSameContent)
{
    auto* original = new Locked("Quarn::Test::lock", "src/qrTest", 12, "Set", "add");
    EXPECT_EQ(original->refCount(), 1);
    original->acquire();
    ExceptionI* copy = original->clone();
    EXPECT_EQ(copy->refCount(), 1) << "a clone starts with its own single reference";
    EXPECT_EQ(copy->message(), original->message());
    EXPECT_EQ(copy->function(), original->function());
    EXPECT_EQ(copy->file(), original->file());
    EXPECT_EQ(copy->line(), 12);
    ASSERT_EQ(copy->arguments().size(), 2u);
    original->release();
    original->release();  // gone; the copy must not depend on it
    EXPECT_EQ(copy->message(), "'Set' is locked, cannot 'add'.");
    copy->release();
}

TEST(ExceptionNames, FilledOnlyWhenAsked)
{
    NullPointer e("f", "src/qrTest", 1, "set");
    EXPECT_TRUE(e.className().empty());
    e.fillNames();
    EXPECT_EQ(e.className(), "NullPointer");
    EXPECT_EQ(e.familyName(), "Exception");
}

}  // namespace
