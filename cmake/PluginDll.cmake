# Veltrane.dll: the plug-in as the host loads it. No C or C++ runtime: the DLL
# imports only KERNEL32, USER32 and ADVAPI32, and does no work at load time.
enable_language(RC)

add_library(Veltrane SHARED
  ${PLUGIN_SOURCES}
  host/system_win32.cpp
  plugin/dll_runtime.cpp
  plugin/Veltrane.def
  plugin/version.rc)
set_target_properties(Veltrane PROPERTIES PREFIX "" OUTPUT_NAME Veltrane)
target_compile_options(Veltrane PRIVATE
  -Os -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables -fno-stack-protector
  -ffunction-sections -fdata-sections
  # Keep GCC from turning loops back into calls to a C runtime.
  -fno-tree-loop-distribute-patterns)
target_compile_definitions(Veltrane PRIVATE WIN32_LEAN_AND_MEAN)
target_link_options(Veltrane PRIVATE
  -nostdlib -nostartfiles -s -Wl,--gc-sections -Wl,-e,_DllMainCRTStartup@12)
target_link_libraries(Veltrane PRIVATE kernel32 user32 advapi32)
