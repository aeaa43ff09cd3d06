#pragma once

#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSString.h"
#include "platform/uikit/UIScrollView.h"

#include <string_view>
#include <vector>

// A list of the notification list: the top list (its views are sections), a section (its
// views are app groups, under the section header) or an app group (its views are
// notification cells, between the coalescing header and controls cells). Each view has
// a key: sections and groups by their identifier, cells by their notification identifier.
//
// visibleViews answers the shown views keyed that way, in the list's own order: the order
// the views were inserted in, oldest first. The screen shows the newest on top, so the
// first key is not necessarily the topmost view.
//
// A grouped (collapsed) list stacks its newest view over up to two others and hides the
// rest and its header and footer. Insertion and removal go through
// insertViewAtIndex:animated: and removeViewAtIndex:animated: sent through the runtime.
// Registered: visibleViews, isGrouped, setGrouped:, insertViewAtIndex:animated: ("v@:QB"),
// removeViewAtIndex:animated: ("v@:QB"), layoutSubviews, traitCollectionDidChange:.
class NCNotificationListView : public UIScrollView {
    TW_OBJECT(NCNotificationListView)
public:
    static constexpr double spacing = 8;
    static constexpr double stackOffset = 9;
    static constexpr double stackInset = 12;
    static constexpr size_t stackDepth = 3;

    static RefPtr<NCNotificationListView> create(CGRect frame = CGRectZero) { return UIView::create<NCNotificationListView>(frame); }

    struct Entry {
        RefPtr<NSString> key;
        RefPtr<UIView> view;
    };
    // In insertion order.
    const std::vector<Entry>& entries() const { return m_entries; }
    size_t count() const { return m_entries.size(); }
    // -1 when no view has the key.
    long indexOfKey(std::string_view key) const;
    RefPtr<UIView> viewForKey(std::string_view key) const;

    // Sends insertViewAtIndex:animated: for this view; the index is clamped to the list.
    void insertView(UIView* view, NSString* key, unsigned long index, bool animated);
    void removeViewAtIndex(unsigned long index, bool animated) { msgSend<void>(this, SELECTOR("removeViewAtIndex:animated:"), index, animated); }

    // The same dictionary until the views or their hidden flags change.
    RefPtr<NSDictionary> visibleViews() const;

    bool isGrouped() const { return m_grouped; }
    void setGrouped(bool grouped) { msgSend<void>(this, SELECTOR("setGrouped:"), grouped); }

    // Above and below the views; not among the visible views. A hidden one takes no room.
    void setHeaderView(UIView*);
    RefPtr<UIView> headerView() const { return m_headerView; }
    void setFooterView(UIView*);
    RefPtr<UIView> footerView() const { return m_footerView; }
    // An app group's coalescing header and controls cells: subviews only while the group
    // holds more than one view, hidden while it is grouped.
    void setCoalescingViews(UIView* header, UIView* footer);

    // The height the list needs at a width.
    double contentHeightForWidth(double width) const;
    // A view's height in a list at a width: lists and cells measure themselves, others keep theirs.
    static double preferredHeight(const UIView* view, double width);

    ~NCNotificationListView() override;

protected:
    NCNotificationListView();

private:
    Id visibleViewsImpl() const { return visibleViews(); }
    void setGroupedImpl(bool grouped);
    void insertViewAtIndexImpl(unsigned long index, bool animated);
    void removeViewAtIndexImpl(unsigned long index, bool animated);
    void layoutSubviewsImpl();
    void traitCollectionDidChangeImpl(UITraitCollection* previous);
    void updateChromeVisibility();
    bool showsStack() const { return m_grouped && m_entries.size() > 1; }

    std::vector<Entry> m_entries;
    // Layout passes ask for the visible views once per platter; rebuilding them each time
    // was most of what a pass cost. Dropped on every insertion and removal; the hidden
    // flags it was built from are checked because anyone may hide a view.
    mutable RefPtr<NSDictionary> m_visibleViews;
    mutable std::vector<uint8_t> m_visibleViewsHidden;
    // Views' hidden changes counted when the flags above were last found to hold.
    mutable uint64_t m_visibleViewsHiddenChanges { 0 };
    // The view insertViewAtIndex:animated: inserts; set just before it is sent.
    Entry m_pendingInsertion;
    RefPtr<UIView> m_headerView;
    RefPtr<UIView> m_footerView;
    bool m_grouped { false };
    bool m_coalescing { false };
};
