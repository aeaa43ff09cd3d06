#include "tweak/styling/UIView+Tintwell.h"

#include "tweak/colour/UIColor+Tintwell.h"

#include <cstring>

namespace {

constexpr long lightStyle = 1;

// Written once, on the interface thread; a class not registered yet is looked up again.
Class rememberedArbiterClass;

Class arbiterClass()
{
    if (!rememberedArbiterClass)
        rememberedArbiterClass = objc_getClass("UIUserInterfaceStyleArbiter");
    return rememberedArbiterClass;
}

std::optional<long> readStyleIvar(Object* arbiter)
{
    Ivar ivar = class_getInstanceVariable(arbiter->isa(), "_currentStyle");
    void* address = object_getIvarAddress(arbiter, ivar);
    if (!address)
        return std::nullopt;
    const char* encoding = ivar_getTypeEncoding(ivar);
    if (!std::strcmp(encoding, "q"))
        return *static_cast<const long*>(address);
    if (!std::strcmp(encoding, "i"))
        return *static_cast<const int*>(address);
    return std::nullopt;
}

long styleShownBy(const UIView* view)
{
    auto traits = msgSendIfResponds<Id>(view, SELECTOR("traitCollection"));
    return msgSendIfResponds<long>(traits, SELECTOR("userInterfaceStyle"));
}

RefPtr<CGColor> cgColorOf(const UIColor* color, long percent)
{
    auto built = makeColorWithAlpha(color, percent);
    return msgSend<RefPtr<CGColor>>(built, SELECTOR("CGColor"));
}

void paintBorderWidth(UIView* view, long width)
{
    auto layer = msgSend<RefPtr<CALayer>>(view, SELECTOR("layer"));
    msgSend<void>(layer, SELECTOR("setBorderWidth:"), double(width));
}

void paintBorderColor(UIView* view, const UIColor* color, long percent)
{
    auto layer = msgSend<RefPtr<CALayer>>(view, SELECTOR("layer"));
    msgSend<void>(layer, SELECTOR("setBorderColor:"), cgColorOf(color, percent));
}

void paintBackground(UIView* view, const UIColor* color, long percent)
{
    msgSend<void>(view, SELECTOR("setBackgroundColor:"), makeColorWithAlpha(color, percent));
}

void setColorMethod(id self, SEL, id config, id color)
{
    setColorWithQFConfigcolor(dynamic_cast<UIView*>(self), dynamic_cast<QFConfig*>(config), dynamic_cast<UIColor*>(color));
}

} // namespace

long interfaceStyleFromArbiter(Class cls, const UIView* view)
{
    auto arbiter = class_respondsToClassSelector(cls, SELECTOR("sharedInstance")) ? msgSendClass<Id>(cls, SELECTOR("sharedInstance")) : nullptr;
    if (arbiter) {
        if (auto style = readStyleIvar(arbiter.get()))
            return *style;
    }
    return styleShownBy(view);
}

long currentInterfaceStyleForPainting(const UIView* view) { return interfaceStyleFromArbiter(arbiterClass(), view); }

void setColorWithQFConfigcolor(UIView* view, const QFConfig* config, const UIColor* color)
{
    if (!view)
        return;
    // A missing record reads as a fresh one: style 0, zero width, zero opacity.
    long style = config ? config->style() : 0;
    if (style == 0) {
        paintBorderWidth(view, config ? config->borderThiccness() : 0);
        paintBorderColor(view, color, config ? config->borderAlpha() : 0);
        return;
    }
    if (style == 1) {
        paintBackground(view, color, config->fullAlpha());
        return;
    }
    paintBorderWidth(view, config->bothThickness());
    bool light = currentInterfaceStyleForPainting(view) == lightStyle;
    paintBorderColor(view, color, light ? config->lightCornerAlpha() : config->darkCornerAlpha());
    paintBackground(view, color, light ? config->lightBackgroundAlpha() : config->darkBackgroundAlpha());
}

void registerUIViewTintwellMethods()
{
    class_addMethod(UIView::classObject(), sel_registerName("setColorWithQFConfig:color:"), &setColorMethod);
}
