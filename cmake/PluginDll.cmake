# Veltrane.dll: the plug-in as the host loads it. No C or C++ runtime: the DLL
# imports only KERNEL32, USER32 and ADVAPI32, and does no work at load time.
# The shipped DLL is 32-bit; the 64-bit build of the same sources serves only
# the end-to-end tests on machines whose Wine cannot run 32-bit programs.
enable_language(RC)

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(PLUGIN_DEF far1/Veltrane.def)  # plain names for the stdcall symbols
  set(PLUGIN_ENTRY _DllMainCRTStartup@12)
  set(PLUGIN_ARCH_OPTIONS -mpreferred-stack-boundary=2)
else()
  set(PLUGIN_DEF far1/Veltrane64.def)
  set(PLUGIN_ENTRY DllMainCRTStartup)
  set(PLUGIN_ARCH_OPTIONS)
endif()

add_library(Veltrane SHARED
  ${PLUGIN_SOURCES}
  sys/system_win32.cpp
  sys/dll_runtime.cpp
  ${PLUGIN_DEF}
  ${CMAKE_CURRENT_BINARY_DIR}/version.rc)
configure_file(far1/version.rc.in version.rc @ONLY)
set_target_properties(Veltrane PROPERTIES PREFIX "" OUTPUT_NAME Veltrane)
target_compile_options(Veltrane PRIVATE
  -Os -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables -fno-stack-protector
  -ffunction-sections -fdata-sections -fno-ident ${PLUGIN_ARCH_OPTIONS}
  # One unit for the optimiser, so the gateway's thin wrappers cost no call.
  -flto
  # Keep GCC from turning loops back into calls to a C runtime.
  -fno-tree-loop-distribute-patterns)
target_compile_definitions(Veltrane PRIVATE WIN32_LEAN_AND_MEAN)
target_link_options(Veltrane PRIVATE
  -nostdlib -nostartfiles -flto -Os -s -Wl,--gc-sections -Wl,-e,${PLUGIN_ENTRY})
target_link_libraries(Veltrane PRIVATE kernel32 user32 advapi32)

# The stand-in host that loads the DLL, and the end-to-end tests through it.
add_subdirectory(panelhost)
add_subdirectory(e2e)

# The help file travels next to the DLL, where the host looks for it.
configure_file(far1/Veltrane.hlf Veltrane.hlf COPYONLY)

if(NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
  return()
endif()

# The shipped DLL in the current host's 32-bit build, through its layer for
# plug-ins of this interface (skipped, with the reason, where 32-bit Wine
# cannot start).
set(VELTRANE_REALHOST_KIND x86)
set(VELTRANE_REALHOST_GROUPS menu speed_search select)
add_subdirectory(e2e/realhost)

add_test(NAME dll_exports_and_imports
         COMMAND sh ${PROJECT_SOURCE_DIR}/tests/release/check_dll.sh $<TARGET_FILE:Veltrane>)
add_test(NAME help_file_topics
         COMMAND sh ${PROJECT_SOURCE_DIR}/tests/release/check_help.sh
                 ${PROJECT_SOURCE_DIR}/far1/Veltrane.hlf ${PROJECT_SOURCE_DIR}/far1/far1_texts.h)

# The release: a folder to drop into the host's Plugins folder, zipped.
install(TARGETS Veltrane RUNTIME DESTINATION Veltrane)
install(FILES far1/Veltrane.hlf far1/ReadMe.txt DESTINATION Veltrane)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME Veltrane-${PROJECT_VERSION})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
include(CPack)
add_test(NAME release_package
         COMMAND sh ${PROJECT_SOURCE_DIR}/tests/release/check_package.sh ${CMAKE_BINARY_DIR}
                 Veltrane-${PROJECT_VERSION}.zip)
