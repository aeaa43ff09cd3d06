#include "platform/springboard/AppRecordClasses.h"

#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NSURL.h"
#include "platform/springboard/LSBundleProxy.h"
#include "platform/springboard/UIImage+ApplicationIcons.h"
#include "platform/springboard/UIImage+NSBundle.h"

namespace {

Id bundleWithIdentifierImp(Class, SEL, id identifier)
{
    auto* text = objectCast<NSString>(identifier);
    return text ? NSBundle::bundleWithIdentifier(text->view()) : nullptr;
}

Id bundleWithURLImp(Class, SEL, id url) { return NSBundle::bundleWithURL(objectCast<NSURL>(url)); }

// The icon lookup reaches bundles by class message; adding never replaces a method NSBundle
// already registers itself.
void registerBundleClassMethods()
{
    Class bundle = NSBundle::classObject();
    class_addClassMethod(bundle, sel_registerName("bundleWithIdentifier:"), &bundleWithIdentifierImp);
    class_addClassMethod(bundle, sel_registerName("bundleWithURL:"), &bundleWithURLImp);
}

} // namespace

void registerAppRecordClasses()
{
    LSBundleProxy::classObject();
    registerBundleClassMethods();
    registerUIImageNSBundle();
    registerUIImageApplicationIcons();
}

void PlatformRegisterAppRecordClasses() { registerAppRecordClasses(); }
