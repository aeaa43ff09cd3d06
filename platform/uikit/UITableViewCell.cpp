#include "platform/uikit/UITableViewCell.h"

#include "platform/foundation/NSString.h"

#include <algorithm>

Class UITableViewCell::classObject()
{
    static Class cls = ClassBuilder<UITableViewCell>("UITableViewCell", UIView::classObject())
                           .method<&UITableViewCell::initWithStyleImpl>("initWithStyle:reuseIdentifier:")
                           .method<&UITableViewCell::initWithFrameCellImpl>("initWithFrame:")
                           .method<&UITableViewCell::style>("style")
                           .method<&UITableViewCell::reuseIdentifierImpl>("reuseIdentifier")
                           .method<&UITableViewCell::contentViewImpl>("contentView")
                           .method<&UITableViewCell::textLabelImpl>("textLabel")
                           .method<&UITableViewCell::detailTextLabelImpl>("detailTextLabel")
                           .method<&UITableViewCell::imageViewImpl>("imageView")
                           .method<&UITableViewCell::accessoryViewImpl>("accessoryView")
                           .method<&UITableViewCell::setAccessoryViewImpl>("setAccessoryView:")
                           .method<&UITableViewCell::accessoryType>("accessoryType")
                           .method<&UITableViewCell::setAccessoryTypeImpl>("setAccessoryType:")
                           .method<&UITableViewCell::layoutSubviewsImpl>("layoutSubviews")
                           .ivar<&UITableViewCell::m_textLabel>("_textLabel")
                           .ivar<&UITableViewCell::m_detailTextLabel>("_detailTextLabel")
                           .ivar<&UITableViewCell::m_accessoryView>("_accessoryView")
                           .build();
    return cls;
}

UITableViewCell::UITableViewCell() = default;
UITableViewCell::~UITableViewCell() = default;

RefPtr<UITableViewCell> UITableViewCell::createWithClass(Class cls, long style, NSString* reuseIdentifier)
{
    if (!cls || !class_isSubclassOf(cls, classObject()))
        return nullptr;
    auto object = class_createInstance(cls);
    return msgSend<RefPtr<UITableViewCell>>(object, SELECTOR("initWithStyle:reuseIdentifier:"), style, reuseIdentifier);
}

Id UITableViewCell::initWithStyleImpl(long style, RefPtr<NSString> reuseIdentifier)
{
    auto self = msgSendSuper<Id>(this, classObject(), SELECTOR("initWithFrame:"), CGRectMake(0, 0, 320, defaultRowHeight));
    if (!self)
        return nullptr;
    m_style = style;
    m_reuseIdentifier = std::move(reuseIdentifier);
    setBackgroundColor(UIColor::whiteColor().get());
    m_contentView = UIView::create(bounds());
    addSubview(m_contentView.get());
    return self;
}

RefPtr<UILabel> UITableViewCell::textLabel()
{
    if (!m_textLabel) {
        m_textLabel = UILabel::create();
        m_contentView->addSubview(m_textLabel.get());
        setNeedsLayout();
    }
    return m_textLabel;
}

RefPtr<UILabel> UITableViewCell::detailTextLabel()
{
    // Only the styles with a detail have one, as on the phone.
    if (m_style == UITableViewCellStyleDefault)
        return nullptr;
    if (!m_detailTextLabel) {
        m_detailTextLabel = UILabel::create();
        m_detailTextLabel->setTextColor(UIColor::colorWithWhite(0.56, 1).get());
        m_detailTextLabel->setTextAlignment(NSTextAlignmentRight);
        m_contentView->addSubview(m_detailTextLabel.get());
        setNeedsLayout();
    }
    return m_detailTextLabel;
}

RefPtr<UIImageView> UITableViewCell::imageView()
{
    if (!m_imageView) {
        m_imageView = UIImageView::create();
        m_imageView->setContentMode(UIViewContentModeScaleAspectFit);
        m_contentView->addSubview(m_imageView.get());
        setNeedsLayout();
    }
    return m_imageView;
}

void UITableViewCell::setAccessoryViewImpl(RefPtr<UIView> view)
{
    if (m_accessoryView.get() == view.get())
        return;
    if (m_accessoryView)
        m_accessoryView->removeFromSuperview();
    m_accessoryView = std::move(view);
    if (m_accessoryView)
        addSubview(m_accessoryView.get());
    setNeedsLayout();
}

void UITableViewCell::setAccessoryTypeImpl(long type)
{
    m_accessoryType = type;
    if (!m_indicator) {
        m_indicator = UILabel::create();
        m_indicator->setTextAlignment(NSTextAlignmentCenter);
        addSubview(m_indicator.get());
    }
    switch (type) {
    case UITableViewCellAccessoryDisclosureIndicator:
        m_indicator->setText(std::string_view("›"));
        m_indicator->setTextColor(UIColor::colorWithWhite(0.75, 1).get());
        break;
    case UITableViewCellAccessoryCheckmark:
        m_indicator->setText(std::string_view("✓"));
        m_indicator->setTextColor(UIColor::colorWithRed(0, 0.48, 1, 1).get());
        break;
    default:
        m_indicator->setText(std::string_view(""));
    }
    setNeedsLayout();
}

void UITableViewCell::layoutSubviewsImpl()
{
    CGSize size = bounds().size;
    double right = size.width - 16;
    if (m_accessoryView) {
        CGSize accessory = m_accessoryView->frame().size;
        right -= accessory.width;
        m_accessoryView->setFrame(CGRectMake(right, (size.height - accessory.height) / 2, accessory.width, accessory.height));
        right -= 8;
    } else if (m_indicator && m_accessoryType != UITableViewCellAccessoryNone) {
        right -= 16;
        m_indicator->setFrame(CGRectMake(right, 0, 16, size.height));
        right -= 4;
    }
    m_contentView->setFrame(CGRectMake(0, 0, std::max(0.0, right), size.height));
    double left = 16;
    if (m_imageView && m_imageView->image()) {
        m_imageView->setFrame(CGRectMake(left, (size.height - 29) / 2, 29, 29));
        left += 29 + 12;
    } else if (m_imageView) {
        m_imageView->setFrame(CGRectZero);
    }
    double available = std::max(0.0, right - left);
    bool hasDetail = m_detailTextLabel && m_detailTextLabel->text() && !m_detailTextLabel->textString().empty();
    double textWidth = hasDetail ? available * 0.6 : available;
    if (m_textLabel)
        m_textLabel->setFrame(CGRectMake(left, 0, textWidth, size.height));
    if (m_detailTextLabel)
        m_detailTextLabel->setFrame(CGRectMake(left + textWidth, 0, available - textWidth, size.height));
}
