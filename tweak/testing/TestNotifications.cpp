#include "tweak/testing/TestNotifications.h"

// The sample bulletins come with the bulletin-server work; until then a request does nothing.
void TWLTestNotifications() { }
void TWLTestBanner() { }
