#include "UIKitTestSupport.h"

#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/ViewSnapshot.h"

#include <fstream>
#include <unistd.h>

namespace {

class Snapshot : public UIKitTest {
protected:
    void SetUp() override
    {
        UIKitTest::SetUp();
        m_window = UIWindow::create(CGRectMake(0, 0, 200, 400));
        m_list = UIScrollView::create(CGRectMake(10, 50, 180, 300));
        m_cell = UIView::create(CGRectMake(5, 100, 170, 60));
        m_label = UILabel::create(CGRectMake(8, 4, 150, 20));
        m_window->addSubview(UIView::create().get());
        m_window->addSubview(m_list.get());
        m_list->addSubview(UIView::create().get());
        m_list->addSubview(UIView::create().get());
        m_list->addSubview(m_cell.get());
        m_cell->addSubview(m_label.get());
    }
    RefPtr<UIWindow> m_window;
    RefPtr<UIScrollView> m_list;
    RefPtr<UIView> m_cell;
    RefPtr<UILabel> m_label;
};

TEST_F(Snapshot, PathsNameEachViewByIndexAndClassDepthFirst)
{
    auto snapshot = ViewSnapshot::capture(m_window.get());
    std::vector<std::string> paths;
    for (auto& view : snapshot["views"])
        paths.push_back(view["path"]);
    EXPECT_EQ(paths, (std::vector<std::string> {
                         "UIWindow",
                         "UIWindow/0:UIView",
                         "UIWindow/1:UIScrollView",
                         "UIWindow/1:UIScrollView/0:UIView",
                         "UIWindow/1:UIScrollView/1:UIView",
                         "UIWindow/1:UIScrollView/2:UIView",
                         "UIWindow/1:UIScrollView/2:UIView/0:UILabel",
                     }));
    EXPECT_EQ(snapshot["views"][6]["class"], "UILabel");
}

TEST_F(Snapshot, FramesAreGivenInTheSuperviewAndInTheWindow)
{
    m_list->setContentOffset(CGPointMake(0, 30));
    auto snapshot = ViewSnapshot::capture(m_window.get());
    auto* label = ViewSnapshot::findPath(snapshot, "UIWindow/1:UIScrollView/2:UIView/0:UILabel");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ((*label)["frame"], ViewSnapshot::rectJSON(CGRectMake(8, 4, 150, 20)));
    EXPECT_EQ((*label)["windowFrame"], ViewSnapshot::rectJSON(CGRectMake(23, 124, 150, 20)));
}

TEST_F(Snapshot, RecordsTheStyledPropertiesWithExactColours)
{
    m_cell->setBackgroundColor(UIColor::colorWithRed(1, 0.5, 0, 0.7).get());
    m_cell->layer()->setBorderWidth(3);
    m_cell->layer()->setBorderColor(UIColor::colorWithRed(0.2, 0.4, 0.6, 0.5)->CGColor().get());
    m_cell->layer()->setCornerRadius(13);
    m_cell->setHidden(true);
    m_cell->setAlpha(0.5);
    m_label->setText("Tintwell");
    m_label->setTextAlignment(NSTextAlignmentCenter);

    auto snapshot = ViewSnapshot::capture(m_window.get());
    auto& cell = *ViewSnapshot::findPath(snapshot, "UIWindow/1:UIScrollView/2:UIView");
    EXPECT_EQ(cell["backgroundColor"]["hex"], "#FF8000B3");
    EXPECT_EQ(cell["backgroundColor"]["green"], 0.5);
    EXPECT_EQ(cell["backgroundColor"]["alpha"], 0.7);
    EXPECT_EQ(cell["layer"]["borderWidth"], 3.0);
    EXPECT_EQ(cell["layer"]["borderColor"]["alpha"], 0.5);
    EXPECT_EQ(cell["layer"]["borderColor"]["blue"], 0.6);
    EXPECT_EQ(cell["layer"]["cornerRadius"], 13.0);
    EXPECT_EQ(cell["hidden"], true);
    EXPECT_EQ(cell["alpha"], 0.5);
    EXPECT_FALSE(cell.contains("text"));

    auto& label = *ViewSnapshot::findPath(snapshot, "UIWindow/1:UIScrollView/2:UIView/0:UILabel");
    EXPECT_EQ(label["text"], "Tintwell");
    EXPECT_EQ(label["textAlignment"], 1);
    EXPECT_TRUE(label["backgroundColor"].is_null());
    EXPECT_TRUE(label["layer"]["borderColor"].is_null());
}

TEST_F(Snapshot, CarriesTheAppearanceAndTheLastAnimation)
{
    UIView::animateWithDuration(0.2, [] { });
    UIUserInterfaceStyleArbiter::sharedInstance()->setCurrentStyle(UIUserInterfaceStyleDark);
    auto snapshot = ViewSnapshot::capture(m_window.get());
    EXPECT_EQ(snapshot["userInterfaceStyle"], 2);
    EXPECT_EQ(snapshot["animations"]["lastDuration"], 0.2);
    EXPECT_EQ(snapshot["animations"]["count"], UIView::animationCount());
}

TEST_F(Snapshot, WritesReadableJSON)
{
    auto path = std::filesystem::temp_directory_path() / ("uikit-snapshot-" + std::to_string(::getpid()) + ".json");
    ASSERT_TRUE(ViewSnapshot::writeToFile(m_window.get(), path));
    std::ifstream in(path);
    auto read = nlohmann::json::parse(in);
    EXPECT_EQ(read, ViewSnapshot::capture(m_window.get()));
    std::filesystem::remove(path);
    EXPECT_FALSE(ViewSnapshot::writeToFile(m_window.get(), "/nonexistent-folder/snapshot.json"));
}

} // namespace
