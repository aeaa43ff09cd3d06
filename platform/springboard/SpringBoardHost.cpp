#include "platform/springboard/SpringBoardHost.h"

#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/NSRunLoop.h"
#include "platform/foundation/RunLoopClasses.h"
#include "platform/springboard/AppRecordClasses.h"
#include "platform/springboard/MediaAndWidgetClasses.h"
#include "platform/springboard/NotificationClasses.h"
#include "platform/springboard/SpringBoard.h"

void SpringBoardHost::registerSystemClasses()
{
    registerRunLoopClasses();
    registerAppRecordClasses();
    registerNotificationClasses();
    registerMediaAndWidgetClasses();
    SpringBoard::classObject();
}

SpringBoardHost::SpringBoardHost(const std::filesystem::path& deviceRoot)
{
    DeviceRoot::set(deviceRoot);
    // The first caller becomes the main thread, where every timer and notification runs.
    NSRunLoop::mainRunLoop();
}

ExtensionLoader::Report SpringBoardHost::loadExtensions()
{
    registerSystemClasses();
    ExtensionLoader loader { std::string(bundleIdentifier), std::string(executableName) };
    return loader.loadExtensions();
}

void SpringBoardHost::finishLaunching()
{
    auto application = SpringBoard::sharedApplication();
    application->applicationDidFinishLaunching(application.get());
}

void SpringBoardHost::run(double seconds)
{
    auto& runLoop = NSRunLoop::mainRunLoop();
    if (seconds > 0)
        runLoop.runFor(seconds);
    else
        runLoop.runUntilIdle();
}
