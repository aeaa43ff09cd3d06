#include "platform/springboard/SpringBoardHost.h"

#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSMutableArray.h"
#include "platform/foundation/NSMutableDictionary.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NSURL.h"
#include "platform/graphics/UIColor.h"
#include "platform/graphics/UIImage.h"
#include "platform/foundation/NSRunLoop.h"
#include "platform/foundation/RunLoopClasses.h"
#include "platform/springboard/AppRecordClasses.h"
#include "platform/springboard/MediaAndWidgetClasses.h"
#include "platform/springboard/NotificationClasses.h"
#include "platform/springboard/SpringBoard.h"

void SpringBoardHost::registerSystemClasses()
{
    registerRunLoopClasses();
    // The value classes exist before any extension loads, so a load report never credits
    // an extension with the system's own classes.
    NSString::classObject();
    NSNumber::classObject();
    NSData::classObject();
    NSURL::classObject();
    NSArray::classObject();
    NSMutableArray::classObject();
    NSDictionary::classObject();
    NSMutableDictionary::classObject();
    UIColor::classObject();
    UIImage::classObject();
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
