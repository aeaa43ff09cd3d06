#pragma once

#include "platform/foundation/NSObjCRuntime.h"
#include "platform/graphics/UIImage.h"
#include "platform/springboard/ApplicationIconCache.h"

#include <optional>
#include <string_view>
#include <vector>

// The home screen's own icon images. registerUIImageApplicationIcons() registers the class
// method +[UIImage _applicationIconImageForBundleIdentifier:format:scale:] ("@@:@id": the
// format is an int, as on the phone).

inline constexpr std::string_view mobileIconsBundleIdentifier = "com.apple.mobileicons.framework";
inline constexpr std::string_view mobileIconsBundlePath = "/System/Library/PrivateFrameworks/MobileIcons.framework";
inline constexpr std::string_view genericIconName = "DefaultIcon-60";

// Points per side of each icon format: 0 small (29), 1 spotlight (40), 2 home screen (62).
std::optional<double> applicationIconPoints(int format);

// An image as imageNamed:inBundle: finds it: a name and the bundle to look in.
struct NamedImage {
    Id name;
    Id bundle;

    // Sends +[UIImage imageNamed:inBundle:]; nil without a name.
    RefPtr<UIImage> load() const;
    // How the files it would try stand on disk now; nothing when one is a link.
    std::optional<std::vector<ApplicationIconCache::FileStamp>> stamps() const;
};

// The name and bundle of an app's icon file (the last CFBundleIconFiles entry of
// CFBundlePrimaryIcon): empty for an unknown app or a record without one.
NamedImage applicationIconName(std::string_view bundleIdentifier);
// "DefaultIcon-60" in the mobile-icons framework.
NamedImage genericApplicationIconName();

// The app's own icon file: the last CFBundleIconFiles entry of CFBundlePrimaryIcon, loaded
// with imageNamed:inBundle:. Nil for an unknown app or one without a loadable icon. The
// record (+[LSBundleProxy bundleProxyForIdentifier:], -iconsDictionary, -bundleURL), the
// bundle and the image are all asked by message.
RefPtr<UIImage> applicationIconFile(std::string_view bundleIdentifier);
// "DefaultIcon-60" of the mobile-icons framework; nil when it cannot be loaded.
RefPtr<UIImage> genericApplicationIcon();

// The icon as the home screen draws it (the class method's body): scaled into the format's
// square at `scale` pixels per point and masked to the rounded square, so its corners are
// transparent. Unknown apps and apps without a loadable icon get the generic icon. Nil for
// an unknown format, a bitmap side above 1024 pixels, or when even the generic icon is
// missing. Drawn icons are kept in ApplicationIconCache::shared() and handed out again
// (the same image) while the files they were drawn from are unchanged; the app's record
// is still asked each time, so a reinstalled app is seen as soon as its record is.
RefPtr<UIImage> applicationIconImage(std::string_view bundleIdentifier, int format, double scale);

// Sends +[UIImage _applicationIconImageForBundleIdentifier:format:scale:]: how every part
// of the home screen asks for an app's icon, so a hook on the method sees each request.
RefPtr<UIImage> sendApplicationIconImage(std::string_view bundleIdentifier, int format, double scale);

// Safe to call more than once.
void registerUIImageApplicationIcons();
