#pragma once

#include "platform/foundation/NSDictionary.h"
#include "platform/graphics/UIImage.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UIView.h"

class UINavigationController;
class UIViewController;

// The bar at the top of a navigation controller, 64 points high (the status bar area and 44
// points of content), filled with its bar tint. It shows the navigation item of the
// controller on top, looking through nested navigation controllers whose own bar is hidden:
// a back button when there is somewhere to go back to, the item's title view or else its
// title (coloured by the title text attributes' foreground colour), and the right bar
// button's title. Buttons take their own tint, else the bar's tint. A hairline lies under
// the bar unless a shadow image is set.
class UINavigationBar : public UIView {
    TW_OBJECT(UINavigationBar)
public:
    static constexpr double height = 64;
    static constexpr double statusBarHeight = 20;

    static RefPtr<UINavigationBar> create(CGRect frame = CGRectMake(0, 0, 375, height)) { return UIView::create<UINavigationBar>(frame); }

    RefPtr<UIColor> barTintColor() const { return m_barTintColor; }
    void setBarTintColor(UIColor* color) { msgSend<void>(this, SELECTOR("setBarTintColor:"), color); }
    RefPtr<UIColor> tintColor() const { return m_tintColor; }
    void setTintColor(UIColor* color) { msgSend<void>(this, SELECTOR("setTintColor:"), color); }
    bool isTranslucent() const { return m_translucent; }
    void setTranslucent(bool translucent) { msgSend<void>(this, SELECTOR("setTranslucent:"), translucent); }
    RefPtr<UIImage> shadowImage() const { return m_shadowImage; }
    void setShadowImage(UIImage* image) { msgSend<void>(this, SELECTOR("setShadowImage:"), image); }
    RefPtr<NSDictionary> titleTextAttributes() const { return m_titleTextAttributes; }
    void setTitleTextAttributes(NSDictionary* attributes) { msgSend<void>(this, SELECTOR("setTitleTextAttributes:"), attributes); }
    bool prefersLargeTitles() const { return m_prefersLargeTitles; }
    void setPrefersLargeTitles(bool prefers) { msgSend<void>(this, SELECTOR("setPrefersLargeTitles:"), prefers); }

    // The item shown and the controller it belongs to.
    RefPtr<UINavigationItem> topItem() const;
    RefPtr<UIViewController> displayedViewController() const;
    // The title as shown: the item's title, else its controller's.
    RefPtr<NSString> displayedTitle() const;
    // The colour the title text is drawn in: the foreground colour of the title text
    // attributes, else black.
    RefPtr<UIColor> titleColor() const;
    bool showsBackButton() const;
    RefPtr<UILabel> titleLabel() const { return m_titleLabel; }

    // Set by the navigation controller that owns the bar.
    void setNavigationController(UINavigationController* controller);

    ~UINavigationBar() override;

protected:
    UINavigationBar();

private:
    Id initWithFrameImpl(CGRect frame);
    void setBarTintColorImpl(RefPtr<UIColor> color);
    void setTintColorImpl(RefPtr<UIColor> color);
    void setTranslucentImpl(bool translucent);
    void setShadowImageImpl(RefPtr<UIImage> image);
    void setTitleTextAttributesImpl(RefPtr<NSDictionary> attributes);
    void setPrefersLargeTitlesImpl(bool prefers) { m_prefersLargeTitles = prefers; }
    Id topItemImpl() const { return topItem(); }
    void layoutSubviewsImpl();
    void updateBackground();
    RefPtr<UIColor> buttonColor(UIBarButtonItem* item) const;

    WeakPtr<UINavigationController> m_navigationController;
    RefPtr<UIColor> m_barTintColor;
    RefPtr<UIColor> m_tintColor;
    RefPtr<UIImage> m_shadowImage;
    RefPtr<NSDictionary> m_titleTextAttributes;
    bool m_translucent { true };
    bool m_prefersLargeTitles { false };
    RefPtr<UILabel> m_titleLabel;
    RefPtr<UILabel> m_backLabel;
    RefPtr<UILabel> m_rightLabel;
    RefPtr<UIView> m_hairline;
    RefPtr<UIView> m_titleView;
};
