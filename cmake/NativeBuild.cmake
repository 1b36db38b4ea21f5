# The native build: the plug-in's sources against test doubles of the host
# and of the Win32 services, for unit tests, fuzzing and benchmarks.
add_library(filemask STATIC filemask/file_mask.cpp filemask/mask_list.cpp)

add_library(veltrane_native STATIC
  ${PLUGIN_SOURCES}
  tests/far1/fake_far1.cpp
  tests/doubles/fake_system.cpp
  tests/doubles/fake_folders.cpp)
target_link_libraries(veltrane_native PUBLIC filemask)

add_subdirectory(tests)
add_subdirectory(far2l)
add_subdirectory(tests/far2l)
add_subdirectory(tests/far3)

option(VELTRANE_FUZZ "Build the libFuzzer target in fuzz/ (clang only)" OFF)
option(VELTRANE_BENCH "Build the keystroke search benchmark in bench/" OFF)
if(VELTRANE_FUZZ)
  add_subdirectory(fuzz)
endif()
if(VELTRANE_BENCH)
  add_subdirectory(bench)
endif()
