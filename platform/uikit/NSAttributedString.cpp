#include "platform/uikit/NSAttributedString.h"

#include "platform/foundation/CFNotificationCenter.h"

// The phone's own values of these constants.
const NSString* const NSForegroundColorAttributeName = CFSTR("NSColor");
const NSString* const NSFontAttributeName = CFSTR("NSFont");
