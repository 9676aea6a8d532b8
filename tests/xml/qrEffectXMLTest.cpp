// Effect documents: the effect's own attributes and their string errors,
// clips with their defaults, fallbacks and lock, the children of "effect",
// the clip writer, the generic clip's image operations, and reading files.
#include "qrClipXMLElement.h"
#include "qrParamSetXMLElement.h"
#include "qrParams.h"
#include "qrXMLTestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace Quarn;
using QrXMLTest::hasTextArgument;
using QrXMLTest::thrown;
using Wrapper::BitDepth;
using Wrapper::Component;
using Wrapper::Cropping;
using Wrapper::EdgeMethod;
using Wrapper::Fields;

namespace {

class EffectXML : public QrXMLTest::EffectDocument {
protected:
    // The text of the string exception a parse throws, or a note.
    std::string thrownText(const std::string& document)
    {
        try {
            effect->parseXML(document);
        } catch (const std::string& text) {
            return text;
        }
        return "<no string exception>";
    }
    Wrapper::Clip& clip(const std::string& name) { return *effect->clips().hsGetObject(name, true); }
};

std::string attributesOf(const Wrapper::Clip& c, bool full = true)
{
    std::ostringstream os;
    c.writeAttributes(os, full);
    return os.str();
}

}  // namespace

TEST_F(EffectXML, EffectAttributesFillTheDescription)
{
    effect->parseXML("<effect name='Rain' label='Rain FX' group='Brastor 4' description='wet'"
                     " temporalAccess='yes' supportsTiles='1' fieldRenderTwiceAlways='true'"
                     " sequentialRender='vrai' fields='single' bitdepths=' 8  float\t16 '"
                     " components='alpha colour alpha'/>");
    EXPECT_EQ(effect->name(), "Rain");
    EXPECT_EQ(effect->label(), "Rain FX");
    EXPECT_EQ(effect->group(), "Brastor 4");
    EXPECT_EQ(effect->description(), "wet");
    EXPECT_TRUE(effect->temporalAccess() && effect->supportsTiles());
    EXPECT_TRUE(effect->fieldRenderTwiceAlways() && effect->sequentialRender());
    EXPECT_EQ(effect->fields(), Fields::single);
    EXPECT_EQ(effect->bitDepths(),
        (std::vector<BitDepth> {BitDepth::eight, BitDepth::floating, BitDepth::sixteen}));
    EXPECT_EQ(effect->components(),
        (std::vector<Component> {Component::alpha, Component::colour, Component::alpha}));
}

TEST_F(EffectXML, EffectFieldsTextsMapToTheirValues)
{
    const std::pair<const char*, Fields> cases[] = {{"both", Fields::both}, {"single", Fields::single},
        {"double", Fields::doubled}, {"interlaced", Fields::doubled}, {"Both", Fields::doubled}};
    for (const auto& [text, fields] : cases) {
        fresh();
        effect->setFields(Fields::single);
        effect->parseXML(std::string("<effect name='e' fields='") + text + "'/>");
        EXPECT_EQ(effect->fields(), fields) << text;
    }
}

TEST_F(EffectXML, EffectAttributeErrorsLeaveAsStrings)
{
    const std::pair<const char*, const char*> cases[] = {
        {"<effect label='x'/>", "missing 'name' attribute"},
        {"<effect name='e' bitdepths='8 32'/>", "unknown value '32'  in 'bitdepth' attribute"},
        {"<effect name='e' components='colour rgb'/>", "unknown value 'rgb'  in 'components' attribute"},
    };
    for (const auto& [document, text] : cases) {
        fresh();
        EXPECT_EQ(thrownText(document), text) << document;
    }
    EXPECT_EQ(effect->components(), std::vector<Component> {Component::colour})
        << "words before the bad one stay";
}

TEST_F(EffectXML, EveryReportedMessageHasItsText)
{
    const std::pair<const char*, const char*> cases[] = {
        {"<plugin name='e'/>", "At line1, element 'plugin' Expecting root XML element 'effect'"},
        {"<effect name='e'><widgets/></effect>",
            "At line1, element 'widgets' unknown type of effect element"},
        {"<effect name='e'><clipset><layer/></clipset></effect>",
            "At line1, element 'layer' unknown type of clipset element"},
        {"<effect name='e'><clipset><clip optional='1'/></clipset></effect>",
            "At line1, element 'clip' needs a name attribute"},
        {"<effect name='e'><clipset><clip name='S' colour='red'/></clipset></effect>",
            "At line1, element 'clip' Unknown attributes 'colour'"},
        {"<effect name='e'><Clipset/></effect>",
            "At line1, element 'Clipset' unknown type of effect element"},
        {"<effect name='e'><description><b/></description></effect>",
            "At line1, element 'b' cannot be a child element of description"},
    };
    for (const auto& [document, message] : cases) {
        fresh();
        EXPECT_EQ(report(document), message) << document;
    }
    // Locking the effect locks its clips too, and unlocking frees them.
    effect->setDefinitionLock(true);
    EXPECT_EQ(report("<effect name='e'><clipset><clip name='Matte'/></clipset></effect>"),
        "At line1, element 'clip' with name = 'Matte' is unknown.");
    effect->setDefinitionLock(false);
    EXPECT_FALSE(effect->clips().definitionLocked());
}

TEST_F(EffectXML, ClipAttributesDefaultsAndFallbacks)
{
    effect->parseXML("<effect name='e'><clipset>"
                     "<clip name='A' label='Source' ismask='yes' optional='1' tiles='true' temporal='vero'"
                     " cropping='crops' edges='wrap' yedges='reflect' fields='both'/>"
                     "<clip name='B' edges='repeat'/>"
                     "<clip name='C' cropping='methods' xedges='reflect' fields='single'/>"
                     "<clip name='D'/>"
                     "</clipset></effect>");
    const Wrapper::Clip& a = clip("A");
    EXPECT_EQ(a.label(), "Source");
    EXPECT_TRUE(a.isMask() && a.optional() && a.tiles() && a.temporal());
    EXPECT_EQ(a.cropping(), Cropping::crops);
    EXPECT_EQ(a.xEdges(), EdgeMethod::wrap);
    EXPECT_EQ(a.yEdges(), EdgeMethod::reflect);
    EXPECT_EQ(a.fields(), Fields::both);
    EXPECT_EQ(clip("B").xEdges(), EdgeMethod::repeat);
    EXPECT_EQ(clip("B").yEdges(), EdgeMethod::repeat);
    EXPECT_EQ(clip("C").cropping(), Cropping::methods);
    EXPECT_EQ(clip("C").xEdges(), EdgeMethod::reflect);
    EXPECT_EQ(clip("C").yEdges(), EdgeMethod::colour);
    EXPECT_EQ(clip("C").fields(), Fields::single);
    EXPECT_EQ(attributesOf(clip("D")), attributesOf(Wrapper::Clip("D"))) << "a new clip has the defaults";

    // Existing clips are updated; unknown texts fall back, whatever was set.
    effect->setDefinitionLock(true);
    effect->parseXML("<effect name='e'><clipset><clip name='A' cropping='Crops' edges='mirror'"
                     " fields='interlaced'/></clipset></effect>");
    EXPECT_EQ(a.cropping(), Cropping::none);
    EXPECT_EQ(a.xEdges(), EdgeMethod::colour);
    EXPECT_EQ(a.yEdges(), EdgeMethod::colour);
    EXPECT_EQ(a.fields(), Fields::doubled);
    EXPECT_EQ(effect->clips().hsObjects().size(), 4u);
}

TEST_F(EffectXML, ChildrenFillParametersLayoutAndDescription)
{
    effect->parseXML("<effect name='e'>\n"
                     "  <description>Adds <![CDATA[rain]]> &amp; mist</description>\n"
                     "  <paramset><int name='seed' value='3'/></paramset>\n"
                     "  <layout><group name='g'><param name='seed'/></group></layout>\n"
                     "</effect>");
    EXPECT_EQ(effect->description(), "Adds rain & mist");
    EXPECT_EQ(effect->getIntParam("seed", 0.0), 3);
    EXPECT_EQ(effect->layout().groups(), std::vector<std::string> {"g"});
}

TEST_F(EffectXML, ClipWriterListsEveryFieldOnItsOwnLine)
{
    Wrapper::Clip c("Matte");
    c.setLabel("Matte Layer");
    c.setOptional(true);
    c.setCropping(Cropping::methods);
    c.setXEdges(EdgeMethod::reflect);
    c.setYEdges(EdgeMethod::wrap);
    c.setFields(Fields::single);
    EXPECT_EQ(attributesOf(c),
        " name='Matte'  label='Matte Layer' \n"
        "    optional='true'\n    ismask='false'\n    tiles='false'\n"
        "    temporal='false'\n    cropping='methods'\n    fields='single'\n"
        "    xedges='reflect'\n    yedges='wrap'\n");
    EXPECT_EQ(attributesOf(Wrapper::Clip("S"), false),
        " name='S' \n"
        "    optional='false'\n    ismask='false'\n    tiles='false'\n"
        "    temporal='false'\n    cropping='none'\n    fields='double'\n"
        "    xedges='colour'\n    yedges='colour'\n");
}

TEST_F(EffectXML, GenericClipHasNoImage)
{
    struct ConnectedClip : Wrapper::Clip {
        using Wrapper::Clip::Clip;
        bool isConnected() override { return true; }
    };
    Wrapper::ClipSet clips;
    clips.hsAddObject(auto_ref<Wrapper::Clip>(new Wrapper::Clip("Source")));
    clips.hsAddObject(auto_ref<Wrapper::Clip>(new ConnectedClip("Matte")));
    EXPECT_FALSE(clips.isConnected("Source"));
    EXPECT_TRUE(clips.isConnected("Matte"));
    EXPECT_FALSE(clips.isConnected("Other"));
    EXPECT_THROW(clips.hsGetObject("Source", true)->fetchImageRaw(0.0, nullptr),
        Exceptions::Wrapper::FetchImageFailed);
    const auto e = thrown<Exceptions::ObjectUndefined>([&] { clips.hsGetObject("Other", true); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->function(), "Quarn::HostedSet<class Quarn::Wrapper::Clip>::hsGetObject");
}

TEST_F(EffectXML, MissingSetsAndFilesAreRefused)
{
    const auto set = thrown<Exceptions::NullPointer>(
        [] { XML::ParamSetXMLElement element {auto_ref<Param::ParamSet>()}; });
    ASSERT_TRUE(set);
    EXPECT_EQ(set->function(), "Quarn::Param::ParamSetXMLElement::ParamSetXMLElement");
    EXPECT_EQ(set->line(), 468);
    EXPECT_TRUE(hasTextArgument(*set, "Null ParamSet set in parser, must not be null"));

    const auto clips = thrown<Exceptions::NullPointer>([] { XML::ClipSetXMLElement element {nullptr}; });
    ASSERT_TRUE(clips);
    EXPECT_EQ(clips->function(), "Quarn::Wrapper::ClipSetXMLElement::ClipSetXMLElement");
    EXPECT_TRUE(hasTextArgument(*clips, "Null ClipSet set in parser, must not be null"));

    const std::pair<std::function<void(const std::string&)>, const char*> readers[] = {
        {[&](const std::string& path) { effect->parseXMLFile(path); },
            "Quarn::Wrapper::EffectI::parseXMLFile"},
        {[](const std::string& path) { Param::ParamSet().parseXMLFile(path); },
            "Quarn::Param::ParamSet::parseXMLFile"},
    };
    for (const auto& reader : readers) {
        const auto file =
            thrown<Exceptions::File::FileOpen>([&] { reader.first("/nonexistent/dir/effect.xml"); });
        ASSERT_TRUE(file);
        EXPECT_EQ(file->function(), reader.second);
        EXPECT_TRUE(hasTextArgument(*file, "/nonexistent/dir/effect.xml"));
        EXPECT_TRUE(hasTextArgument(*file, "open file for reading"));
    }
}

TEST_F(EffectXML, EffectAndSetFilesReadAsTheirText)
{
    QrXMLTest::TempFile effectFile("<effect name='big'><clipset>\n<clip name='clip1' edges='reflect'/>\n"
                                   "</clipset><paramset><int name='n' value='5'/></paramset></effect>\n");
    effect->parseXMLFile(effectFile.path());
    EXPECT_EQ(effect->name(), "big");
    EXPECT_EQ(clip("clip1").xEdges(), EdgeMethod::reflect);
    EXPECT_EQ(effect->getIntParam("n", 0.0), 5);

    QrXMLTest::TempFile setFile("<paramset><int name='n' value='6'/></paramset>\n");
    Param::ParamSet set;
    set.parseXMLFile(setFile.path());
    EXPECT_EQ(set.getIntParam("n", 0.0), 6);
}
