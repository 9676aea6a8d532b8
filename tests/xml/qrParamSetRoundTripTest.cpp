// Writing a set and reading the text back: a set holding every value
// parameter type, gradients included, must come back as written. Layout
// parameters are written too, but only an effect's layout defines them.
#include "qrParams.h"
#include "qrXMLReaders.h"
#include "qrXMLTestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace Quarn;

namespace {

template <class P> P* add(Param::ParamSet& set, const std::string& name)
{
    auto_ref<P> p(new P(name));
    set.addParam(p);
    return p.get();
}

// One parameter of every type, each away from its initial state. Numbers are
// short enough to survive the stream's default precision.
void fillEveryType(Param::ParamSet& set)
{
    auto* i = add<Param::Int>(set, "count");
    i->setLabel("Count");
    i->setDescription("drops");
    i->setDefault(5);
    i->setMin(0);
    i->setMax(100);
    i->setValue(42);
    auto* d = add<Param::Double>(set, "gain");
    d->setVisualMin(-1.0);
    d->setVisualMax(2.5);
    d->setValue(1.25);
    d->setAnimatable(false);
    add<Param::XSize>(set, "xs")->setValue(3.5);
    add<Param::YSize>(set, "ys")->setValue(-2.0);
    add<Param::XPos>(set, "xp")->setValue(10.0);
    add<Param::YPos>(set, "yp")->setValue(20.0);
    add<Param::Scale>(set, "sc")->setValue(0.75);
    add<Param::Angle>(set, "an")->setValue(1.5);
    add<Param::TimePos>(set, "tp")->setValue(12.0);
    add<Param::TimeSize>(set, "tz")->setValue(4.0);
    auto* v = add<Param::Double2>(set, "vec");
    v->setMin(HvVec2 {-5.0f, -6.0f});
    v->setValue(HvVec2 {1.5f, -2.5f});
    add<Param::Size2D>(set, "s2")->setValue(HvVec2 {2.0f, 3.0f});
    add<Param::Pos2D>(set, "p2")->setValue(HvVec2 {4.0f, 5.0f});
    add<Param::Scale2D>(set, "c2")->setValue(HvVec2 {0.5f, 0.25f});
    add<Param::Angle2D>(set, "a2")->setValue(HvVec2 {0.125f, 1.0f});
    add<Param::RectD>(set, "box")->setValue(HvBox2 {1.0f, 2.0f, 3.0f, 4.0f});
    auto* ri = add<Param::RectI>(set, "crop");
    ri->setMax(QrPointI {640, 480});
    ri->setValue(QrRectI {5, 6, 700, 8});
    auto* b = add<Param::Bool>(set, "on");
    b->setSecret(true);
    b->setValue(true);
    add<Param::String>(set, "title")->setValue("drizzle");
    add<Param::RGBColour>(set, "tint")->setValue(QrPixelRGBf {0.5f, 0.25f, 1.0f});
    add<Param::RGBAColour>(set, "edge")->setValue(QrPixelRGBAf {0.25f, 0.5f, 0.75f, 1.0f});
    auto* c = add<Param::Choice>(set, "method");
    c->addOption("Add", "adds", 3);
    c->addOption("Screen", "", 7);
    c->addOption("Multiply", "darker", 9);
    c->aliasOption("Plus", "Add");
    c->setDefaultIndex(1);
    c->setCurrent(2);
    auto* g = add<Param::Grad>(set, "ramp");
    QrColGradDescription ramp;
    ramp.setCyclic(true);
    ramp.setInterpolation(QrColGradDescription::Interpolation::cubic);
    ramp.addNode(QrPixelRGBAf {1.0f, 0.0f, 0.0f, 0.5f}, 0.5f);
    g->setValue(ramp);
    add<Param::Roto>(set, "shape");
    add<Param::PushButton>(set, "reset")->setEnabled(false);
}

std::string written(Param::ParamSet& set, bool full)
{
    std::ostringstream out;
    set.writeXML(out, full);
    return out.str();
}

class ParamSetRoundTrip : public ::testing::Test {
protected:
    void SetUp() override
    {
        XML::installXMLReaders();
        fillEveryType(*original);
    }
    auto_ref<Param::ParamSet> original {new Param::ParamSet(false)};
    auto_ref<Param::ParamSet> copy {new Param::ParamSet(false)};
};

}  // namespace

TEST_F(ParamSetRoundTrip, FullWriteDefinesAnEmptySetAndValuesWrittenShortReadBackIntoItLocked)
{
    const std::string text = written(*original, true);
    copy->parseXML(text);
    EXPECT_EQ(written(*copy, true), text);
    copy->setDefinitionLock(true);
    original->setIntParam("count", 17);
    original->setIntParam("method", 3);
    original->setBoolParam("on", false);
    original->set2DDoubleParam("vec", HvVec2 {7.0f, 8.0f});
    copy->parseXML(written(*original, false));
    EXPECT_EQ(written(*copy, true), written(*original, true));
    EXPECT_EQ(copy->getIntParam("method", 0.0), 3);
}

TEST_F(ParamSetRoundTrip, FullWriteReadsBackIntoItselfOnceLocked)
{
    // Unlocked, the document defines the choice's options a second time.
    const std::string text = written(*original, true);
    EXPECT_THROW(original->parseXML(text), Exceptions::DuplicateObject);
    original->setDefinitionLock(true);
    original->parseXML(text);
    EXPECT_EQ(written(*original, true), text);
}

TEST_F(ParamSetRoundTrip, WrittenPagesAndGroupsAreRefusedAsParameterElements)
{
    auto_ref<Param::ParamSet> layout(new Param::ParamSet(false));
    add<Param::Page>(*layout, "main")->addParam("count", 0, 1);
    add<Param::Group>(*layout, "basics")->addParam("count");
    std::ostringstream page, group;
    layout->params().hsObjects()[0]->writeXML(page, true);
    layout->params().hsObjects()[1]->writeXML(group, true);
    for (const std::string& element : {page.str(), group.str()}) {
        const std::string document = "<paramset>\n" + element + "</paramset>\n";
        EXPECT_NE(written(*layout, true).find(element), std::string::npos) << "written with the others";
        const std::string report = QrXMLTest::reportedError([&] { copy->parseXML(document); });
        EXPECT_NE(report.find("unknown type of parameter element"), std::string::npos) << document << report;
        EXPECT_TRUE(copy->params().hsObjects().empty());
    }
}
