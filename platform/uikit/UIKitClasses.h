#pragma once

// Registers every UIKit class by name, so objc_getClass finds them before first use
// (the home-screen host calls this before it loads extensions).
void registerUIKitClasses();
