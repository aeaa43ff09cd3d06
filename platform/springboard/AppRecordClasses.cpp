#include "platform/springboard/AppRecordClasses.h"

#include "platform/springboard/LSBundleProxy.h"
#include "platform/springboard/UIImage+ApplicationIcons.h"
#include "platform/springboard/UIImage+NSBundle.h"

void registerAppRecordClasses()
{
    LSBundleProxy::classObject();
    registerUIImageNSBundle();
    registerUIImageApplicationIcons();
}
