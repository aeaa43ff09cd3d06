#include "UIKitTestSupport.h"

#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/ViewRenderer.h"

#include <unistd.h>

namespace {

using Pixel = CGImage::Pixel;

bool near(Pixel actual, Pixel expected, int tolerance = 3)
{
    auto close = [&](uint8_t a, uint8_t b) { return std::abs(int(a) - int(b)) <= tolerance; };
    return close(actual.red, expected.red) && close(actual.green, expected.green) && close(actual.blue, expected.blue)
        && close(actual.alpha, expected.alpha);
}

constexpr Pixel white { 255, 255, 255, 255 };
constexpr Pixel red { 255, 0, 0, 255 };
constexpr Pixel blue { 0, 0, 255, 255 };

// Mean x of the dark pixels in a band of rows, or -1 when there is no ink.
double inkCentre(const CGImage& image, size_t top, size_t bottom)
{
    double sum = 0;
    long count = 0;
    for (size_t y = top; y < bottom; ++y) {
        for (size_t x = 0; x < image.width(); ++x) {
            if (image.pixelAt(x, y).red < 128) {
                sum += double(x);
                ++count;
            }
        }
    }
    return count ? sum / double(count) : -1;
}

class Renderer : public UIKitTest {
protected:
    void SetUp() override
    {
        UIKitTest::SetUp();
        m_window = UIWindow::create(CGRectMake(0, 0, 200, 100));
        m_window->setBackgroundColor(UIColor::whiteColor().get());
    }
    RefPtr<UIWindow> m_window;
};

TEST_F(Renderer, PaintsBackgroundsUnderBordersOfTheirOwnColourAndWidth)
{
    auto platter = UIView::create(CGRectMake(20, 20, 60, 60));
    platter->setBackgroundColor(UIColor::redColor().get());
    platter->layer()->setBorderWidth(4);
    platter->layer()->setBorderColor(UIColor::blueColor()->CGColor().get());
    m_window->addSubview(platter.get());

    auto image = ViewRenderer::render(m_window.get());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width(), 200u);
    EXPECT_TRUE(near(image->pixelAt(50, 50), red));
    EXPECT_TRUE(near(image->pixelAt(21, 50), blue));
    EXPECT_TRUE(near(image->pixelAt(78, 50), blue));
    EXPECT_TRUE(near(image->pixelAt(25, 50), red));
    EXPECT_TRUE(near(image->pixelAt(18, 50), white));
}

TEST_F(Renderer, RoundedCornersLeaveTheCornerUnpainted)
{
    auto platter = UIView::create(CGRectMake(20, 20, 60, 60));
    platter->setBackgroundColor(UIColor::redColor().get());
    platter->layer()->setCornerRadius(20);
    m_window->addSubview(platter.get());
    auto image = ViewRenderer::render(m_window.get());
    EXPECT_TRUE(near(image->pixelAt(21, 21), white));
    EXPECT_TRUE(near(image->pixelAt(40, 21), red));
}

TEST_F(Renderer, HiddenViewsPaintNothingAndAlphaFadesTheSubtree)
{
    auto hidden = UIView::create(CGRectMake(0, 0, 100, 100));
    hidden->setBackgroundColor(UIColor::redColor().get());
    hidden->setHidden(true);
    auto faded = UIView::create(CGRectMake(100, 0, 100, 100));
    faded->setAlpha(0.5);
    auto inner = UIView::create(CGRectMake(0, 0, 50, 100));
    inner->setBackgroundColor(UIColor::blackColor().get());
    faded->addSubview(inner.get());
    m_window->addSubview(hidden.get());
    m_window->addSubview(faded.get());

    auto image = ViewRenderer::render(m_window.get());
    EXPECT_TRUE(near(image->pixelAt(50, 50), white));
    EXPECT_TRUE(near(image->pixelAt(120, 50), { 128, 128, 128, 255 }));
    EXPECT_TRUE(near(image->pixelAt(170, 50), white));
}

TEST_F(Renderer, LabelInkFollowsTheTextAlignment)
{
    auto centred = UILabel::create(CGRectMake(0, 0, 200, 50));
    centred->setText("IIIIII");
    centred->setTextAlignment(NSTextAlignmentCenter);
    auto left = UILabel::create(CGRectMake(0, 50, 200, 50));
    left->setText("IIIIII");
    m_window->addSubview(centred.get());
    m_window->addSubview(left.get());

    auto image = ViewRenderer::render(m_window.get());
    double centre = inkCentre(*image, 0, 50);
    EXPECT_NEAR(centre, 100, 6);
    double leftCentre = inkCentre(*image, 50, 100);
    ASSERT_GT(leftCentre, 0);
    EXPECT_LT(leftCentre, 50);

    left->setTextAlignment(NSTextAlignmentRight);
    EXPECT_GT(inkCentre(*ViewRenderer::render(m_window.get()), 50, 100), 150);
}

TEST_F(Renderer, ImageViewsScaleByContentMode)
{
    auto bitmap = CGImage::create(10, 20);
    for (size_t y = 0; y < 20; ++y) {
        for (size_t x = 0; x < 10; ++x)
            bitmap->setPixelAt(x, y, { 0, 0, 255, 255 });
    }
    auto imageView = UIImageView::create(CGRectMake(0, 0, 100, 50));
    imageView->setImage(UIImage::imageWithCGImage(bitmap, 1).get());
    m_window->addSubview(imageView.get());

    imageView->setContentMode(UIViewContentModeScaleToFill);
    EXPECT_TRUE(near(ViewRenderer::render(m_window.get())->pixelAt(5, 25), blue));
    imageView->setContentMode(UIViewContentModeScaleAspectFit);
    auto fitted = ViewRenderer::render(m_window.get());
    EXPECT_TRUE(near(fitted->pixelAt(5, 25), white));
    EXPECT_TRUE(near(fitted->pixelAt(50, 25), blue));
    imageView->setContentMode(UIViewContentModeScaleAspectFill);
    EXPECT_TRUE(near(ViewRenderer::render(m_window.get())->pixelAt(50, 75), blue));
    imageView->setClipsToBounds(true);
    auto filled = ViewRenderer::render(m_window.get());
    EXPECT_TRUE(near(filled->pixelAt(5, 25), blue));
    EXPECT_TRUE(near(filled->pixelAt(50, 75), white));
}

TEST_F(Renderer, ScalesAndWritesAPNG)
{
    auto platter = UIView::create(CGRectMake(10, 10, 10, 10));
    platter->setBackgroundColor(UIColor::redColor().get());
    m_window->addSubview(platter.get());
    auto image = ViewRenderer::render(m_window.get(), 2);
    EXPECT_EQ(image->width(), 400u);
    EXPECT_TRUE(near(image->pixelAt(39, 39), red));
    EXPECT_TRUE(near(image->pixelAt(41, 41), white));

    auto path = std::filesystem::temp_directory_path() / ("uikit-render-" + std::to_string(::getpid()) + ".png");
    ASSERT_TRUE(ViewRenderer::writePNG(m_window.get(), path));
    auto read = UIImage::imageWithContentsOfHostFile(path);
    ASSERT_TRUE(read);
    EXPECT_TRUE(near(read->pixelAt(15, 15), red));
    std::filesystem::remove(path);
}

} // namespace
