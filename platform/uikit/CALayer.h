#pragma once

#include "platform/graphics/CGColor.h"
#include "platform/graphics/CGGeometry.h"

// The drawing properties of a view that live on its layer. The border colour keeps its
// alpha; a nil border colour draws no border.
class CALayer : public Object {
    TW_OBJECT(CALayer)
public:
    static RefPtr<CALayer> layer() { return make<CALayer>(); }

    double borderWidth() const { return m_borderWidth; }
    void setBorderWidth(double width) { msgSend<void>(this, SELECTOR("setBorderWidth:"), width); }
    RefPtr<CGColor> borderColor() const { return m_borderColor; }
    void setBorderColor(CGColor* color) { msgSend<void>(this, SELECTOR("setBorderColor:"), color); }
    double cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(double radius) { msgSend<void>(this, SELECTOR("setCornerRadius:"), radius); }
    bool masksToBounds() const { return m_masksToBounds; }
    void setMasksToBounds(bool masks) { msgSend<void>(this, SELECTOR("setMasksToBounds:"), masks); }

protected:
    CALayer() = default;

private:
    void setBorderWidthImpl(double width) { m_borderWidth = width; }
    void setBorderColorImpl(RefPtr<CGColor> color) { m_borderColor = std::move(color); }
    void setCornerRadiusImpl(double radius) { m_cornerRadius = radius; }
    void setMasksToBoundsImpl(bool masks) { m_masksToBounds = masks; }

    double m_borderWidth { 0 };
    RefPtr<CGColor> m_borderColor;
    double m_cornerRadius { 0 };
    bool m_masksToBounds { false };
};
