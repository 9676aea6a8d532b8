// Effect documents: the effect's own attributes and their string errors,
// clips with their defaults, fallbacks, lock and written form, the children
// of "effect", the generic clip's image operations, and reading files.
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
using Wrapper::EdgeMethod;
using Wrapper::Fields;

namespace {

class EffectXML : public QrXMLTest::Documents {
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
    // Bodies read inside "<effect name='e'><CHILD>", or as the whole document
    // when there is no child; each report follows "At line1, element ".
    const std::pair<std::string, std::vector<std::pair<const char*, const char*>>> cases[] = {
        {"",
            {{"<plugin name='e'/>", "'plugin' Expecting root XML element 'effect'"},
                {"<effect name='e'><widgets/></effect>", "'widgets' unknown type of effect element"},
                {"<effect name='e'><Clipset/></effect>", "'Clipset' unknown type of effect element"},
                {"<effect name='e'><description><b/></description></effect>",
                    "'b' cannot be a child element of description"}}},
        {"clipset",
            {{"<layer/>", "'layer' unknown type of clipset element"},
                {"<clip optional='1'/>", "'clip' needs a name attribute"},
                {"<clip name='S' colour='red'/>", "'clip' Unknown attributes 'colour'"}}},
        {"paramset",
            {{"<int value='3'/>", "'int' needs a name attribute"},
                {"<int name='a'/><double name='a'/>",
                    "'double' with name = 'a' exists and has a different type."},
                {"<int name='a'><min/></int>", "'min' cannot be a child element of int"},
                {"<float name='a'/>", "'float' unknown type of parameter element"},
                {"<page name='p'/>", "'page' unknown type of parameter element"},
                {"<Group name='g'><param name='a'/></Group>", "'Group' unknown type of parameter element"},
                {"<int name='a' colour='red'/>", "'int' Unknown attributes 'colour'"},
                {"<bool name='b' min='0' max='1'/>", "'bool' Unknown attributes 'max' 'min'"},
                {"<choice name='c'><option value='1'/></choice>",
                    "'option' choice option needs a label option"},
                {"<choice name='c'><alias original='x'/></choice>",
                    "'alias' alias element needs a 'name' attribute alias"},
                {"<choice name='c'><alias name='x'/></choice>",
                    "'alias' alias element needs an 'original' attribute alias"},
                {"<choice name='c'><opt/></choice>", "'opt' cannot be a child element of choice"},
                {"<colourgrad name='g'><value interp='spline'/></colourgrad>",
                    "'grad' Grad element has unknown value for the 'interp' attribute"},
                {"<colourgrad name='g'><value><node value='0 0 0 1'/></value></colourgrad>",
                    "'node' Grad node element missing 'position' attribute'"},
                {"<colourgrad name='g'><value><node position='0'/></value></colourgrad>",
                    "'node' Grad node element missing 'value' attribute'"},
                {"<colourgrad name='g'><stops/></colourgrad>",
                    "'stops' cannot be a child element of colourgrad"},
                {"<colourgrad name='g'><value><stop/></value></colourgrad>",
                    "'stop' cannot be a child element of value"},
                {"<int name='a'/><alias original='a'/>",
                    "'alias' alias element needs a 'name' attribute alias"},
                {"<int name='a'/><alias name='b'/>",
                    "'alias' alias element needs an 'original' attribute alias"}}},
        {"layout",
            {{"<page/>", "'page' needs a name attribute"},
                {"<page name='p'><column/></page>", "'column' page element needs position column"},
                {"<page name='p'><column position='0'><param position='1'/></column></page>",
                    "'param' page element needs a name "},
                {"<page name='p'><column position='0'><param name='a'/></column></page>",
                    "'param' page element needs position "},
                {"<page name='p'><row position='0'/></page>", "'row'  element is not handled"},
                {"<group/>", "'group' needs a name attribute"},
                {"<group name='g'><param/></group>", "'param' group param needs a name "},
                {"<group name='g'><member name='a'/></group>", "'member' cannot be a child element of group"},
                {"<panel/>", "'panel' cannot be a child element of layout"},
                {"<page name='p' colour='red'/>", "'page' Unknown attributes 'colour'"}}},
    };
    for (const auto& [child, bodies] : cases)
        for (const auto& [body, message] : bodies) {
            fresh();
            const std::string document = child.empty()
                ? body
                : "<effect name='e'><" + child + ">" + body + "</" + child + "></effect>";
            EXPECT_EQ(report(document), std::string("At line1, element ") + message) << body;
        }
    // Locking the effect locks its clips too, and unlocking frees them.
    effect->setDefinitionLock(true);
    EXPECT_EQ(report("<effect name='e'><clipset><clip name='Matte'/></clipset></effect>"),
        "At line1, element 'clip' with name = 'Matte' is unknown.");
    effect->setDefinitionLock(false);
    EXPECT_FALSE(effect->clips().definitionLocked());
}

// A clip's attributes as its writer lists them, each on its own line.
TEST_F(EffectXML, ClipAttributesDefaultsAndFallbacksAsWritten)
{
    effect->parseXML("<effect name='e'><clipset>"
                     "<clip name='A' label='Source' ismask='yes' optional='1' tiles='true' temporal='vero'"
                     " cropping='crops' edges='wrap' yedges='reflect' fields='both'/>"
                     "<clip name='B' edges='repeat'/>"
                     "<clip name='C' cropping='methods' xedges='reflect' fields='single'/>"
                     "<clip name='D'/>"
                     "</clipset></effect>");
    const std::string set = "    optional='true'\n    ismask='true'\n    tiles='true'\n    temporal='true'\n";
    const std::string unset =
        "    optional='false'\n    ismask='false'\n    tiles='false'\n    temporal='false'\n";
    EXPECT_EQ(attributesOf(clip("A")),
        " name='A'  label='Source' \n" + set +
            "    cropping='crops'\n    fields='both'\n    xedges='wrap'\n    yedges='reflect'\n");
    EXPECT_EQ(attributesOf(clip("B")),
        " name='B' \n" + unset +
            "    cropping='none'\n    fields='double'\n    xedges='repeat'\n    yedges='repeat'\n");
    EXPECT_EQ(attributesOf(clip("C")),
        " name='C' \n" + unset +
            "    cropping='methods'\n    fields='single'\n    xedges='reflect'\n    yedges='colour'\n");
    EXPECT_EQ(attributesOf(clip("D"), false),
        " name='D' \n" + unset +
            "    cropping='none'\n    fields='double'\n    xedges='colour'\n    yedges='colour'\n");

    // Existing clips are updated; unknown texts fall back, whatever was set.
    effect->setDefinitionLock(true);
    effect->parseXML("<effect name='e'><clipset><clip name='A' cropping='Crops' edges='mirror'"
                     " fields='interlaced'/></clipset></effect>");
    EXPECT_EQ(attributesOf(clip("A")),
        " name='A'  label='Source' \n" + set +
            "    cropping='none'\n    fields='double'\n    xedges='colour'\n    yedges='colour'\n");
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
