#include "platform/springboard/NCToggleControlPair.h"

Class NCToggleControlPair::classObject()
{
    static Class cls = ClassBuilder<NCToggleControlPair>("NCToggleControlPair", UIView::classObject())
                           .method<&NCToggleControlPair::toggleControls>("toggleControls")
                           .method<&NCToggleControlPair::layoutSubviewsImpl>("layoutSubviews")
                           .build();
    return cls;
}

RefPtr<NCToggleControlPair> NCToggleControlPair::create(std::string_view leadingTitle, std::string_view trailingTitle)
{
    auto pair = UIView::create<NCToggleControlPair>();
    if (!pair)
        return nullptr;
    for (auto title : { leadingTitle, trailingTitle }) {
        auto control = NCToggleControl::create(title);
        pair->addSubview(control.get());
        pair->m_toggleControls.push_back(std::move(control));
    }
    return pair;
}

RefPtr<NSArray> NCToggleControlPair::toggleControls() const
{
    return NSArray::arrayWithObjects(std::vector<Id>(m_toggleControls.begin(), m_toggleControls.end()));
}

void NCToggleControlPair::layoutSubviewsImpl()
{
    constexpr double spacing = 8;
    double x = bounds().size.width;
    for (auto it = m_toggleControls.rbegin(); it != m_toggleControls.rend(); ++it) {
        double width = (*it)->frame().size.width;
        x -= width;
        (*it)->setFrame(CGRectMake(x, 0, width, bounds().size.height));
        x -= spacing;
    }
}
