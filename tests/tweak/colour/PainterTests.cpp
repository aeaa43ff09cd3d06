#include "ColourTestSupport.h"

#include "platform/runtime/Substrate.h"
#include "platform/uikit/UIUserInterfaceStyleArbiter.h"
#include "platform/uikit/UIView.h"
#include "tweak/styling/UIView+Tintwell.h"

#include <string>
#include <vector>

using namespace colourtest;

namespace {

// What the painter set, in order, recorded around the platform's own setters.
std::vector<std::string>* paintLog;
void (*previousSetBorderWidth)(id, SEL, double);
void (*previousSetBorderColor)(id, SEL, id);
void (*previousSetBackgroundColor)(id, SEL, id);

void installPaintLog()
{
    static bool installed = [] {
        MSHookMessageEx(CALayer::classObject(), sel_registerName("setBorderWidth:"),
            +[](id self, SEL sel, double width) { if (paintLog) paintLog->push_back("width"); previousSetBorderWidth(self, sel, width); }, &previousSetBorderWidth);
        MSHookMessageEx(CALayer::classObject(), sel_registerName("setBorderColor:"),
            +[](id self, SEL sel, id color) { if (paintLog) paintLog->push_back("border"); previousSetBorderColor(self, sel, color); }, &previousSetBorderColor);
        MSHookMessageEx(UIView::classObject(), sel_registerName("setBackgroundColor:"),
            +[](id self, SEL sel, id color) { if (paintLog) paintLog->push_back("background"); previousSetBackgroundColor(self, sel, color); }, &previousSetBackgroundColor);
        return true;
    }();
    (void)installed;
}

class Painter : public ColourTest {
protected:
    void SetUp() override
    {
        ColourTest::SetUp();
        installPaintLog();
        m_previousStyle = UIUserInterfaceStyleArbiter::sharedInstance()->currentStyle();
        freshView();
    }

    void freshView()
    {
        m_view = UIView::create();
        // Untouched properties keep these, so "left unchanged" can be seen.
        m_view->setBackgroundColor(rgb(0, 1, 0, 0.25).get());
        m_view->layer()->setBorderWidth(9);
        m_view->layer()->setBorderColor(rgb(0, 1, 0, 0.25)->CGColor().get());
    }

    void TearDown() override
    {
        paintLog = nullptr;
        UIUserInterfaceStyleArbiter::sharedInstance()->setCurrentStyle(m_previousStyle);
    }

    void paint(long style, long appearance, const UIColor* color)
    {
        UIUserInterfaceStyleArbiter::sharedInstance()->setCurrentStyle(appearance);
        // Every field distinct, so a field read in the wrong place shows.
        auto record = QFConfig::newQFConfigWithBTBAFABTDBDCLBLCstyle(3, 80, 60, 4, 50, 70, 30, 40, style);
        msgSend<void>(m_view, SELECTOR("setColorWithQFConfig:color:"), record, color);
    }

    double borderAlpha() const { return m_view->layer()->borderColor() ? m_view->layer()->borderColor()->alpha() : -1; }
    double backgroundAlpha() const { return m_view->backgroundColor() ? m_view->backgroundColor()->alpha() : -1; }

    long m_previousStyle { 0 };
    RefPtr<UIView> m_view;
};

TEST_F(Painter, EachStylePaintsItsPropertiesWithTheRecordsOpacities)
{
    struct Case {
        long style, appearance;
        double width, border, background;
    };
    const double untouched = 0.25;
    for (auto c : std::initializer_list<Case> {
             { 0, 1, 3, 0.8, untouched }, { 0, 2, 3, 0.8, untouched },
             { 1, 1, 9, untouched, 0.6 }, { 1, 2, 9, untouched, 0.6 },
             { 2, 1, 4, 0.4, 0.3 }, { 2, 2, 4, 0.7, 0.5 }, { 2, 0, 4, 0.7, 0.5 },
             { 5, 1, 4, 0.4, 0.3 }, { 5, 2, 4, 0.7, 0.5 }, { 5, 0, 4, 0.7, 0.5 } }) {
        freshView();
        paint(c.style, c.appearance, rgb(1, 0, 0, 0.3).get());
        SCOPED_TRACE("style " + std::to_string(c.style) + " appearance " + std::to_string(c.appearance));
        EXPECT_EQ(m_view->layer()->borderWidth(), c.width);
        EXPECT_DOUBLE_EQ(borderAlpha(), c.border);
        EXPECT_DOUBLE_EQ(backgroundAlpha(), c.background);
        if (c.border != untouched) {
            EXPECT_EQ(m_view->layer()->borderColor()->components()[0], 1.0);
        }
        if (c.background != untouched) {
            EXPECT_EQ(m_view->backgroundColor()->red(), 1.0);
        }
    }
}

TEST_F(Painter, BothStyleSetsWidthThenBorderThenBackground)
{
    std::vector<std::string> log;
    paintLog = &log;
    paint(2, 1, rgb(1, 0, 0).get());
    EXPECT_EQ(log, (std::vector<std::string> { "width", "border", "background" }));
}

TEST_F(Painter, AbsentColourClearsAndAbsentRecordPaintsNothingVisible)
{
    paint(2, 2, nullptr);
    EXPECT_EQ(m_view->layer()->borderWidth(), 4.0);
    EXPECT_FALSE(m_view->layer()->borderColor());
    EXPECT_FALSE(m_view->backgroundColor());

    freshView();
    setColorWithQFConfigcolor(m_view.get(), nullptr, rgb(1, 0, 0).get());
    EXPECT_EQ(m_view->layer()->borderWidth(), 0.0);
    EXPECT_EQ(borderAlpha(), 0.0);
    EXPECT_EQ(backgroundAlpha(), 0.25);
}

TEST_F(Painter, RepaintSetsOnlyWhatChangedAndFollowsEveryChange)
{
    std::vector<std::string> log;
    paintLog = &log;
    paint(2, 1, rgb(1, 0, 0).get());
    auto background = m_view->backgroundColor();
    auto border = m_view->layer()->borderColor();
    log.clear();

    // Layout passes repaint with what is shown; the colour's own alpha never counted.
    paint(2, 1, rgb(1, 0, 0, 0.3).get());
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(m_view->backgroundColor(), background);
    EXPECT_EQ(m_view->layer()->borderColor(), border);

    paint(2, 2, rgb(1, 0, 0).get());
    EXPECT_EQ(log, (std::vector<std::string> { "border", "background" }));
    EXPECT_DOUBLE_EQ(borderAlpha(), 0.7);
    EXPECT_DOUBLE_EQ(backgroundAlpha(), 0.5);

    // The system restyled the view in between.
    m_view->setBackgroundColor(rgb(0, 1, 0, 0.5).get());
    m_view->layer()->setBorderWidth(1);
    log.clear();
    paint(2, 2, rgb(1, 0, 0).get());
    EXPECT_EQ(log, (std::vector<std::string> { "width", "background" }));
    EXPECT_EQ(m_view->backgroundColor()->red(), 1.0);
    EXPECT_EQ(m_view->backgroundColor()->green(), 0.0);
    EXPECT_EQ(m_view->layer()->borderWidth(), 4.0);

    log.clear();
    paint(2, 2, rgb(1, 0, 0.5).get());
    EXPECT_EQ(log, (std::vector<std::string> { "border", "background" }));
    EXPECT_EQ(m_view->layer()->borderColor()->components()[2], 0.5);

    log.clear();
    paint(2, 2, nullptr);
    paint(2, 2, nullptr);
    EXPECT_EQ(log, (std::vector<std::string> { "border", "background" }));
    EXPECT_FALSE(m_view->backgroundColor());
    EXPECT_FALSE(m_view->layer()->borderColor());
}

TEST_F(Painter, AppearanceFallsBackToTheViewsOwnStyleWithoutTheArbiter)
{
    auto makeClass = [](const char* name, bool withSharedInstance) {
        Class cls = objc_allocateClassPair(Object::classObject(), name);
        if (withSharedInstance)
            class_addClassMethod(cls, sel_registerName("sharedInstance"), +[](Class cls, SEL) { return class_createInstance(cls); });
        objc_registerClassPair(cls);
        return cls;
    };
    static Class withoutIvar = makeClass("TWLTestArbiterWithoutStyle", true);
    static Class withoutInstance = makeClass("TWLTestArbiterWithoutInstance", false);

    UIUserInterfaceStyleArbiter::sharedInstance()->setCurrentStyle(2);
    m_view->setOverrideUserInterfaceStyle(1);
    EXPECT_EQ(interfaceStyleFromArbiter(UIUserInterfaceStyleArbiter::classObject(), m_view.get()), 2);
    for (Class cls : { withoutIvar, withoutInstance, Class(nullptr) })
        EXPECT_EQ(interfaceStyleFromArbiter(cls, m_view.get()), 1) << class_getName(cls);
    EXPECT_EQ(interfaceStyleFromArbiter(nullptr, nullptr), 0);
}

} // namespace
