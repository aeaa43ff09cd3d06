#include "companions/grupi/GRPAppCell.h"

namespace {

constexpr double iconInset = 10;

} // namespace

Class GRPAppCell::classObject()
{
    static Class cls = ClassBuilder<GRPAppCell>("GRPAppCell", UIView::classObject())
                           .method<&GRPAppCell::initWithFrameImpl>("initWithFrame:")
                           .method<&GRPAppCell::bundleIdentifier>("bundleIdentifier")
                           .method<&GRPAppCell::setBundleIdentifierImpl>("setBundleIdentifier:")
                           .method<&GRPAppCell::iconView>("iconView")
                           .method<&GRPAppCell::isSelected>("isSelected")
                           .method<&GRPAppCell::setSelectedImpl>("setSelected:")
                           .ivar<&GRPAppCell::m_bundleIdentifier>("_bundleIdentifier")
                           .ivar<&GRPAppCell::m_iconView>("_iconView")
                           .build();
    return cls;
}

Id GRPAppCell::initWithFrameImpl(CGRect frame)
{
    Id self = msgSendSuper<Id>(this, classObject(), SELECTOR("initWithFrame:"), frame);
    if (!self)
        return nullptr;
    m_iconView = UIImageView::create(CGRectMake(iconInset, iconInset, frame.size.width - 2 * iconInset, frame.size.height - 2 * iconInset));
    addSubview(m_iconView.get());
    layer()->setCornerRadius(12);
    return self;
}

void GRPAppCell::setSelectedImpl(bool selected)
{
    m_selected = selected;
    // Grupi dims the groups that are not open.
    m_iconView->setAlpha(selected ? 1.0 : 0.6);
}

// Grupi's classes exist once its library is loaded, as on the phone.
__attribute__((constructor)) static void registerGrupiClasses()
{
    GRPAppCell::classObject();
}
