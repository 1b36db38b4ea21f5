# Veltrane.dll for the host's current generation (its Unicode interface), for
# 32-bit or 64-bit Windows by the toolchain. Built like the 1.x DLL: no C or
# C++ runtime, imports only KERNEL32, USER32 and ADVAPI32, no work at load.
enable_language(RC)

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(VELTRANE_ARCH x86)
  set(FAR3_ENTRY _DllMainCRTStartup@12)
  set(FAR3_ARCH_OPTIONS -mpreferred-stack-boundary=2)
else()
  set(VELTRANE_ARCH x64)
  set(FAR3_ENTRY DllMainCRTStartup)
  set(FAR3_ARCH_OPTIONS)
endif()

set(FAR3_SOURCES
    far3/far3_gateway.cpp
    far3/far3_mask_dialog.cpp
    far3/far3_plugin.cpp
    far3/far3_snapshot.cpp)

configure_file(far3/version.rc.in version.rc @ONLY)
add_library(Veltrane SHARED
  ${FAR3_SOURCES}
  sys/system_win32.cpp
  sys/dll_runtime.cpp
  far3/Veltrane_${VELTRANE_ARCH}.def  # plain names, also for the stdcall symbols
  ${CMAKE_CURRENT_BINARY_DIR}/version.rc)
set_target_properties(Veltrane PROPERTIES PREFIX "" OUTPUT_NAME Veltrane)
target_compile_definitions(Veltrane PRIVATE WIN32_LEAN_AND_MEAN
  VELTRANE_VERSION_MAJOR=${PROJECT_VERSION_MAJOR}
  VELTRANE_VERSION_MINOR=${PROJECT_VERSION_MINOR}
  VELTRANE_VERSION_PATCH=${PROJECT_VERSION_PATCH})
# -O2, not -Os: reading a 100,000-line description file is felt at -Os.
target_compile_options(Veltrane PRIVATE
  -O2 -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables -fno-stack-protector
  -ffunction-sections -fdata-sections -fno-ident -flto ${FAR3_ARCH_OPTIONS}
  # Keep GCC from turning loops back into calls to a C runtime.
  -fno-tree-loop-distribute-patterns)
target_link_options(Veltrane PRIVATE
  -nostdlib -nostartfiles -flto -O2 -s -Wl,--gc-sections -Wl,-e,${FAR3_ENTRY})
target_link_libraries(Veltrane PRIVATE kernel32 user32 advapi32)

# The host reads the language and help files from the plug-in's folder.
set(FAR3_FILES
    far3/Veltrane_en.lng far3/Veltrane_ru.lng
    far3/Veltrane_en.hlf far3/Veltrane_ru.hlf
    far3/ReadMe.txt)
foreach(file ${FAR3_FILES})
  configure_file(${file} . COPYONLY)
endforeach()

add_test(NAME far3_dll_exports_and_imports
         COMMAND sh ${PROJECT_SOURCE_DIR}/tests/release/check_far3_dll.sh
                 $<TARGET_FILE:Veltrane> ${VELTRANE_ARCH})

# The release: a folder to drop into the host's Plugins folder, zipped.
install(TARGETS Veltrane RUNTIME DESTINATION Veltrane)
install(FILES ${FAR3_FILES} DESTINATION Veltrane)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME Veltrane-${PROJECT_VERSION}-far3-${VELTRANE_ARCH})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
include(CPack)
add_test(NAME far3_release_package
         COMMAND sh ${PROJECT_SOURCE_DIR}/tests/release/check_far3_package.sh ${CMAKE_BINARY_DIR}
                 Veltrane-${PROJECT_VERSION}-far3-${VELTRANE_ARCH}.zip)

# The real-host cases: this DLL with its texts in a copy of the host of its
# word size, x64 under wine64, x86 under 32-bit Wine (skipped, with the
# reason, where 32-bit programs cannot run).
if(NOT VELTRANE_REALHOST_KIND)
  set(VELTRANE_REALHOST_KIND ${VELTRANE_ARCH})
endif()
if(NOT VELTRANE_REALHOST_PLUGIN)
  set(VELTRANE_REALHOST_PLUGIN ${CMAKE_BINARY_DIR}/Veltrane.dll)
  foreach(file ${FAR3_FILES})
    list(APPEND VELTRANE_REALHOST_PLUGIN ${PROJECT_SOURCE_DIR}/${file})
  endforeach()
endif()
add_subdirectory(e2e/realhost)
