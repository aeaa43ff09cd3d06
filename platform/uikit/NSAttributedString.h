#pragma once

class NSString;

// Text attribute names, as bars and labels take them in attribute dictionaries.
// The value under NSForegroundColorAttributeName is a UIColor.
extern const NSString* const NSForegroundColorAttributeName;
extern const NSString* const NSFontAttributeName;
