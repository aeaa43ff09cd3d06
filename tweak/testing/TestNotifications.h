#pragma once

// Darwin callbacks: fifteen sample notifications on the lock screen, or one sample banner.
extern "C" void TWLTestNotifications();
extern "C" void TWLTestBanner();
