#pragma once

// The install prefix a package is built for, the way rootless builds of phone extensions
// do it: "" for the classic layout, "/var/jb" for the rootless one. The build sets it per
// variant; it is never decided at run time, so each binary holds the paths it installs to.
#ifndef TINTWELL_INSTALL_PREFIX
#define TINTWELL_INSTALL_PREFIX ""
#endif

// A device path of something a package or the jailbreak installs, with the prefix in front:
// ROOT_PATH("/usr/bin/sbreload"). User data ("/var/mobile/...") and the system's own files
// ("/Applications/...") are where they are on every device and take no prefix.
#define ROOT_PATH(path) TINTWELL_INSTALL_PREFIX path
