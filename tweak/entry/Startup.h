#pragma once

// The load-time start-up of the extension, run once by the library's constructor.
class Startup {
public:
    static void run();

private:
    static void detectCompanions();
    static void subscribeToDarwinNotifications();
    static void installCompanionHooks();
};
