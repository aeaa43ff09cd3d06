#pragma once

#include "platform/foundation/NSArray.h"
#include "platform/graphics/CGGeometry.h"
#include "platform/graphics/UIColor.h"
#include "platform/uikit/CALayer.h"
#include "platform/uikit/UIResponder.h"

#include <functional>
#include <vector>

class UIViewController;
class UIWindow;

enum UIViewContentMode : long {
    UIViewContentModeScaleToFill = 0,
    UIViewContentModeScaleAspectFit = 1,
    UIViewContentModeScaleAspectFill = 2,
    UIViewContentModeRedraw = 3,
    UIViewContentModeCenter = 4,
};

// A rectangle of the screen in a tree of views. The superview is weak; a view owns its
// subviews. Everything a hook may replace is sent through the runtime by the system:
// layoutSubviews (by the layout pass), willMoveToSuperview: / didMoveToSuperview (on
// re-parenting), willMoveToWindow: / didMoveToWindow (to every view of a subtree whose
// window changes, parents first, between the superview messages as on the phone),
// traitCollectionDidChange: (when the style it is shown with changes, and on first
// joining a window with no previous collection), tintColorDidChange, and the setters.
class UIView : public UIResponder {
    TW_OBJECT(UIView)
public:
    // alloc + initWithFrame: through the runtime, for any class built from UIView
    // (runtime-made subclasses included); nil when cls is not a view class.
    static RefPtr<UIView> createWithClass(Class cls, CGRect frame = CGRectZero);
    template<typename T = UIView>
    static RefPtr<T> create(CGRect frame = CGRectZero)
    {
        return objectCast<T>(createWithClass(T::classObject(), frame));
    }

    CGRect frame() const { return m_frame; }
    void setFrame(CGRect frame) { msgSend<void>(this, SELECTOR("setFrame:"), frame); }
    CGRect bounds() const { return { m_boundsOrigin, m_frame.size }; }
    void setBounds(CGRect bounds) { msgSend<void>(this, SELECTOR("setBounds:"), bounds); }
    CGPoint center() const { return { CGRectGetMidX(m_frame), CGRectGetMidY(m_frame) }; }
    void setCenter(CGPoint center) { msgSend<void>(this, SELECTOR("setCenter:"), center); }

    RefPtr<UIView> superview() const { return m_superview.get(); }
    // A copy of the subviews, back to front.
    RefPtr<NSArray> subviews() const;
    // The subviews back to front, borrowed; valid until the tree changes.
    const std::vector<RefPtr<UIView>>& subviewList() const { return m_subviews; }
    // The window at the root of the tree, or nil.
    RefPtr<UIWindow> window() const;
    bool isDescendantOfView(const UIView* ancestor) const;

    void addSubview(UIView* view) { msgSend<void>(this, SELECTOR("addSubview:"), view); }
    void insertSubviewAtIndex(UIView* view, long index) { msgSend<void>(this, SELECTOR("insertSubview:atIndex:"), view, index); }
    void removeFromSuperview() { msgSend<void>(this, SELECTOR("removeFromSuperview")); }
    void bringSubviewToFront(UIView* view) { msgSend<void>(this, SELECTOR("bringSubviewToFront:"), view); }
    void sendSubviewToBack(UIView* view) { msgSend<void>(this, SELECTOR("sendSubviewToBack:"), view); }

    bool isHidden() const { return m_hidden; }
    // Counts every change of any view's isHidden, so what is worked out from it can tell
    // it still holds without looking again.
    static uint64_t hiddenChangeCount();
    void setHidden(bool hidden) { msgSend<void>(this, SELECTOR("setHidden:"), hidden); }
    double alpha() const { return m_alpha; }
    void setAlpha(double alpha) { msgSend<void>(this, SELECTOR("setAlpha:"), alpha); }
    RefPtr<UIColor> backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(UIColor* color) { msgSend<void>(this, SELECTOR("setBackgroundColor:"), color); }
    // Never nil.
    RefPtr<CALayer> layer() const { return m_layer; }
    bool clipsToBounds() const { return m_layer->masksToBounds(); }
    void setClipsToBounds(bool clips) { msgSend<void>(this, SELECTOR("setClipsToBounds:"), clips); }
    // A promise that the view fills its bounds with opaque content; a drawing hint that
    // changes nothing shown. YES for a new view, as on the phone.
    bool isOpaque() const { return m_opaque; }
    void setOpaque(bool opaque) { msgSend<void>(this, SELECTOR("setOpaque:"), opaque); }
    long contentMode() const { return m_contentMode; }
    void setContentMode(long mode) { msgSend<void>(this, SELECTOR("setContentMode:"), mode); }
    long tag() const { return m_tag; }
    void setTag(long tag) { msgSend<void>(this, SELECTOR("setTag:"), tag); }
    // Depth first, the receiver included.
    RefPtr<UIView> viewWithTag(long tag) const;

    // Layout: setNeedsLayout marks the view; a pass (layoutIfNeeded) sends layoutSubviews
    // to every marked view of the subtree, parents before children, wrapped in
    // viewWillLayoutSubviews / viewDidLayoutSubviews for a controller's root view.
    void setNeedsLayout() { msgSend<void>(this, SELECTOR("setNeedsLayout")); }
    void layoutIfNeeded() { msgSend<void>(this, SELECTOR("layoutIfNeeded")); }
    void layoutSubviews() { msgSend<void>(this, SELECTOR("layoutSubviews")); }
    bool needsLayout() const { return m_needsLayout; }
    // Marks the whole subtree and lays it out: what the system does when everything
    // on screen may have changed.
    void layoutTreeNow();
    void setNeedsLayoutInSubtree();

    // 0 follows the superview (or, at the root, the window's or the system's appearance).
    long overrideUserInterfaceStyle() const { return m_overrideUserInterfaceStyle; }
    void setOverrideUserInterfaceStyle(long style) { msgSend<void>(this, SELECTOR("setOverrideUserInterfaceStyle:"), style); }
    // The style the view is shown with, without building a trait collection.
    long effectiveUserInterfaceStyle() const;

    CGRect convertRectToView(CGRect rect, const UIView* view) const;

    // The controller whose root view this is, if any.
    RefPtr<UIViewController> viewDelegate() const;

    // +[UIView animateWithDuration:animations:] and the completion form. Model values
    // change at once, as they do on the phone; the blocks run before the call returns.
    // The id forms are the methods' bodies; callers that a hook should see send instead.
    static void animateWithDuration(double duration, id animations, id completion = nullptr);
    static void sendAnimateWithDuration(double duration, id animations);
    static void sendAnimateWithDuration(double duration, id animations, id completion);
    static void animateWithDuration(double duration, const std::function<void()>& animations, const std::function<void()>& completion = {});
    static long animationCount();
    static double lastAnimationDuration();

    ~UIView() override;

protected:
    UIView();

    // The body of -[UIView initWithFrame:]; subclasses register their own initWithFrame:
    // and reach this one with msgSendSuper.
    Id initWithFrameImpl(CGRect frame);
    static void animateImpl(Class, SEL, double duration, id animations) { animateWithDuration(duration, animations); }
    static void animateCompletionImpl(Class, SEL, double duration, id animations, id completion) { animateWithDuration(duration, animations, completion); }
    // Delivers the style the subtree is now shown with to every view and root-view
    // controller in it whose style changed; inheritedStyle is the superview's.
    void deliverTraitsInSubtree(long inheritedStyle);

private:
    friend class UIViewController;
    friend class UIWindow;

    Id initImpl() { return initWithFrameImpl(CGRectZero); }
    void setFrameImpl(CGRect frame);
    void setBoundsImpl(CGRect bounds);
    void setCenterImpl(CGPoint center);
    Id superviewImpl() const { return superview(); }
    Id subviewsImpl() const;
    Id windowImpl() const;
    bool isDescendantOfViewImpl(UIView* view) const { return isDescendantOfView(view); }
    void addSubviewImpl(UIView* view);
    void insertSubviewAtIndexImpl(UIView* view, long index);
    void removeFromSuperviewImpl();
    void bringSubviewToFrontImpl(UIView* view);
    void sendSubviewToBackImpl(UIView* view);
    void didAddSubviewImpl(UIView*) { }
    void willRemoveSubviewImpl(UIView*) { }
    void willMoveToSuperviewImpl(UIView*) { }
    void didMoveToSuperviewImpl() { }
    void willMoveToWindowImpl(UIWindow*) { }
    void didMoveToWindowImpl() { }
    void setHiddenImpl(bool hidden);
    void setAlphaImpl(double alpha) { m_alpha = alpha; }
    void setBackgroundColorImpl(RefPtr<UIColor> color) { m_backgroundColor = std::move(color); }
    Id layerImpl() const { return m_layer; }
    void setClipsToBoundsImpl(bool clips) { m_layer->setMasksToBounds(clips); }
    void setOpaqueImpl(bool opaque) { m_opaque = opaque; }
    void setContentModeImpl(long mode) { m_contentMode = mode; }
    void setTagImpl(long tag) { m_tag = tag; }
    Id viewWithTagImpl(long tag) const { return viewWithTag(tag); }
    void setNeedsLayoutImpl() { m_needsLayout = true; }
    void layoutIfNeededImpl() { layoutSubtreeIfNeeded(); }
    void layoutSubviewsImpl() { }
    Id nextResponderImpl() const;
    Id traitCollectionImpl() const;
    void traitCollectionDidChangeImpl(UITraitCollection*) { }
    void tintColorDidChangeImpl() { }
    void setOverrideUserInterfaceStyleImpl(long style);
    CGRect convertRectToViewImpl(CGRect rect, UIView* view) const { return convertRectToView(rect, view); }

    void layoutSubtreeIfNeeded();
    void runLayoutPass();
    void detachSubview(UIView* view);
    void willMoveToWindowInSubtree(UIWindow* window);
    void didMoveToWindowInSubtree();
    CGPoint originInRootCoordinates() const;
    long styleInheritedFromAbove() const;

    CGRect m_frame {};
    CGPoint m_boundsOrigin {};
    WeakPtr<UIView> m_superview;
    std::vector<RefPtr<UIView>> m_subviews;
    RefPtr<CALayer> m_layer;
    RefPtr<UIColor> m_backgroundColor;
    double m_alpha { 1 };
    bool m_hidden { false };
    bool m_opaque { true };
    bool m_needsLayout { true };
    long m_contentMode { UIViewContentModeScaleToFill };
    long m_tag { 0 };
    long m_overrideUserInterfaceStyle { UIUserInterfaceStyleUnspecified };
    WeakPtr<UIViewController> m_viewDelegate;
};
