# Debian-format packages, made with `cpack` in a built build folder (into packages/):
#
# For the simulated phone, each in two layouts, "classic" (paths from "/") and "rootless"
# (every path under "/var/jb", and the binaries built with that prefix):
#   com.quillfen.tintwell            the extension and its settings bundle
#   ws.hbang.common                  the stand-in of Cephei, in the phone's /usr/lib
#   com.spark.libsparkcolourpicker   the stand-in of libsparkcolourpicker, in /usr/lib
# Their binaries are Linux x86-64 libraries for the simulated device: Architecture amd64,
# so no phone would install them; the layout is the phone's.
#
# For the computer: tintwell-tools (amd64, under /usr) with both hosts, the tools (the
# preview among them, its page compiled in), the sample device and the demo.
#
# Every installed library finds what it needs relative to its own folder ($ORIGIN): the
# extension and the bundle the outside libraries in the device's /usr/lib, the tools
# their private libraries in /usr/lib/tintwell. User preferences are never packaged.

set(TWL_PACKAGE_ARCHITECTURE amd64)
set(TWL_MAINTAINER "Quillfen <tintwell@quillfen.com>")
set(TWL_SIMULATED_NOTE
  "\nThe binaries in this package are built for the simulated device of the Tintwell\nproject (Linux x86-64 shared libraries, loaded by its home-screen and Settings\nhosts), not for a phone. Only the layout is the phone's.")

# The deliverables and the outside libraries they need, in one layout.
function(twl_install_phone_layout layout)
  if(layout STREQUAL "rootless")
    set(prefix "var/jb/")
    set(suffix "_rootless")
    set(bundle_dir ${TINTWELL_ROOTLESS_STAGE}/Library/PreferenceBundles/TintwellPrefs.bundle)
    set(tweak Tintwell-rootless)
    set(bundle TintwellPrefs-rootless)
    set(cephei_prefs outside_cephei_prefs_rootless)
  else()
    set(prefix "")
    set(suffix "")
    set(bundle_dir ${TINTWELL_DEVICE_ROOT}/Library/PreferenceBundles/TintwellPrefs.bundle)
    set(tweak Tintwell)
    set(bundle TintwellPrefs)
    set(cephei_prefs outside_cephei_prefs)
  endif()
  set(component tintwell${suffix})
  install(TARGETS ${tweak} LIBRARY DESTINATION ${prefix}Library/MobileSubstrate/DynamicLibraries COMPONENT ${component})
  install(FILES ${PROJECT_SOURCE_DIR}/tweak/Tintwell.plist
    DESTINATION ${prefix}Library/MobileSubstrate/DynamicLibraries COMPONENT ${component})
  install(TARGETS ${bundle} LIBRARY DESTINATION ${prefix}Library/PreferenceBundles/TintwellPrefs.bundle COMPONENT ${component})
  install(DIRECTORY ${bundle_dir}/ DESTINATION ${prefix}Library/PreferenceBundles/TintwellPrefs.bundle
    COMPONENT ${component} REGEX "/TintwellPrefs$" EXCLUDE)
  install(FILES ${PROJECT_SOURCE_DIR}/prefs/Resources/entry.plist
    DESTINATION ${prefix}Library/PreferenceLoader/Preferences RENAME TintwellPrefs.plist COMPONENT ${component})

  install(TARGETS outside_cephei ${cephei_prefs} LIBRARY DESTINATION ${prefix}usr/lib COMPONENT cephei${suffix})
  install(TARGETS outside_sparkcolourpicker outside_sparkcolourpicker_prefs
    LIBRARY DESTINATION ${prefix}usr/lib COMPONENT sparkcolourpicker${suffix})
endfunction()
twl_install_phone_layout(classic)
twl_install_phone_layout(rootless)

# The host package. The tools find their libraries in /usr/lib/tintwell.
set(TWL_TOOLS tintwell-springboard tintwell-settings tintwell-preview tintwell-notify tintwell-colors tintwell-make-device tintwell-bound-settings)
set(TWL_TOOL_LIBRARIES platform_runtime platform_foundation platform_graphics platform_drawing platform_apprecords platform_uikit platform_springboard
  platform_settings outside_cephei outside_sparkcolourpicker)
set_target_properties(${TWL_TOOLS} PROPERTIES INSTALL_RPATH "$ORIGIN/../lib/tintwell")
set_target_properties(platform_runtime platform_foundation platform_graphics platform_drawing platform_apprecords platform_uikit platform_springboard
  platform_settings PROPERTIES INSTALL_RPATH "$ORIGIN")
install(TARGETS ${TWL_TOOLS} RUNTIME DESTINATION usr/bin COMPONENT tools)
install(TARGETS ${TWL_TOOL_LIBRARIES} LIBRARY DESTINATION usr/lib/tintwell COMPONENT tools)
install(PROGRAMS ${PROJECT_SOURCE_DIR}/scripts/tintwell-demo DESTINATION usr/bin COMPONENT tools)
install(PROGRAMS ${PROJECT_SOURCE_DIR}/demo/run.sh ${PROJECT_SOURCE_DIR}/demo/gallery.sh
  DESTINATION usr/share/tintwell/demo COMPONENT tools)
install(FILES ${PROJECT_SOURCE_DIR}/demo/lockscreen.json DESTINATION usr/share/tintwell/demo COMPONENT tools)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/demo/artwork DESTINATION usr/share/tintwell/demo COMPONENT tools)
# The sample device as the build wrote it, less what a run leaves (preferences, sockets,
# pid files) and the build's own binaries, which are installed with relative RUNPATHs.
set(TWL_SHARED_DEVICE usr/share/tintwell/device)
install(DIRECTORY ${TINTWELL_DEVICE_ROOT}/ DESTINATION ${TWL_SHARED_DEVICE} COMPONENT tools
  REGEX "/private$" EXCLUDE
  REGEX "/var/mobile/Library/Preferences/.+" EXCLUDE
  REGEX "\\.dylib$" EXCLUDE
  REGEX "/TintwellPrefs$" EXCLUDE)
install(TARGETS Tintwell Axon Grupi Dayn LIBRARY DESTINATION ${TWL_SHARED_DEVICE}/Library/MobileSubstrate/DynamicLibraries COMPONENT tools)
install(TARGETS TintwellPrefs LIBRARY DESTINATION ${TWL_SHARED_DEVICE}/Library/PreferenceBundles/TintwellPrefs.bundle COMPONENT tools)
install(TARGETS outside_cephei outside_cephei_prefs outside_sparkcolourpicker outside_sparkcolourpicker_prefs
  LIBRARY DESTINATION ${TWL_SHARED_DEVICE}/usr/lib COMPONENT tools)

# The Debian packages the tools' libraries come from, with the installed version as the
# least one: found from the files the build linked.
function(twl_debian_package_of file out)
  get_filename_component(real ${file} REALPATH)
  execute_process(COMMAND dpkg-query -S ${real} OUTPUT_VARIABLE owner RESULT_VARIABLE failed ERROR_QUIET)
  if(failed)
    # Merged /usr: dpkg knows the path without /usr.
    string(REGEX REPLACE "^/usr" "" real ${real})
    execute_process(COMMAND dpkg-query -S ${real} OUTPUT_VARIABLE owner RESULT_VARIABLE failed ERROR_QUIET)
  endif()
  if(failed)
    set(${out} "" PARENT_SCOPE)
    return()
  endif()
  string(REGEX REPLACE ":.*" "" package "${owner}")
  execute_process(COMMAND dpkg-query -W -f=\${Version} ${package} OUTPUT_VARIABLE version ERROR_QUIET)
  string(REGEX REPLACE "-[^-]*$" "" upstream "${version}")
  set(${out} "${package} (>= ${upstream})" PARENT_SCOPE)
endfunction()
set(TWL_TOOLS_DEPENDS "")
set(twl_dependency_names "")
set(twl_runtime_files)
foreach(library PLIST CAIRO PANGOCAIRO SPNG HTTPLIB)
  list(APPEND twl_runtime_files ${${library}_LINK_LIBRARIES})
endforeach()
set(twl_compiler_runtimes libstdc++.so.6 libgcc_s.so.1)
if(TINTWELL_SANITIZE)
  list(APPEND twl_compiler_runtimes libasan.so libubsan.so)
endif()
foreach(runtime ${twl_compiler_runtimes})
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime} OUTPUT_VARIABLE file OUTPUT_STRIP_TRAILING_WHITESPACE)
  list(APPEND twl_runtime_files ${file})
endforeach()
foreach(file ${twl_runtime_files})
  if(NOT IS_ABSOLUTE "${file}" OR NOT EXISTS "${file}")
    continue()
  endif()
  twl_debian_package_of(${file} dependency)
  string(REGEX REPLACE " .*" "" name "${dependency}")
  if(dependency AND NOT name IN_LIST twl_dependency_names)
    list(APPEND twl_dependency_names ${name})
    list(APPEND TWL_TOOLS_DEPENDS "${dependency}")
  endif()
endforeach()
list(APPEND TWL_TOOLS_DEPENDS "fonts-dejavu-core")
list(JOIN TWL_TOOLS_DEPENDS ", " TWL_TOOLS_DEPENDS)

set(CPACK_GENERATOR DEB)
# Paths are the phone's own, from its root, not under /usr.
set(CPACK_PACKAGING_INSTALL_PREFIX /)
set(CPACK_PACKAGE_NAME Tintwell)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${TWL_MAINTAINER}")
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_DEB_COMPONENT_INSTALL ON)
# Each component is a whole package of its own, not a part of one.
set(CPACK_COMPONENTS_GROUPING IGNORE)
# No debugging information, which would hold the build's folders.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TWL_MAINTAINER}")
set(CPACK_COMPONENTS_ALL)

# twl_package(COMPONENT NAME VERSION SECTION DEPENDS SUMMARY DESCRIPTION [FIELDS ...])
# Texts here must hold no ";" or double quote (CPack writes them into its config as is).
# FIELDS are the extra control lines the phone's package managers show (Name, Author,
# Depiction, Icon); the post-build script adds them and the component's own Version.
function(twl_package component)
  cmake_parse_arguments(P "" "PACKAGE;VERSION;SECTION;DEPENDS;SUMMARY;DESCRIPTION;FILE" "FIELDS" ${ARGN})
  string(TOUPPER ${component} COMPONENT)
  set(CPACK_COMPONENTS_ALL ${CPACK_COMPONENTS_ALL} ${component} PARENT_SCOPE)
  set(CPACK_DEBIAN_${COMPONENT}_PACKAGE_NAME ${P_PACKAGE} PARENT_SCOPE)
  set(CPACK_DEBIAN_${COMPONENT}_PACKAGE_SECTION ${P_SECTION} PARENT_SCOPE)
  set(CPACK_DEBIAN_${COMPONENT}_PACKAGE_DEPENDS "${P_DEPENDS}" PARENT_SCOPE)
  set(CPACK_DEBIAN_${COMPONENT}_PACKAGE_ARCHITECTURE ${TWL_PACKAGE_ARCHITECTURE} PARENT_SCOPE)
  set(CPACK_DEBIAN_${COMPONENT}_FILE_NAME ${P_FILE} PARENT_SCOPE)
  set(CPACK_COMPONENT_${COMPONENT}_DESCRIPTION "${P_SUMMARY}\n${P_DESCRIPTION}" PARENT_SCOPE)
  list(JOIN P_FIELDS "\n" fields)
  set(CPACK_TINTWELL_FIELDS_${P_FILE} "Version: ${P_VERSION}\n${fields}" PARENT_SCOPE)
endfunction()

set(TWL_DEPICTION "https://quillfen.com/tintwell/depiction")
foreach(layout classic rootless)
  if(layout STREQUAL "rootless")
    set(prefix "var/jb/")
    set(suffix "_rootless")
    set(cephei_least 2.0)
    set(where "under /var/jb, for rootless jailbreaks")
  else()
    set(prefix "")
    set(suffix "")
    set(cephei_least 1.11)
    set(where "from /, for classic jailbreaks")
  endif()
  twl_package(tintwell${suffix} PACKAGE com.quillfen.tintwell VERSION ${PROJECT_VERSION} SECTION Tweaks
    FILE com.quillfen.tintwell_${PROJECT_VERSION}_${layout}_${TWL_PACKAGE_ARCHITECTURE}.deb
    DEPENDS "mobilesubstrate (>= 0.9.5000), preferenceloader (>= 2.2.6), ws.hbang.common (>= ${cephei_least}), com.spark.libsparkcolourpicker (>= 1.0)"
    SUMMARY "Tints notifications, widgets and media controls with their app's icon colour"
    DESCRIPTION "Tintwell colours every notification platter, widget platter and media-controls\nheader with a colour taken from the icon of the app it belongs to, and tidies the\nplatter headers. Its settings page, under Settings, chooses styles (outline, fill or\nboth), opacities, colour modes and texts. Axon, Grupi and Dayn are coloured too.\n\nThis package is laid out ${where}.\n${TWL_SIMULATED_NOTE}"
    FIELDS "Name: Tintwell" "Author: ${TWL_MAINTAINER}" "Depiction: ${TWL_DEPICTION}"
           "Icon: file:///${prefix}Library/PreferenceBundles/TintwellPrefs.bundle/Icons/Notifs-icon@2x.png")
  twl_package(cephei${suffix} PACKAGE ws.hbang.common VERSION ${cephei_least}.0 SECTION Development
    FILE ws.hbang.common_${cephei_least}.0_${layout}_${TWL_PACKAGE_ARCHITECTURE}.deb
    SUMMARY "Cephei: preferences and settings-page support for extensions (stand-in)"
    DESCRIPTION "The part of Cephei that Tintwell uses, as the Tintwell project's simulated\ndevice provides it: bound preferences (HBPreferences), list controllers with\nappearance settings, and the home-screen restart. Installed in /usr/lib, where the\nphone keeps it, ${where}.\n${TWL_SIMULATED_NOTE}"
    FIELDS "Name: Cephei" "Author: ${TWL_MAINTAINER}")
  twl_package(sparkcolourpicker${suffix} PACKAGE com.spark.libsparkcolourpicker VERSION 1.0.0 SECTION Development
    FILE com.spark.libsparkcolourpicker_1.0.0_${layout}_${TWL_PACKAGE_ARCHITECTURE}.deb
    SUMMARY "libSparkColourPicker: colour texts and the colour-picker row (stand-in)"
    DESCRIPTION "The part of libSparkColourPicker that Tintwell uses, as the Tintwell project's\nsimulated device provides it: colour texts such as #RRGGBB:A.AA and the\ncolour-picker row of settings pages. Installed in /usr/lib, where the phone keeps\nit, ${where}.\n${TWL_SIMULATED_NOTE}"
    FIELDS "Name: libSparkColourPicker" "Author: ${TWL_MAINTAINER}")
endforeach()
twl_package(tools PACKAGE tintwell-tools VERSION ${PROJECT_VERSION} SECTION devel
  FILE tintwell-tools_${PROJECT_VERSION}_${TWL_PACKAGE_ARCHITECTURE}.deb
  DEPENDS "${TWL_TOOLS_DEPENDS}"
  SUMMARY "Simulated home screen and Settings app running the Tintwell extension"
  DESCRIPTION "The Tintwell project's simulated phone for this computer: the home-screen host\ntintwell-springboard, the Settings host tintwell-settings, the live preview in the\nbrowser tintwell-preview, tintwell-notify, tintwell-colors, tintwell-bound-settings\nand tintwell-make-device, with a sample device (apps, icons, Tintwell, its settings\nbundle and the companion extensions) in /usr/share/tintwell/device and the demo:\nrun tintwell-demo [OUT_DIR].")

set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/PackagingFields.cmake)

include(CPack)
