#pragma once

#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIView.h"

enum UITableViewCellStyle : long {
    UITableViewCellStyleDefault = 0,
    UITableViewCellStyleValue1 = 1,
    UITableViewCellStyleValue2 = 2,
    UITableViewCellStyleSubtitle = 3,
};

enum UITableViewCellAccessoryType : long {
    UITableViewCellAccessoryNone = 0,
    UITableViewCellAccessoryDisclosureIndicator = 1,
    UITableViewCellAccessoryDetailDisclosureButton = 2,
    UITableViewCellAccessoryCheckmark = 3,
};

// One row of a table, 44 points high: an optional image at the left, the text label, a
// detail label at the right (value-1 style), and an accessory view or indicator at the
// right end. The labels and image view are made on first request.
class UITableViewCell : public UIView {
    TW_OBJECT(UITableViewCell)
public:
    static constexpr double defaultRowHeight = 44;

    // alloc + initWithStyle:reuseIdentifier: through the runtime, for any cell class.
    static RefPtr<UITableViewCell> createWithClass(Class cls, long style, NSString* reuseIdentifier);

    long style() const { return m_style; }
    RefPtr<NSString> reuseIdentifier() const { return m_reuseIdentifier; }
    RefPtr<UIView> contentView() const { return m_contentView; }
    RefPtr<UILabel> textLabel();
    RefPtr<UILabel> detailTextLabel();
    RefPtr<UIImageView> imageView();
    RefPtr<UIView> accessoryView() const { return m_accessoryView; }
    void setAccessoryView(UIView* view) { msgSend<void>(this, SELECTOR("setAccessoryView:"), view); }
    long accessoryType() const { return m_accessoryType; }
    void setAccessoryType(long type) { msgSend<void>(this, SELECTOR("setAccessoryType:"), type); }
    // Labels and views already made, without making them.
    RefPtr<UILabel> existingDetailTextLabel() const { return m_detailTextLabel; }
    RefPtr<UIImageView> existingImageView() const { return m_imageView; }

    ~UITableViewCell() override;

protected:
    UITableViewCell();
    // The body of initWithStyle:reuseIdentifier:; subclasses reach it with msgSendSuper.
    Id initWithStyleImpl(long style, RefPtr<NSString> reuseIdentifier);

private:
    // The designated initialiser is sent, so a subclass's or a hook's version runs.
    Id initWithFrameCellImpl(CGRect)
    {
        return msgSend<Id>(this, SELECTOR("initWithStyle:reuseIdentifier:"), long(UITableViewCellStyleDefault), nullptr);
    }
    Id contentViewImpl() const { return m_contentView; }
    Id textLabelImpl() { return textLabel(); }
    Id detailTextLabelImpl() { return detailTextLabel(); }
    Id imageViewImpl() { return imageView(); }
    Id accessoryViewImpl() const { return m_accessoryView; }
    Id reuseIdentifierImpl() const { return m_reuseIdentifier; }
    void setAccessoryViewImpl(RefPtr<UIView> view);
    void setAccessoryTypeImpl(long type);
    void layoutSubviewsImpl();

    long m_style { UITableViewCellStyleDefault };
    RefPtr<NSString> m_reuseIdentifier;
    RefPtr<UIView> m_contentView;
    RefPtr<UILabel> m_textLabel;
    RefPtr<UILabel> m_detailTextLabel;
    RefPtr<UIImageView> m_imageView;
    RefPtr<UIView> m_accessoryView;
    RefPtr<UILabel> m_indicator;
    long m_accessoryType { UITableViewCellAccessoryNone };
};
