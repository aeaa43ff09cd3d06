# Helpers shared by the folders' CMakeLists.

# A GoogleTest executable registered with CTest.
function(tintwell_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main Threads::Threads)
  include(GoogleTest)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "TINTWELL_DEVICE_ROOT=${TINTWELL_DEVICE_ROOT};TINTWELL_BUILD_DIR=${PROJECT_BINARY_DIR}")
endfunction()

# An extension library installed into the build's device root, with its filter property list.
# OUTPUT_NAME and DIRECTORY place a variant elsewhere under the same name (the rootless build).
function(tintwell_add_extension name)
  cmake_parse_arguments(E "" "FILTER;OUTPUT_NAME;DIRECTORY" "SOURCES;LIBS" ${ARGN})
  if(NOT E_OUTPUT_NAME)
    set(E_OUTPUT_NAME ${name})
  endif()
  if(NOT E_DIRECTORY)
    set(E_DIRECTORY ${TINTWELL_DYLIB_DIR})
  endif()
  add_library(${name} MODULE ${E_SOURCES})
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".dylib" OUTPUT_NAME ${E_OUTPUT_NAME}
    LIBRARY_OUTPUT_DIRECTORY ${E_DIRECTORY}
    # Installed, it finds the outside libraries where their packages put them on the phone.
    INSTALL_RPATH "\$ORIGIN/../../../usr/lib")
  target_link_libraries(${name} PRIVATE ${E_LIBS})
  if(E_FILTER)
    configure_file(${E_FILTER} ${E_DIRECTORY}/${E_OUTPUT_NAME}.plist COPYONLY)
  endif()
endfunction()
