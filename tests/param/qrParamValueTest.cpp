// Values of the typed parameters: clamping, text encodings, initial state and
// reading attributes from an element.
#include "qrParams.h"

#include <gtest/gtest.h>
#include <limits>

using namespace Quarn::Param;
using Quarn::AttributeList;
using Node = QrColGradDescription::Node;

TEST(ParamClamp, PresentBoundsClampAndValuesInsideStay)
{
    Int p("count");
    p.setMin(0);
    p.setMax(10);
    for (auto [in, out] : {std::pair {-3, 0}, {12, 10}, {0, 0}, {10, 10}, {4, 4}}) {
        p.setValue(in);
        EXPECT_EQ(p.value(), out) << "set " << in;
    }

    // Only a present bound clamps; visual bounds never do.
    Double d("a");
    d.setMin(-1.5);
    d.setVisualMin(0.0);
    d.setVisualMax(1.0);
    for (auto [in, out] : {std::pair {1e12, 1e12}, {-1.0, -1.0}, {-2.0, -1.5}}) {
        d.setValue(in);
        EXPECT_EQ(d.value(), out) << "set " << in;
    }
    Int unbounded("b");
    unbounded.setValue(-2147483647);
    EXPECT_EQ(unbounded.value(), -2147483647);
}

TEST(ParamClamp, VectorsAndBoxesClampEachComponentAgainstItsAxis)
{
    Double2 v("v");
    v.setMin(HvVec2 {0.0f, -1.0f});
    v.setMax(HvVec2 {1.0f, 1.0f});
    v.setValue(HvVec2 {-2.0f, 5.0f});
    EXPECT_EQ(v.value(), (HvVec2 {0.0f, 1.0f}));
    v.setValue(HvVec2 {0.5f, -3.0f});
    EXPECT_EQ(v.value(), (HvVec2 {0.5f, -1.0f}));

    RectD box("box");
    box.setMin(HvVec2 {0.0f, 10.0f});
    box.setMax(HvVec2 {5.0f, 20.0f});
    box.setValue(HvBox2 {-1.0f, 9.0f, 5.0f, 25.0f});  // x1 x2 y1 y2
    EXPECT_EQ(box.value(), (HvBox2 {0.0f, 5.0f, 10.0f, 20.0f}));

    RectI rect("rect");
    rect.setMin(QrPointI {0, 100});
    rect.setMax(QrPointI {50, 200});
    rect.setValue(QrRectI {-10, 90, 60, 250});
    EXPECT_EQ(rect.value(), (QrRectI {0, 100, 50, 200}));
    rect.setValue(QrRectI {10, 150, 20, 160});
    EXPECT_EQ(rect.value(), (QrRectI {10, 150, 20, 160}));
}

TEST(ParamTypes, EveryTypeReportsItsNameAndKind)
{
    // Each type name, with the kind of the doubles and 2D doubles after it.
    using P = Quarn::auto_ref<Param>;
    const P params[] = {P(new Int("a")), P(new Double("a")), P(new XSize("a")), P(new YSize("a")),
        P(new XPos("a")), P(new YPos("a")), P(new Scale("a")), P(new Angle("a")), P(new TimePos("a")),
        P(new TimeSize("a")), P(new Double2("a")), P(new Size2D("a")), P(new Pos2D("a")), P(new Scale2D("a")),
        P(new Angle2D("a")), P(new RectD("a")), P(new RectI("a")), P(new Bool("a")), P(new String("a")),
        P(new RGBColour("a")), P(new RGBAColour("a")), P(new Choice("a")), P(new Grad("a")), P(new Roto("a")),
        P(new PushButton("a")), P(new Group("a")), P(new Page("a"))};
    std::string kinds;
    for (const P& p : params) {
        kinds += " " + p->typeName();
        if (auto* d = dynamic_cast<Double*>(p.get()))
            kinds += std::to_string(d->doubleKind());
        else if (auto* d2 = dynamic_cast<Double2*>(p.get()))
            kinds += std::to_string(d2->double2Kind());
    }
    EXPECT_EQ(kinds,
        " int double0 xsize1 ysize2 xpos3 ypos4 scale5 angle6 timepos7 timesize8 double20 size2d1 pos2d2"
        " scale2d3 angle2d4 rectd recti bool string rgb rgba choice grad roto pushbutton group page");
}

TEST(ParamTypes, NewParametersAreInvalidWithoutBoundsAndGradientsBlackToWhite)
{
    // The flags a new parameter starts with are pinned by the written forms.
    Int p("a");
    EXPECT_FALSE(p.valid());
    EXPECT_EQ(p.min(), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(p.max(), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(Double2("b").max(), (HvVec2 {2147483648.0f, 2147483648.0f}));

    const QrPixelRGBAf black {0, 0, 0, 1}, white {1, 1, 1, 1};
    QrColGradDescription g = Grad("g").value();
    EXPECT_EQ(g.nodes(), (std::vector<Node> {{black, 0.0f, 0}, {white, 1.0f, 1}}));
    EXPECT_EQ(g.interpolation(), QrColGradDescription::Interpolation::linear);
    EXPECT_FALSE(g.cyclic());
    g.addNode(QrPixelRGBAf {1, 0, 0, 1}, 0.5f);
    g.addNode(QrPixelRGBAf {0, 1, 0, 1}, 0.25f, 9);
    g.addNode(white, 0.5f, 4);
    EXPECT_EQ(g.nodes(),
        (std::vector<Node> {{black, 0.0f, 0}, {QrPixelRGBAf {0, 1, 0, 1}, 0.25f, 9},
            {QrPixelRGBAf {1, 0, 0, 1}, 0.5f, 2}, {white, 0.5f, 4}, {white, 1.0f, 1}}));
    EXPECT_EQ(g.nextFreeId(), 10);
    g.addNode(white, 0.75f, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(g.nextFreeId(), 3) << "nothing above the largest int: the smallest unused id";
    g.reset();
    EXPECT_EQ(g.nodes(), (std::vector<Node> {{QrPixelRGBAf {}, 0.0f, 0}, {QrPixelRGBAf {}, 1.0f, 1}}));
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

TEST(ParamText, BoolTextsReadAsTheWordsAndNumbersSay)
{
    for (const char* text : {"Yes", "TRUEX", "vrai", "Vero", "1", "0x10", "010", " \t\ntrue", "-2"})
        EXPECT_TRUE(Text::parseBool(text)) << "'" << text << "'";
    for (const char* text : {"false", "0", "no", "", "0x0", "nope1", "yeah"})
        EXPECT_FALSE(Text::parseBool(text)) << "'" << text << "'";
}

TEST(ParamText, ParsedValuesAreStoredUnclampedAndUnreadableTextsChangeNothing)
{
    Int i("i");
    i.setMax(5);
    i.parseValue("9");
    i.parseValue("abc");
    EXPECT_EQ(i.value(), 9);

    Double2 v("v");
    v.parseValue("1 2");
    v.parseValue("3 x");  // half a vector is not a vector
    EXPECT_EQ(v.value(), (HvVec2 {1.0f, 2.0f}));

    String s("s");
    s.parseValue("   two words");
    EXPECT_EQ(s.value(), "two") << "one word without leading blanks";
}

TEST(ParamText, BoxTextIsX1Y1X2Y2WhileStorageIsX1X2Y1Y2)
{
    HvBox2 box;
    ASSERT_TRUE(Text::read("1 3 2 4", box));
    EXPECT_EQ(box, (HvBox2 {1.0f, 2.0f, 3.0f, 4.0f}));
    QrRectI rect;
    ASSERT_TRUE(Text::read("1 3 2 4", rect));
    EXPECT_EQ(rect, (QrRectI {1, 3, 2, 4}));
}

TEST(ParamReadAttributes, DefaultWithoutValueBecomesTheClampedValueValueWinsAndFlagsAreRead)
{
    Int p("p");
    AttributeList a {{"min", "0"}, {"max", "10"}, {"default", "15"}};
    p.readAttributes(a);
    EXPECT_EQ(p.defaultValue(), 15);
    EXPECT_EQ(p.value(), 10);
    EXPECT_TRUE(p.hasMin() && p.hasMax());

    Double d("d");
    AttributeList ad {{"default", "2.5"}, {"value", "4"}};
    d.readAttributes(ad);
    EXPECT_EQ(d.defaultValue(), 2.5);
    EXPECT_EQ(d.value(), 4.0);

    // Common attributes set the texts and each flag from its own attribute.
    Bool b("b");
    AttributeList ab {{"default", "yes"}, {"label", "On"}, {"description", "Turns it on"}, {"valid", "1"},
        {"secret", "true"}, {"enabled", "no"}, {"significant", "0"}, {"animatable", "false"}};
    b.readAttributes(ab);
    EXPECT_TRUE(b.value());
    EXPECT_EQ(b.label(), "On");
    EXPECT_EQ(b.description(), "Turns it on");
    EXPECT_TRUE(b.valid() && b.secret());
    EXPECT_FALSE(b.enabled() || b.significant() || b.animatable());
}

TEST(ParamReadAttributes, LockedDefinitionKeepsDefaultAndFlagsButTakesTextsBoundsAndValue)
{
    ParamSet set;
    Quarn::auto_ref<Int> p(new Int("p"));
    p->setDefault(3);
    set.addParam(p);
    Quarn::auto_ref<Double> d(new Double("d"));
    d->setDefault(1.5);
    d->setValue(9.0);
    set.addParam(d);
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

    AttributeList ad {{"default", "4"}};
    d->readAttributes(ad);
    EXPECT_EQ(d->value(), 1.5) << "a default without a value applies the stored default";
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
