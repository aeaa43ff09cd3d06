#include "platform/uikit/UISegmentedControl.h"

#include "platform/foundation/NSArray.h"

Class UISegmentedControl::classObject()
{
    static Class cls = ClassBuilder<UISegmentedControl>("UISegmentedControl", UIControl::classObject())
                           .method<&UISegmentedControl::initWithItemsImpl>("initWithItems:")
                           .method<&UISegmentedControl::numberOfSegments>("numberOfSegments")
                           .method<&UISegmentedControl::titleForSegmentAtIndexImpl>("titleForSegmentAtIndex:")
                           .method<&UISegmentedControl::selectedSegmentIndex>("selectedSegmentIndex")
                           .method<&UISegmentedControl::setSelectedSegmentIndexImpl>("setSelectedSegmentIndex:")
                           .method<&UISegmentedControl::layoutSubviewsImpl>("layoutSubviews")
                           .method<&UISegmentedControl::tintColorDidChangeImpl>("tintColorDidChange")
                           .build();
    return cls;
}

UISegmentedControl::UISegmentedControl() = default;
UISegmentedControl::~UISegmentedControl() = default;

RefPtr<UISegmentedControl> UISegmentedControl::createWithItems(NSArray* items)
{
    auto object = class_createInstance(classObject());
    return msgSend<RefPtr<UISegmentedControl>>(object, SELECTOR("initWithItems:"), items);
}

Id UISegmentedControl::initWithItemsImpl(NSArray* items)
{
    auto self = msgSend<Id>(this, SELECTOR("initWithFrame:"), CGRectMake(0, 0, 200, 32));
    if (!self)
        return nullptr;
    layer()->setCornerRadius(6);
    layer()->setBorderWidth(1);
    if (items) {
        for (auto& item : *items) {
            auto label = UILabel::create();
            label->setTextAlignment(NSTextAlignmentCenter);
            label->setFont(UIFont::systemFontOfSize(13).get());
            label->setText(objectCast<NSString>(item));
            addSubview(label.get());
            m_labels.push_back(label);
        }
    }
    updateLook();
    return self;
}

RefPtr<NSString> UISegmentedControl::titleForSegmentAtIndex(unsigned long index) const
{
    if (index >= m_labels.size())
        return nullptr;
    return m_labels[index]->text();
}

void UISegmentedControl::setSelectedSegmentIndexImpl(long index)
{
    m_selectedSegmentIndex = index >= 0 && static_cast<unsigned long>(index) < m_labels.size() ? index : noSegment;
    updateLook();
}

void UISegmentedControl::userSelectSegment(long index)
{
    setSelectedSegmentIndex(index);
    sendActionsForControlEvents(UIControlEventValueChanged);
}

void UISegmentedControl::updateLook()
{
    auto tint = effectiveTintColor();
    layer()->setBorderColor(tint->CGColor().get());
    for (size_t index = 0; index < m_labels.size(); ++index) {
        bool selected = static_cast<long>(index) == m_selectedSegmentIndex;
        m_labels[index]->setBackgroundColor(selected ? tint.get() : nullptr);
        m_labels[index]->setTextColor(selected ? UIColor::whiteColor().get() : tint.get());
    }
}

void UISegmentedControl::layoutSubviewsImpl()
{
    if (m_labels.empty())
        return;
    CGSize size = bounds().size;
    double width = size.width / double(m_labels.size());
    for (size_t index = 0; index < m_labels.size(); ++index)
        m_labels[index]->setFrame(CGRectMake(width * double(index), 0, width, size.height));
}
