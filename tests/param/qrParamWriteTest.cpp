// Written XML forms of parameters and sets, byte for byte.
#include "qrParams.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace Quarn::Param;

namespace {

std::string written(const Param& p, bool full)
{
    std::ostringstream os;
    p.writeXML(os, full);
    return os.str();
}

}  // namespace

TEST(ParamWrite, FullFormCarriesTextsFlagsDefaultBoundsAndValue)
{
    Int i("count");
    i.setLabel("Count");
    i.setDefault(5);
    i.setMin(0);
    i.setValue(7);
    EXPECT_EQ(written(i, true),
        "  <int name='count'  label='Count' enabled='true' significant='true' "
        "animatable='true'  default='5'  min='0'  value='7' />\n");

    // Each flag from its own field; bounds in the order min, max, visual.
    String s("s");
    s.setDescription("d");
    s.setLabel("L");
    s.setSecret(true);
    s.setEnabled(false);
    s.setAnimatable(false);
    s.setDefault("a");
    s.setValue("b");
    EXPECT_EQ(written(s, true),
        "  <string name='s'  description='d'  label='L' secret='true' enabled='false' "
        "significant='true' animatable='false'  default='a'  value='b' />\n");
    Double d("d");
    d.setVisualMax(8.5);
    d.setVisualMin(1.5);
    d.setMax(10);
    d.setMin(-2);
    d.setValue(0.25);
    EXPECT_EQ(written(d, true),
        "  <double name='d' enabled='true' significant='true' animatable='true'  "
        "default='0'  min='-2'  max='10'  visualmin='1.5'  visualmax='8.5'  value='0.25' />\n");
}

TEST(ParamWrite, ShortFormHasOnlyNameAndValueWithBlankSeparatedComponentsOrTheLayout)
{
    Bool on("on");
    on.setValue(true);
    on.setLabel("ignored when short");
    on.setSecret(true);
    Int i("i");
    i.setMin(-1);
    i.setValue(3);
    RectD r("r");
    r.setValue(HvBox2 {1, 2, 3, 4});
    RectI ri("ri");
    ri.setValue(QrRectI {1, 2, 3, 4});
    Pos2D v("v");
    v.setValue(HvVec2 {0.5f, -2.0f});
    RGBAColour c("c");
    c.setValue(QrPixelRGBAf {0.25f, 0.5f, 1.0f, 0.0f});
    const PushButton go("go");
    const Roto shape("shape");
    // Groups list members in insertion order, duplicates too; pages write
    // rows, then columns, in ascending order.
    Group g("blend");
    g.addParam("mix");
    g.addParam("gain");
    g.addParam("mix");
    Page p("main");
    p.addParam("b", 1, 2);
    p.addParam("a", 0, 5);
    p.addParam("c", 1, 0);
    const std::pair<const Param&, const char*> rows[] = {
        {on, "  <bool name='on'  value='true' />\n"},
        {i, "  <int name='i'  value='3' />\n"},
        {r, "  <rectd name='r'  value='1 3 2 4' />\n"},
        {ri, "  <recti name='ri'  value='1 2 3 4' />\n"},
        {v, "  <pos2d name='v'  value='0.5 -2' />\n"},
        {c, "  <rgba name='c'  value='0.25 0.5 1 0' />\n"},
        {go, "  <pushbutton name='go' />\n"},
        {shape, "  <roto name='shape' />\n"},
        {g,
            "  <group name='blend' >\n<param name=\"mix\" />\n<param name=\"gain\" />\n<param name=\"mix\" "
            "/>\n"
            "</group>\n"},
        {p,
            "  <page name='main' >\n<row position=\"0\" >\n<param name=\"a\" position=\"5\" />\n</row>\n"
            "<row position=\"1\" >\n<param name=\"c\" position=\"0\" />\n<param name=\"b\" position=\"2\" "
            "/>\n"
            "</row>\n</page>\n"},
    };
    for (const auto& [param, expected] : rows)
        EXPECT_EQ(written(param, false), expected);
}

TEST(ParamWrite, ChoiceWritesLabelsAndFullyItsOptionsAndAliases)
{
    Choice c("mode");
    c.addOption("Soft", "", 4);
    c.addOption("Hard", "Sharp edges", 9);
    c.aliasOption("Smooth", "Soft");
    c.setDefaultIndex(0);
    c.setCurrent(1);
    EXPECT_EQ(written(c, false), "  <choice name='mode'  value='Hard'>\n  </choice>\n");
    EXPECT_EQ(written(c, true),
        "  <choice name='mode' enabled='true' significant='true' animatable='true'  "
        "default='Soft'  value='Hard'>\n"
        "    <option label='Soft' value='4'/>\n"
        "    <option label='Hard' description='Sharp edges' value='9'/>\n"
        "    <alias name='Smooth' original='Soft' />\n"
        "  </choice>\n");
}

TEST(ParamWrite, GradWritesValueAndFullyItsDefaultWithoutNodeIds)
{
    Grad g("g");
    QrColGradDescription v;
    v.setCyclic(true);
    v.setInterpolation(QrColGradDescription::Interpolation::cubic);
    v.nodes()[1].colour = QrPixelRGBAf {1.0f, 0.5f, 0.0f, 1.0f};
    v.nodes()[1].id = 7;
    g.setValue(v);
    const std::string value = "<value cyclic='true' interp='cubic'>\n"
                              "  <node value='0 0 0 1 ' position='0'/>\n"
                              "  <node value='1 0.5 0 1 ' position='1'/>\n"
                              "</value>\n";
    EXPECT_EQ(written(g, false), "  <grad name='g' >\n" + value + "  </grad>\n");
    EXPECT_EQ(written(g, true),
        "  <grad name='g' enabled='true' significant='true' animatable='true' >\n" + value +
            "<default cyclic='false' interp='linear'>\n"
            "  <node value='0 0 0 1 ' position='0'/>\n"
            "  <node value='1 1 1 1 ' position='1'/>\n"
            "</default>\n"
            "  </grad>\n");
}

TEST(ParamWrite, SetWrapsItsParametersInInsertionOrder)
{
    ParamSet set;
    set.addParam(Quarn::auto_ref<Param>(new Int("z")));
    set.addParam(Quarn::auto_ref<Param>(new Bool("a")));
    std::ostringstream os;
    set.writeXML(os, false);
    EXPECT_EQ(os.str(),
        "<paramset>\n"
        "  <int name='z'  value='0' />\n"
        "  <bool name='a'  value='false' />\n"
        "</paramset>\n");
}
