#include "tweak/entry/TintwellMethods.h"

#include "tweak/colour/QFColorManager.h"
#include "tweak/colour/UIColor+Tintwell.h"
#include "tweak/colour/UIImage+Tintwell.h"
#include "tweak/styling/UIView+Tintwell.h"

void registerTintwellMethods()
{
    registerUIColorTintwellMethods();
    registerUIImageTintwellMethods();
    registerUIViewTintwellMethods();
    QFColorManager::classObject();
}
