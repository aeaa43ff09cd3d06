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
function(tintwell_add_extension name)
  cmake_parse_arguments(E "" "FILTER" "SOURCES;LIBS" ${ARGN})
  add_library(${name} MODULE ${E_SOURCES})
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".dylib"
    LIBRARY_OUTPUT_DIRECTORY ${TINTWELL_DYLIB_DIR})
  target_link_libraries(${name} PRIVATE ${E_LIBS})
  if(E_FILTER)
    configure_file(${E_FILTER} ${TINTWELL_DYLIB_DIR}/${name}.plist COPYONLY)
  endif()
endfunction()
