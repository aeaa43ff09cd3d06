#pragma once

#include "platform/runtime/ClassBuilder.h"

// The record's nine integer properties, in the order of the nine-value setter.
#define TINTWELL_QFCONFIG_FIELDS(FIELD)          \
    FIELD(borderThiccness, BorderThiccness)         \
    FIELD(borderAlpha, BorderAlpha)                 \
    FIELD(fullAlpha, FullAlpha)                     \
    FIELD(bothThickness, BothThickness)             \
    FIELD(darkBackgroundAlpha, DarkBackgroundAlpha) \
    FIELD(darkCornerAlpha, DarkCornerAlpha)         \
    FIELD(lightBackgroundAlpha, LightBackgroundAlpha) \
    FIELD(lightCornerAlpha, LightCornerAlpha)       \
    FIELD(style, Style)

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

    // Each field: a getter, a setter, and the "_name" variable behind its property.
#define TINTWELL_QFCONFIG_ACCESSORS(name, Name) \
    long name() const { return m_##name; }     \
    void set##Name(long value) { m_##name = value; }
    TINTWELL_QFCONFIG_FIELDS(TINTWELL_QFCONFIG_ACCESSORS)
#undef TINTWELL_QFCONFIG_ACCESSORS

protected:
    QFConfig() = default;

private:
#define TINTWELL_QFCONFIG_MEMBER(name, Name) long m_##name { 0 };
    TINTWELL_QFCONFIG_FIELDS(TINTWELL_QFCONFIG_MEMBER)
#undef TINTWELL_QFCONFIG_MEMBER
};
