#include "companions/axon/AXNAppCell.h"

namespace {

constexpr double iconInset = 10;

} // namespace

Class AXNAppCell::classObject()
{
    static Class cls = ClassBuilder<AXNAppCell>("AXNAppCell", UIView::classObject())
                           .method<&AXNAppCell::initWithFrameImpl>("initWithFrame:")
                           .method<&AXNAppCell::bundleIdentifier>("bundleIdentifier")
                           .method<&AXNAppCell::setBundleIdentifierImpl>("setBundleIdentifier:")
                           .method<&AXNAppCell::iconView>("iconView")
                           .method<&AXNAppCell::isSelected>("isSelected")
                           .method<&AXNAppCell::setSelectedImpl>("setSelected:")
                           .ivar<&AXNAppCell::m_bundleIdentifier>("_bundleIdentifier")
                           .ivar<&AXNAppCell::m_iconView>("_iconView")
                           .build();
    return cls;
}

Id AXNAppCell::initWithFrameImpl(CGRect frame)
{
    Id self = msgSendSuper<Id>(this, classObject(), SELECTOR("initWithFrame:"), frame);
    if (!self)
        return nullptr;
    m_iconView = UIImageView::create(CGRectMake(iconInset, iconInset, frame.size.width - 2 * iconInset, frame.size.height - 2 * iconInset));
    addSubview(m_iconView.get());
    layer()->setCornerRadius(12);
    return self;
}

void AXNAppCell::setSelectedImpl(bool selected)
{
    m_selected = selected;
    // Axon dims the apps that are not shown.
    m_iconView->setAlpha(selected ? 1.0 : 0.6);
}

// Axon's classes exist once its library is loaded, as on the phone.
__attribute__((constructor)) static void registerAxonClasses()
{
    AXNAppCell::classObject();
}
