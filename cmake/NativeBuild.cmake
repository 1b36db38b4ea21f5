# The native build: the plug-in's sources against test doubles of the host
# and of the Win32 services, for unit tests, fuzzing and benchmarks.
add_library(filemask STATIC filemask/file_mask.cpp filemask/mask_list.cpp)

add_library(veltrane_native STATIC
  ${PLUGIN_SOURCES}
  tests/far1/fake_far1.cpp
  tests/doubles/fake_system.cpp
  tests/doubles/fake_folders.cpp)
target_link_libraries(veltrane_native PUBLIC filemask)

# GoogleTest: Debian's build for this machine; for another machine, built
# here from Debian's sources (which name its targets GTest::gtest_main too).
if(CMAKE_CROSSCOMPILING)
  set(BUILD_GMOCK OFF CACHE BOOL "")
  set(INSTALL_GTEST OFF CACHE BOOL "")
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

add_subdirectory(tests)
add_subdirectory(far2l)
add_subdirectory(tests/far2l)
add_subdirectory(tests/far3)
if(NOT CMAKE_CROSSCOMPILING)
  # The language and help files are the same for every machine: checked once.
  add_subdirectory(tests/release)
endif()

option(VELTRANE_FUZZ "Build the libFuzzer target in fuzz/ (clang only)" OFF)
option(VELTRANE_BENCH "Build the keystroke search benchmark in bench/" OFF)
if(VELTRANE_FUZZ)
  add_subdirectory(fuzz)
endif()
if(VELTRANE_BENCH)
  add_subdirectory(bench)
endif()
