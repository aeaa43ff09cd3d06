#include "platform/springboard/SBUILegibilityLabel.h"

Class SBUILegibilityLabel::classObject()
{
    static Class cls = ClassBuilder<SBUILegibilityLabel>("SBUILegibilityLabel", UILabel::classObject())
                           .method<&SBUILegibilityLabel::stringImpl>("string")
                           .method<&SBUILegibilityLabel::setStringImpl>("setString:")
                           .build();
    return cls;
}
