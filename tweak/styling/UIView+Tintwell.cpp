#include "tweak/styling/UIView+Tintwell.h"

#include "tweak/colour/UIColor+Tintwell.h"

#include "platform/runtime/RememberedClass.h"
#include "platform/uikit/CALayer.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace {

constexpr long lightStyle = 1;

// Read by name at every paint; the class and the variable are remembered once found.
std::optional<long> readStyleIvar(Object* arbiter)
{
    Ivar ivar = instanceVariableNamed<"_currentStyle">(arbiter->isa());
    const char* encoding = ivar_getTypeEncoding(ivar);
    const void* address = object_getIvarAddress(arbiter, ivar);
    if (!encoding || !address)
        return std::nullopt;
    if (!std::strcmp(encoding, "q"))
        return *static_cast<const long*>(address);
    if (!std::strcmp(encoding, "i"))
        return *static_cast<const int*>(address);
    return std::nullopt;
}

long styleShownBy(const Object* view)
{
    auto traits = msgSendIfResponds<Id>(view, SELECTOR("traitCollection"));
    return msgSendIfResponds<long>(traits.get(), SELECTOR("userInterfaceStyle"));
}

// What a colour built from the paint colour with a percentage holds; none without a colour.
// Layout passes repaint every platter with what it already shows, so each property is
// compared first and only a change builds and sets a new colour.
struct Tint {
    const UIColor* color;
    std::optional<RGBAComponents> components;

    std::optional<RGBAComponents> withPercent(long percent) const
    {
        if (!components)
            return std::nullopt;
        auto c = *components;
        // As the colour constructor keeps it.
        c.alpha = std::min(double(percent) * 0.01, 1.0);
        return c;
    }
};

// Whether a property already shows the wanted colour: the same four components, or
// nothing at all when there is no colour to paint.
bool alreadyShows(bool present, const std::optional<RGBAComponents>& shown, const std::optional<RGBAComponents>& wanted)
{
    if (!wanted)
        return !present;
    return shown && shown->red == wanted->red && shown->green == wanted->green && shown->blue == wanted->blue && shown->alpha == wanted->alpha;
}

std::optional<RGBAComponents> componentsOf(CGColorRef color)
{
    if (CGColorGetNumberOfComponents(color) != 4)
        return std::nullopt;
    const double* c = CGColorGetComponents(color);
    return RGBAComponents { c[0], c[1], c[2], c[3] };
}

RefPtr<CALayer> layerOf(Object* view) { return msgSend<RefPtr<CALayer>>(view, SELECTOR("layer")); }

void paintBorderWidth(CALayer* layer, long width)
{
    double points = double(width);
    if (layer && msgSend<double>(layer, SELECTOR("borderWidth")) == points)
        return;
    msgSend<void>(layer, SELECTOR("setBorderWidth:"), points);
}

void paintBorderColor(CALayer* layer, const Tint& tint, long percent)
{
    auto wanted = tint.withPercent(percent);
    auto shown = msgSend<RefPtr<CGColor>>(layer, SELECTOR("borderColor"));
    if (layer && alreadyShows(bool(shown), componentsOf(shown.get()), wanted))
        return;
    auto built = makeColorWithAlpha(tint.color, percent);
    msgSend<void>(layer, SELECTOR("setBorderColor:"), msgSend<RefPtr<CGColor>>(built, SELECTOR("CGColor")));
}

void paintBackground(Object* view, const Tint& tint, long percent)
{
    auto wanted = tint.withPercent(percent);
    auto shown = msgSend<Id>(view, SELECTOR("backgroundColor"));
    if (alreadyShows(bool(shown), readRGBAComponents(shown.get()), wanted))
        return;
    msgSend<void>(view, SELECTOR("setBackgroundColor:"), makeColorWithAlpha(tint.color, percent));
}

long appearanceFrom(Class cls, const Object* view)
{
    auto arbiter = class_respondsToClassSelector(cls, SELECTOR("sharedInstance")) ? msgSendClass<Id>(cls, SELECTOR("sharedInstance")) : nullptr;
    if (arbiter) {
        if (auto style = readStyleIvar(arbiter.get()))
            return *style;
    }
    return styleShownBy(view);
}

// Everything the painter does to the view is sent to it, so any receiver will do.
void paint(Object* view, const QFConfig* config, const UIColor* color)
{
    if (!view)
        return;
    // The colour's own alpha never shows; a colour without RGB components paints as none.
    Tint tint { color, readRGBAComponents(color) };
    auto layer = layerOf(view);
    // A missing record reads as a fresh one: style 0, zero width, zero opacity.
    long style = config ? config->style() : 0;
    if (style == 0) {
        paintBorderWidth(layer.get(), config ? config->borderThiccness() : 0);
        paintBorderColor(layer.get(), tint, config ? config->borderAlpha() : 0);
        return;
    }
    if (style == 1) {
        paintBackground(view, tint, config->fullAlpha());
        return;
    }
    paintBorderWidth(layer.get(), config->bothThickness());
    bool light = appearanceFrom(classNamed<"UIUserInterfaceStyleArbiter">(), view) == lightStyle;
    paintBorderColor(layer.get(), tint, light ? config->lightCornerAlpha() : config->darkCornerAlpha());
    paintBackground(view, tint, light ? config->lightBackgroundAlpha() : config->darkBackgroundAlpha());
}

// Added to UIView, so the receiver is a view without a cast.
void setColorMethod(id self, SEL, id config, id color)
{
    paint(self, objectCast<QFConfig>(config), objectCast<UIColor>(color));
}

} // namespace

long interfaceStyleFromArbiter(Class cls, const UIView* view) { return appearanceFrom(cls, view); }

long currentInterfaceStyleForPainting(const UIView* view) { return appearanceFrom(classNamed<"UIUserInterfaceStyleArbiter">(), view); }

void setColorWithQFConfigcolor(UIView* view, const QFConfig* config, const UIColor* color) { paint(view, config, color); }

void registerUIViewTintwellMethods()
{
    class_addMethod(UIView::classObject(), sel_registerName("setColorWithQFConfig:color:"), &setColorMethod);
}
