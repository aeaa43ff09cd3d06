#pragma once

#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSString.h"
#include "platform/runtime/WeakPtr.h"
#include "platform/uikit/UIScrollView.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// A list of the notification list: the top list (its item is the section), a section (its
// items are app groups, or notifications when grouping is off, under the section header)
// or an app group (its items are notifications, between the coalescing header and
// controls cells). Each item has a key: sections and groups by their identifier,
// notifications by their identifier.
//
// Like the phone's list it makes views only for what is on screen, plus a small margin:
// an item is data (its key and height) until it scrolls into view. Nested lists keep their
// view and join or leave the list as they come and go; a notification's cell comes from
// the data source, which reuses cells that left the screen. The top list clips to its
// bounds and scrolls; the lists inside it show what falls in its bounds.
//
// visibleViews answers the shown views keyed that way, in the list's own order: the order
// the items were inserted in, oldest first. The screen shows the newest on top, so the
// first key is not necessarily the topmost view.
//
// A grouped (collapsed) list stacks its newest view over up to two others and hides the
// rest and its header and footer. Insertion and removal go through
// insertViewAtIndex:animated: and removeViewAtIndex:animated: sent through the runtime.
class NCNotificationListView : public UIScrollView {
    TW_OBJECT(NCNotificationListView)
public:
    static constexpr double spacing = 8;
    static constexpr double stackOffset = 9;
    static constexpr double stackInset = 12;
    static constexpr size_t stackDepth = 3;
    // Views are made this far above and below the screen, so a short scroll finds them ready.
    static constexpr double visibleMargin = 120;

    // Where the views of data items come from and go back to.
    class DataSource {
    public:
        virtual ~DataSource() = default;
        // A view showing the item, reused where one is spare; nil leaves the item unshown.
        virtual RefPtr<UIView> listViewViewForKey(NCNotificationListView&, const NSString* key) = 0;
        // The view left the screen (or its item the list) and may be reused.
        virtual void listViewDidEndDisplayingView(NCNotificationListView&, UIView* view) = 0;
    };

    static RefPtr<NCNotificationListView> create(CGRect frame = CGRectZero) { return UIView::create<NCNotificationListView>(frame); }

    struct Entry {
        RefPtr<NSString> key;
        // A nested list keeps its view whether shown or not; a data item has none.
        RefPtr<UIView> view;
        // The view in the list while the item is on screen.
        RefPtr<UIView> shownView;
        double height { 0 };
    };
    // In insertion order.
    const std::vector<Entry>& entries() const { return m_entries; }
    size_t count() const { return m_entries.size(); }
    // -1 when no item has the key.
    long indexOfKey(std::string_view key) const;
    // The nested list or the shown view of the item, or nil.
    RefPtr<UIView> viewForKey(std::string_view key) const;

    // Sends insertViewAtIndex:animated: for a nested list (view) or a data item (no view,
    // the height given); the index is clamped to the list.
    void insertView(UIView* view, NSString* key, unsigned long index, bool animated);
    void insertItem(NSString* key, double height, unsigned long index, bool animated);
    void removeViewAtIndex(unsigned long index, bool animated) { msgSend<void>(this, SELECTOR("removeViewAtIndex:animated:"), index, animated); }

    // Not owned: its owner takes it back (sets nil) before it goes.
    void setDataSource(DataSource* dataSource) { m_dataSource = dataSource; }
    // A data item's height changed (a summary line came or went).
    void setHeightOfItem(size_t index, double height);

    // The same dictionary until the shown views or their hidden flags change.
    RefPtr<NSDictionary> visibleViews() const;
    // The shown items' indices, in insertion order.
    const std::vector<size_t>& shownIndices() const { return m_shown; }

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
    // The height the list needs; kept as items come and go, so asking costs nothing.
    double contentHeight() const;
    // Where an item's top lies in the list, as the next layout pass places it.
    double originOfItem(size_t index) const;
    // The views of every shown item leave the list (down through nested lists).
    void endDisplayingItems();

    // A view's height in a list: lists and cells measure themselves, others keep theirs.
    static double preferredHeight(const UIView* view);

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
    void setContentOffsetImpl(CGPoint offset);
    void updateChromeVisibility();
    bool showsStack() const { return m_grouped && m_entries.size() > 1; }
    bool showsHeader() const { return m_headerView && !m_headerView->isHidden() && m_headerView->superview().get() == this; }
    bool showsFooter() const { return m_footerView && !m_footerView->isHidden() && m_footerView->superview().get() == this; }
    double itemsTop() const;

    // The part of the list on screen, in its own coordinates, widened by the margin.
    std::pair<double, double> visibleSpan() const;
    void show(size_t index);
    void hide(size_t index);
    void orderShownSubviews();
    void needsLayoutInShownLists();
    // Tells the list holding this one (through its key) that this one's height changed.
    void contentHeightChanged();
    void rebuildKeyIndex();

    std::vector<Entry> m_entries;
    // Heights summed from the oldest item, spacing after each: m_offsets[i] is where item i
    // starts counting from the bottom of the list's items.
    std::vector<double> m_offsets { 0 };
    // Where each key was when last renumbered; a removal since moves later items one up.
    std::unordered_map<std::string, size_t> m_indexOfKey;
    static constexpr size_t maximumRemovalsBeforeReindex = 32;
    size_t m_removalsSinceKeyIndex { 0 };
    std::vector<size_t> m_shown;
    DataSource* m_dataSource { nullptr };
    WeakPtr<NCNotificationListView> m_containingList;
    double m_reportedHeight { -1 };

    // Layout passes ask for the visible views once per platter; rebuilding them each time
    // was most of what a pass cost. Dropped whenever the shown views change; the hidden
    // flags it was built from are checked because anyone may hide a view.
    mutable RefPtr<NSDictionary> m_visibleViews;
    mutable std::vector<uint8_t> m_visibleViewsHidden;
    // Views' hidden changes counted when the flags above were last found to hold.
    mutable uint64_t m_visibleViewsHiddenChanges { 0 };
    // The item insertViewAtIndex:animated: inserts; set just before it is sent.
    Entry m_pendingInsertion;
    RefPtr<UIView> m_headerView;
    RefPtr<UIView> m_footerView;
    bool m_grouped { false };
    bool m_coalescing { false };
};
