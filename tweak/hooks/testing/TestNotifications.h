#pragma once

class NSDate;
class NSString;

// Darwin callbacks: fifteen sample notifications on the lock screen, or one sample banner.
extern "C" void TWLTestNotifications();
extern "C" void TWLTestBanner();

// Builds one sample bulletin and hands it to the captured server on the server's queue.
void TWLPublishTestBulletin(NSString* sectionID, NSDate* date, NSString* message, bool banner);
