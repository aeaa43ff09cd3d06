# The Debian-format package of both deliverables, laid out as the phone expects, in two
# flavours: "classic" (paths from "/", iphoneos-arm) and "rootless" (every path under
# "/var/jb", iphoneos-arm64). `cpack -G DEB` in a build folder writes both.
# The files are taken from the build's device root, where the build already lays them
# out; user preferences there are never installed.

set(TWL_DYLIB_DIR ${TINTWELL_DYLIB_DIR})
set(TWL_BUNDLE_DIR ${TINTWELL_DEVICE_ROOT}/Library/PreferenceBundles/TintwellPrefs.bundle)
set(TWL_ENTRY ${TINTWELL_DEVICE_ROOT}/Library/PreferenceLoader/Preferences/TintwellPrefs.plist)

foreach(flavour classic rootless)
  if(flavour STREQUAL "rootless")
    set(prefix "var/jb/")
  else()
    set(prefix "")
  endif()
  install(PROGRAMS ${TWL_DYLIB_DIR}/Tintwell.dylib
    DESTINATION ${prefix}Library/MobileSubstrate/DynamicLibraries COMPONENT ${flavour})
  install(FILES ${TWL_DYLIB_DIR}/Tintwell.plist
    DESTINATION ${prefix}Library/MobileSubstrate/DynamicLibraries COMPONENT ${flavour})
  # The settings bundle joins the package once the prefs folder builds it.
  if(TARGET TintwellPrefs)
    install(DIRECTORY ${TWL_BUNDLE_DIR} DESTINATION ${prefix}Library/PreferenceBundles COMPONENT ${flavour}
      USE_SOURCE_PERMISSIONS)
    install(FILES ${TWL_ENTRY} DESTINATION ${prefix}Library/PreferenceLoader/Preferences COMPONENT ${flavour})
  endif()
endforeach()

set(CPACK_GENERATOR DEB)
# Paths are the phone's own, from its root, not under /usr.
set(CPACK_PACKAGING_INSTALL_PREFIX /)
set(CPACK_PACKAGE_NAME Tintwell)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Quillfen <tintwell@quillfen.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Tints notifications, widgets and media controls with their app's icon colour")
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_COMPONENTS_ALL classic rootless)
set(CPACK_DEB_COMPONENT_INSTALL ON)
# Each component is a whole package of its own, not a part of one.
set(CPACK_COMPONENTS_GROUPING IGNORE)
set(CPACK_DEBIAN_PACKAGE_SECTION Tweaks)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "mobilesubstrate, preferenceloader, ws.hbang.common, com.spark.libsparkcolourpicker")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quillfen <tintwell@quillfen.com>")
foreach(flavour classic rootless)
  string(TOUPPER ${flavour} FLAVOUR)
  set(CPACK_DEBIAN_${FLAVOUR}_PACKAGE_NAME com.quillfen.tintwell)
  set(CPACK_DEBIAN_${FLAVOUR}_PACKAGE_SECTION Tweaks)
endforeach()
set(CPACK_DEBIAN_CLASSIC_PACKAGE_ARCHITECTURE iphoneos-arm)
set(CPACK_DEBIAN_ROOTLESS_PACKAGE_ARCHITECTURE iphoneos-arm64)
set(CPACK_DEBIAN_CLASSIC_FILE_NAME com.quillfen.tintwell_${PROJECT_VERSION}_iphoneos-arm.deb)
set(CPACK_DEBIAN_ROOTLESS_FILE_NAME com.quillfen.tintwell_${PROJECT_VERSION}_iphoneos-arm64.deb)
# The phone's package managers show Name and Author, fields CPack does not write.
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/PackagingFields.cmake)
set(CPACK_TINTWELL_NAME_FIELD Tintwell)
set(CPACK_TINTWELL_AUTHOR_FIELD "Quillfen <tintwell@quillfen.com>")

include(CPack)
