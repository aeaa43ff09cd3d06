#pragma once

#include "platform/graphics/UIColor.h"
#include "platform/uikit/UIView.h"
#include "tweak/styling/QFConfig.h"

// The (Tintwell) category of UIView: the painter every tinted surface goes through.
// Registered on UIView as setColorWithQFConfig:color: (registerUIViewTintwellMethods).

// -setColorWithQFConfig:color: — style 0: border width and border colour; style 1:
// background colour; any other style: width, then border colour, then background colour,
// with the light opacities when the system appearance is light (1) and the dark ones
// otherwise. The colour's own alpha is replaced by the record's percentage; a nil colour
// clears the colour properties the style sets; a nil record paints as style 0 with zeros.
void setColorWithQFConfigcolor(UIView* view, const QFConfig* config, const UIColor* color);

// The system appearance: "_currentStyle" of the shared UIUserInterfaceStyleArbiter. When
// the arbiter, its shared instance or the variable cannot be had, the style the view is
// shown with (its trait collection); with neither, unspecified (0), which paints dark.
long currentInterfaceStyleForPainting(const UIView* view);

// The same rule with the arbiter class given, so the fallbacks can be exercised.
long interfaceStyleFromArbiter(Class arbiterClass, const UIView* view);

void registerUIViewTintwellMethods();
