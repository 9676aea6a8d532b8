// Values of the typed parameters: clamping, text encodings, initial state and
// reading attributes from an element.
#include "qrParams.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Quarn::Param;
using Quarn::AttributeList;

// ---- clamping -------------------------------------------------------------

TEST(ParamClamp, IntClampsBelowMinAndAboveMaxButKeepsValuesInside)
{
    Int p("count");
    p.setMin(0);
    p.setMax(10);
    const struct {
        int in, out;
    } cases[] = {{-3, 0}, {12, 10}, {0, 0}, {10, 10}, {4, 4}};
    for (auto c : cases) {
        p.setValue(c.in);
        EXPECT_EQ(p.value(), c.out) << "set " << c.in;
    }
}

TEST(ParamClamp, OnlyPresentBoundsClamp)
{
    Double onlyMin("a");
    onlyMin.setMin(-1.5);
    onlyMin.setValue(1e12);
    EXPECT_EQ(onlyMin.value(), 1e12);
    onlyMin.setValue(-2.0);
    EXPECT_EQ(onlyMin.value(), -1.5);

    Int unbounded("b");
    unbounded.setValue(-2147483647);
    EXPECT_EQ(unbounded.value(), -2147483647);
}

TEST(ParamClamp, VisualBoundsNeverClamp)
{
    Double p("slider");
    p.setVisualMin(0.0);
    p.setVisualMax(1.0);
    p.setValue(-5.0);
    EXPECT_EQ(p.value(), -5.0);
    p.setValue(7.0);
    EXPECT_EQ(p.value(), 7.0);
}

TEST(ParamClamp, Double2ClampsEachComponentOnItsOwn)
{
    Double2 p("v");
    p.setMin(HvVec2 {0.0f, -1.0f});
    p.setMax(HvVec2 {1.0f, 1.0f});
    p.setValue(HvVec2 {-2.0f, 5.0f});
    EXPECT_EQ(p.value(), (HvVec2 {0.0f, 1.0f}));
    p.setValue(HvVec2 {0.5f, -3.0f});
    EXPECT_EQ(p.value(), (HvVec2 {0.5f, -1.0f}));
}

TEST(ParamClamp, RectDClampsXEdgesAgainstXBoundsAndYEdgesAgainstYBounds)
{
    RectD p("box");
    p.setMin(HvVec2 {0.0f, 10.0f});
    p.setMax(HvVec2 {5.0f, 20.0f});
    HvBox2 in;
    in.x1 = -1.0f;
    in.x2 = 9.0f;
    in.y1 = 5.0f;
    in.y2 = 25.0f;
    p.setValue(in);
    EXPECT_EQ(p.value().x1, 0.0f);
    EXPECT_EQ(p.value().x2, 5.0f);
    EXPECT_EQ(p.value().y1, 10.0f);
    EXPECT_EQ(p.value().y2, 20.0f);
}

TEST(ParamClamp, RectIClampsXEdgesAgainstXBoundsAndYEdgesAgainstYBounds)
{
    RectI p("rect");
    p.setMin(QrPointI {0, 100});
    p.setMax(QrPointI {50, 200});
    p.setValue(QrRectI {-10, 90, 60, 250});
    EXPECT_EQ(p.value(), (QrRectI {0, 100, 50, 200}));
    p.setValue(QrRectI {10, 150, 20, 160});
    EXPECT_EQ(p.value(), (QrRectI {10, 150, 20, 160}));
}

// ---- initial state and kinds ----------------------------------------------

TEST(ParamTypes, EveryTypeReportsItsNameAndKind)
{
    const struct {
        Quarn::auto_ref<Param> p;
        const char* type;
        int kind;
    } rows[] = {
        {Quarn::auto_ref<Param>(new Int("a")), "int", -1},
        {Quarn::auto_ref<Param>(new Double("a")), "double", 0},
        {Quarn::auto_ref<Param>(new XSize("a")), "xsize", 1},
        {Quarn::auto_ref<Param>(new YSize("a")), "ysize", 2},
        {Quarn::auto_ref<Param>(new XPos("a")), "xpos", 3},
        {Quarn::auto_ref<Param>(new YPos("a")), "ypos", 4},
        {Quarn::auto_ref<Param>(new Scale("a")), "scale", 5},
        {Quarn::auto_ref<Param>(new Angle("a")), "angle", 6},
        {Quarn::auto_ref<Param>(new TimePos("a")), "timepos", 7},
        {Quarn::auto_ref<Param>(new TimeSize("a")), "timesize", 8},
        {Quarn::auto_ref<Param>(new Double2("a")), "double2", 0},
        {Quarn::auto_ref<Param>(new Size2D("a")), "size2d", 1},
        {Quarn::auto_ref<Param>(new Pos2D("a")), "pos2d", 2},
        {Quarn::auto_ref<Param>(new Scale2D("a")), "scale2d", 3},
        {Quarn::auto_ref<Param>(new Angle2D("a")), "angle2d", 4},
        {Quarn::auto_ref<Param>(new RectD("a")), "rectd", -1},
        {Quarn::auto_ref<Param>(new RectI("a")), "recti", -1},
        {Quarn::auto_ref<Param>(new Bool("a")), "bool", -1},
        {Quarn::auto_ref<Param>(new String("a")), "string", -1},
        {Quarn::auto_ref<Param>(new RGBColour("a")), "rgb", -1},
        {Quarn::auto_ref<Param>(new RGBAColour("a")), "rgba", -1},
        {Quarn::auto_ref<Param>(new Choice("a")), "choice", -1},
        {Quarn::auto_ref<Param>(new Grad("a")), "grad", -1},
        {Quarn::auto_ref<Param>(new Roto("a")), "roto", -1},
        {Quarn::auto_ref<Param>(new PushButton("a")), "pushbutton", -1},
        {Quarn::auto_ref<Param>(new Group("a")), "group", -1},
        {Quarn::auto_ref<Param>(new Page("a")), "page", -1},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.p->typeName(), row.type);
        if (auto* d = dynamic_cast<Double*>(row.p.get()))
            EXPECT_EQ(d->doubleKind(), row.kind) << row.type;
        else if (auto* d2 = dynamic_cast<Double2*>(row.p.get()))
            EXPECT_EQ(d2->double2Kind(), row.kind) << row.type;
        else
            EXPECT_EQ(row.kind, -1) << row.type << " should carry a kind";
    }
}

TEST(ParamTypes, NewParametersStartWithDefaultFlagsAndNoBounds)
{
    Int p("a");
    EXPECT_FALSE(p.secret());
    EXPECT_TRUE(p.enabled());
    EXPECT_TRUE(p.significant());
    EXPECT_TRUE(p.animatable());
    EXPECT_FALSE(p.valid());
    EXPECT_EQ(p.paramSet(), nullptr);
    EXPECT_FALSE(p.hasMin() || p.hasMax() || p.hasVisualMin() || p.hasVisualMax());
    EXPECT_EQ(p.min(), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(p.max(), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(Double2("b").max(), (HvVec2 {2147483648.0f, 2147483648.0f}));
}

TEST(ParamTypes, NewGradientRunsFromOpaqueBlackToOpaqueWhite)
{
    Grad g("g");
    const auto& nodes = g.value().nodes();
    ASSERT_EQ(nodes.size(), 2u);
    EXPECT_EQ(nodes[0].colour, (QrPixelRGBAf {0, 0, 0, 1}));
    EXPECT_EQ(nodes[0].position, 0.0f);
    EXPECT_EQ(nodes[0].id, 0);
    EXPECT_EQ(nodes[1].colour, (QrPixelRGBAf {1, 1, 1, 1}));
    EXPECT_EQ(nodes[1].position, 1.0f);
    EXPECT_EQ(nodes[1].id, 1);
    EXPECT_EQ(g.value().interpolation(), QrColGradDescription::Interpolation::linear);
    EXPECT_FALSE(g.value().cyclic());

    QrColGradDescription reset = g.value();
    reset.reset();
    EXPECT_EQ(reset.nodes()[1].colour, (QrPixelRGBAf {0, 0, 0, 0}));
    EXPECT_EQ(reset.nodes()[1].position, 1.0f);
}

TEST(ParamTypes, GradientNodesStaySortedAndTakeTheNextFreeId)
{
    QrColGradDescription g;
    g.addNode(QrPixelRGBAf {1, 0, 0, 1}, 0.5f);
    g.addNode(QrPixelRGBAf {0, 1, 0, 1}, 0.25f, 9);
    const auto& n = g.nodes();
    ASSERT_EQ(n.size(), 4u);
    EXPECT_EQ(n[1].position, 0.25f);
    EXPECT_EQ(n[2].position, 0.5f);
    EXPECT_EQ(n[2].id, 2);
    EXPECT_EQ(g.nextFreeId(), 10);
}

TEST(ParamIntegrate, UnhostedIntegralIsSpanTimesValueAndDerivativeIsZero)
{
    Double d("d");
    d.setValue(2.5);
    EXPECT_DOUBLE_EQ(d.integrate(1.0, 5.0), 10.0);
    EXPECT_EQ(d.differentiate(3.0), 0.0);

    Double2 v("v");
    v.setValue(HvVec2 {0.1f, -3.0f});
    const HvVec2 area = v.integrate(0.0, 3.0);
    EXPECT_EQ(area.x, 3.0f * 0.1f);  // single precision, as stored
    EXPECT_EQ(area.y, -9.0f);
    EXPECT_EQ(v.differentiate(1.0), (HvVec2 {0.0f, 0.0f}));
}

// ---- text encodings ------------------------------------------------------

TEST(ParamText, BoolTextsReadAsTheWordsAndNumbersSay)
{
    const struct {
        const char* text;
        bool value;
    } rows[] = {
        {"Yes", true},
        {"TRUEX", true},
        {"vrai", true},
        {"Vero", true},
        {"1", true},
        {"0x10", true},
        {"010", true},
        {" \t\ntrue", true},
        {"-2", true},
        {"false", false},
        {"0", false},
        {"no", false},
        {"", false},
        {"0x0", false},
        {"nope1", false},
        {"yeah", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Text::parseBool(row.text), row.value) << "'" << row.text << "'";
}

TEST(ParamText, StringReadsOneWordWithoutLeadingBlanks)
{
    String s("s");
    s.parseValue("   two words");
    EXPECT_EQ(s.value(), "two");
}

TEST(ParamText, UnreadableNumbersLeaveTheValueAsItWas)
{
    Int i("i");
    i.parseValue("7");
    i.parseValue("abc");
    EXPECT_EQ(i.value(), 7);

    Double2 v("v");
    v.parseValue("1 2");
    v.parseValue("3 x");  // half a vector is not a vector
    EXPECT_EQ(v.value(), (HvVec2 {1.0f, 2.0f}));
}

TEST(ParamText, BoxTextIsX1Y1X2Y2WhileStorageIsX1X2Y1Y2)
{
    HvBox2 box;
    ASSERT_TRUE(Text::read("1 3 2 4", box));
    EXPECT_EQ(box.x1, 1.0f);
    EXPECT_EQ(box.x2, 2.0f);
    EXPECT_EQ(box.y1, 3.0f);
    EXPECT_EQ(box.y2, 4.0f);

    QrRectI rect;
    ASSERT_TRUE(Text::read("1 3 2 4", rect));
    EXPECT_EQ(rect, (QrRectI {1, 3, 2, 4}));
}

TEST(ParamText, ParseValueStoresWithoutClamping)
{
    Int i("i");
    i.setMax(5);
    i.parseValue("9");
    EXPECT_EQ(i.value(), 9);
}

// ---- reading attributes ---------------------------------------------------

TEST(ParamReadAttributes, DefaultWithoutValueBecomesTheClampedValue)
{
    Int p("p");
    AttributeList a {{"min", "0"}, {"max", "10"}, {"default", "15"}};
    p.readAttributes(a);
    EXPECT_EQ(p.defaultValue(), 15);
    EXPECT_EQ(p.value(), 10);
    EXPECT_TRUE(p.hasMin() && p.hasMax());
}

TEST(ParamReadAttributes, ValueWinsOverDefault)
{
    Double p("p");
    AttributeList a {{"default", "2.5"}, {"value", "4"}};
    p.readAttributes(a);
    EXPECT_EQ(p.defaultValue(), 2.5);
    EXPECT_EQ(p.value(), 4.0);

    Bool b("b");
    AttributeList ab {{"default", "yes"}};
    b.readAttributes(ab);
    EXPECT_TRUE(b.value());
}

TEST(ParamReadAttributes, CommonAttributesSetTextsAndFlags)
{
    Bool p("p");
    AttributeList a {{"label", "On"}, {"description", "Turns it on"}, {"valid", "1"}, {"secret", "true"},
        {"enabled", "no"}, {"significant", "0"}, {"animatable", "false"}};
    p.readAttributes(a);
    EXPECT_EQ(p.label(), "On");
    EXPECT_EQ(p.description(), "Turns it on");
    EXPECT_TRUE(p.valid());
    EXPECT_TRUE(p.secret());
    EXPECT_FALSE(p.enabled());
    EXPECT_FALSE(p.significant());
    EXPECT_FALSE(p.animatable());
}

TEST(ParamReadAttributes, LockedDefinitionKeepsDefaultAndFlagsButTakesTextsBoundsAndValue)
{
    ParamSet set;
    Quarn::auto_ref<Int> p(new Int("p"));
    p->setDefault(3);
    set.addParam(p);
    set.setDefinitionLock(true);

    AttributeList a {{"default", "8"}, {"secret", "true"}, {"enabled", "false"}, {"significant", "false"},
        {"animatable", "false"}, {"label", "L"}, {"description", "D"}, {"valid", "true"}, {"min", "5"},
        {"value", "1"}};
    p->readAttributes(a);
    EXPECT_EQ(p->defaultValue(), 3);
    EXPECT_FALSE(p->secret());
    EXPECT_TRUE(p->enabled() && p->significant() && p->animatable());
    EXPECT_EQ(p->label(), "L");
    EXPECT_EQ(p->description(), "D");
    EXPECT_TRUE(p->valid());
    EXPECT_EQ(p->min(), 5);
    EXPECT_EQ(p->value(), 5);  // the new minimum applies to the new value
    EXPECT_TRUE(a.unread().empty()) << "ignored attributes are still known attributes";
}

TEST(ParamReadAttributes, AttributesATypeDoesNotKnowStayUnread)
{
    Bool b("b");
    AttributeList a {{"min", "0"}, {"value", "true"}, {"colour", "red"}};
    b.readAttributes(a);
    EXPECT_EQ(a.unread(), (std::vector<std::string> {"colour", "min"}));

    Choice c("c");
    AttributeList ac {{"label", "x"}, {"value", "A"}};
    c.readAttributes(ac);
    EXPECT_EQ(ac.unread(), (std::vector<std::string> {"value"}))
        << "a choice's value belongs to its element, read once the options are known";
}

TEST(ParamReadAttributes, LockedDefaultWithoutValueAppliesTheStoredDefault)
{
    ParamSet set;
    Quarn::auto_ref<Double> p(new Double("p"));
    p->setDefault(1.5);
    p->setValue(9.0);
    set.addParam(p);
    set.setDefinitionLock(true);
    AttributeList a {{"default", "4"}};
    p->readAttributes(a);
    EXPECT_EQ(p->value(), 1.5);
}
