#include "platform/uikit/UINavigationBar.h"

#include "platform/uikit/NSAttributedString.h"
#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/UINavigationController.h"

#include <algorithm>

namespace {

constexpr double titleViewWidth = 180;
constexpr double buttonWidth = 110;

RefPtr<UIColor> systemBlue() { return UIColor::colorWithRed(0, 0.48, 1, 1); }

} // namespace

Class UINavigationBar::classObject()
{
    static Class cls = ClassBuilder<UINavigationBar>("UINavigationBar", UIView::classObject())
                           .method<&UINavigationBar::initWithFrameImpl>("initWithFrame:")
                           .method<&UINavigationBar::barTintColor>("barTintColor")
                           .method<&UINavigationBar::setBarTintColorImpl>("setBarTintColor:")
                           .method<&UINavigationBar::tintColor>("tintColor")
                           .method<&UINavigationBar::setTintColorImpl>("setTintColor:")
                           .method<&UINavigationBar::isTranslucent>("isTranslucent")
                           .method<&UINavigationBar::setTranslucentImpl>("setTranslucent:")
                           .method<&UINavigationBar::shadowImage>("shadowImage")
                           .method<&UINavigationBar::setShadowImageImpl>("setShadowImage:")
                           .method<&UINavigationBar::titleTextAttributes>("titleTextAttributes")
                           .method<&UINavigationBar::setTitleTextAttributesImpl>("setTitleTextAttributes:")
                           .method<&UINavigationBar::prefersLargeTitles>("prefersLargeTitles")
                           .method<&UINavigationBar::setPrefersLargeTitlesImpl>("setPrefersLargeTitles:")
                           .method<&UINavigationBar::topItemImpl>("topItem")
                           .method<&UINavigationBar::layoutSubviewsImpl>("layoutSubviews")
                           .build();
    return cls;
}

UINavigationBar::UINavigationBar() = default;
UINavigationBar::~UINavigationBar() = default;

Id UINavigationBar::initWithFrameImpl(CGRect frame)
{
    auto self = msgSendSuper<Id>(this, classObject(), SELECTOR("initWithFrame:"), frame);
    if (!self)
        return nullptr;
    m_titleLabel = UILabel::create();
    m_titleLabel->setTextAlignment(NSTextAlignmentCenter);
    m_titleLabel->setFont(UIFont::systemFontOfSize(17, UIFontWeightSemibold).get());
    m_backLabel = UILabel::create();
    m_rightLabel = UILabel::create();
    m_rightLabel->setTextAlignment(NSTextAlignmentRight);
    m_hairline = UIView::create();
    m_hairline->setBackgroundColor(UIColor::colorWithWhite(0, 0.3).get());
    addSubview(m_titleLabel.get());
    addSubview(m_backLabel.get());
    addSubview(m_rightLabel.get());
    addSubview(m_hairline.get());
    updateBackground();
    return self;
}

void UINavigationBar::setNavigationController(UINavigationController* controller)
{
    m_navigationController = controller;
    setNeedsLayout();
}

void UINavigationBar::setBarTintColorImpl(RefPtr<UIColor> color)
{
    m_barTintColor = std::move(color);
    updateBackground();
}

void UINavigationBar::setTintColorImpl(RefPtr<UIColor> color)
{
    m_tintColor = std::move(color);
    setNeedsLayout();
}

void UINavigationBar::setTranslucentImpl(bool translucent)
{
    m_translucent = translucent;
    updateBackground();
}

void UINavigationBar::setShadowImageImpl(RefPtr<UIImage> image)
{
    m_shadowImage = std::move(image);
    setNeedsLayout();
}

void UINavigationBar::setTitleTextAttributesImpl(RefPtr<NSDictionary> attributes)
{
    m_titleTextAttributes = std::move(attributes);
    setNeedsLayout();
}

void UINavigationBar::updateBackground()
{
    RefPtr<UIColor> base = m_barTintColor ? m_barTintColor : UIColor::colorWithWhite(0.97, 1);
    // A translucent bar lets a little of what lies under it through.
    double alpha = m_translucent ? std::min(base->alpha(), 0.9) : base->alpha();
    setBackgroundColor(UIColor::colorWithRed(base->red(), base->green(), base->blue(), alpha).get());
}

RefPtr<UIViewController> UINavigationBar::displayedViewController() const
{
    auto navigation = m_navigationController.get();
    if (!navigation)
        return nullptr;
    return navigation->deepestTopViewController();
}

RefPtr<UINavigationItem> UINavigationBar::topItem() const
{
    auto controller = displayedViewController();
    if (!controller)
        return nullptr;
    return msgSend<RefPtr<UINavigationItem>>(controller, SELECTOR("navigationItem"));
}

RefPtr<NSString> UINavigationBar::displayedTitle() const
{
    auto controller = displayedViewController();
    if (!controller)
        return nullptr;
    if (auto title = msgSend<RefPtr<UINavigationItem>>(controller, SELECTOR("navigationItem"))->title())
        return title;
    return msgSend<RefPtr<NSString>>(controller, SELECTOR("title"));
}

RefPtr<UIColor> UINavigationBar::titleColor() const
{
    if (m_titleTextAttributes) {
        if (RefPtr<UIColor> color = objectCast<UIColor>(m_titleTextAttributes->objectForKey(NSForegroundColorAttributeName)))
            return color;
    }
    return UIColor::blackColor();
}

bool UINavigationBar::showsBackButton() const
{
    for (auto navigation = m_navigationController.get(); navigation;) {
        if (navigation->viewControllerList().size() > 1)
            return true;
        navigation = objectCast<UINavigationController>(navigation->topViewController());
    }
    return false;
}

RefPtr<UIColor> UINavigationBar::buttonColor(UIBarButtonItem* item) const
{
    if (item && item->tintColor())
        return item->tintColor();
    return m_tintColor ? m_tintColor : systemBlue();
}

void UINavigationBar::layoutSubviewsImpl()
{
    if (!m_titleLabel)
        return;
    CGSize size = bounds().size;
    double top = statusBarHeight;
    double content = std::max(0.0, size.height - top);
    auto item = topItem();

    m_backLabel->setHidden(!showsBackButton());
    m_backLabel->setText(std::string_view("‹ Back"));
    m_backLabel->setTextColor(buttonColor(nullptr).get());
    m_backLabel->setFrame(CGRectMake(8, top, buttonWidth, content));

    auto right = item ? objectCast<UIBarButtonItem>(item->rightBarButtonItem()) : nullptr;
    m_rightLabel->setHidden(!right);
    m_rightLabel->setText(right ? right->title().get() : nullptr);
    m_rightLabel->setTextColor(buttonColor(right.get()).get());
    m_rightLabel->setFrame(CGRectMake(size.width - buttonWidth - 8, top, buttonWidth, content));

    auto titleView = item ? item->titleView() : nullptr;
    if (m_titleView.get() != titleView.get()) {
        if (m_titleView && m_titleView->superview().get() == this)
            m_titleView->removeFromSuperview();
        m_titleView = titleView;
        if (m_titleView)
            addSubview(m_titleView.get());
    }
    if (m_titleView) {
        CGRect frame = CGRectMake((size.width - titleViewWidth) / 2, top, titleViewWidth, content);
        if (!CGRectEqualToRect(m_titleView->frame(), frame)) {
            m_titleView->setFrame(frame);
            NSLayoutConstraint::updateConstraintsInSubtree(m_titleView.get());
        }
    }
    m_titleLabel->setHidden(static_cast<bool>(m_titleView));
    m_titleLabel->setText(displayedTitle().get());
    m_titleLabel->setTextColor(titleColor().get());
    m_titleLabel->setFrame(CGRectMake(buttonWidth + 8, top, std::max(0.0, size.width - 2 * (buttonWidth + 8)), content));

    m_hairline->setHidden(static_cast<bool>(m_shadowImage));
    m_hairline->setFrame(CGRectMake(0, size.height - 0.5, size.width, 0.5));
}
