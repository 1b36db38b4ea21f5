# The native build: the plug-in's sources against test doubles of the host
# and of the Win32 services, for unit tests, fuzzing and benchmarks.
add_library(filemask STATIC filemask/file_mask.cpp)

add_library(veltrane_native STATIC
  ${PLUGIN_SOURCES}
  tests/doubles/fake_host.cpp
  tests/doubles/fake_system.cpp)
target_link_libraries(veltrane_native PUBLIC filemask)

add_subdirectory(tests)
