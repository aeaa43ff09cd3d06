#pragma once

#include "platform/runtime/ClassBuilder.h"

// The style record of one tinted surface: outline width and opacities, fill opacities
// in light and dark appearance, and which of the three styles the painter uses.
class QFConfig : public Object {
    TW_OBJECT(QFConfig)
public:
    // `new`: superclass allocation, then init; every field 0.
    static RefPtr<QFConfig> makeNew();

    // +newQFConfigWithBT:BA:FA:BT:DB:DC:LB:LC:style:, created under the lock bound to the class.
    static RefPtr<QFConfig> newQFConfigWithBTBAFABTDBDCLBLCstyle(long borderThiccness, long borderAlpha, long fullAlpha,
        long bothThickness, long darkBackgroundAlpha, long darkCornerAlpha, long lightBackgroundAlpha, long lightCornerAlpha, long style);

    // -setQFConfigWithBT:BA:FA:BT:DB:DC:LB:LC:style:, each value through its property setter, in order.
    void setQFConfigWithBTBAFABTDBDCLBLCstyle(long borderThiccness, long borderAlpha, long fullAlpha,
        long bothThickness, long darkBackgroundAlpha, long darkCornerAlpha, long lightBackgroundAlpha, long lightCornerAlpha, long style);

    long borderThiccness() const { return m_borderThiccness; }
    long borderAlpha() const { return m_borderAlpha; }
    long fullAlpha() const { return m_fullAlpha; }
    long bothThickness() const { return m_bothThickness; }
    long darkBackgroundAlpha() const { return m_darkBackgroundAlpha; }
    long darkCornerAlpha() const { return m_darkCornerAlpha; }
    long lightBackgroundAlpha() const { return m_lightBackgroundAlpha; }
    long lightCornerAlpha() const { return m_lightCornerAlpha; }
    long style() const { return m_style; }

    void setBorderThiccness(long value) { m_borderThiccness = value; }
    void setBorderAlpha(long value) { m_borderAlpha = value; }
    void setFullAlpha(long value) { m_fullAlpha = value; }
    void setBothThickness(long value) { m_bothThickness = value; }
    void setDarkBackgroundAlpha(long value) { m_darkBackgroundAlpha = value; }
    void setDarkCornerAlpha(long value) { m_darkCornerAlpha = value; }
    void setLightBackgroundAlpha(long value) { m_lightBackgroundAlpha = value; }
    void setLightCornerAlpha(long value) { m_lightCornerAlpha = value; }
    void setStyle(long value) { m_style = value; }

protected:
    QFConfig() = default;

private:
    long m_borderThiccness { 0 };
    long m_borderAlpha { 0 };
    long m_fullAlpha { 0 };
    long m_bothThickness { 0 };
    long m_darkBackgroundAlpha { 0 };
    long m_darkCornerAlpha { 0 };
    long m_lightBackgroundAlpha { 0 };
    long m_lightCornerAlpha { 0 };
    long m_style { 0 };
};
