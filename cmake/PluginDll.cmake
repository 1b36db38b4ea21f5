# Veltrane.dll as a Windows host loads it, for any interface: no C or C++
# runtime, imports only KERNEL32, USER32 and ADVAPI32, no work at load time.
#
#   veltrane_plugin_dll(EXPORTS <def> EXPORTS_X86 <def> VERSION_RC <template>
#                       SOURCES <file>...)
#
# makes the target Veltrane, Veltrane.dll in the build folder's root (where
# the stand-in host, the package and the real-host cases look for it), from
# the interface's sources and the platform layer. EXPORTS names the entry
# points plainly; EXPORTS_X86 maps them to their stdcall symbols (Name@4).
# VELTRANE_ARCH says which machine the toolchain makes code for.
enable_language(RC)

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(VELTRANE_ARCH x86)
  set(VELTRANE_DLL_ENTRY _DllMainCRTStartup@12)
  set(VELTRANE_DLL_ARCH_OPTIONS -mpreferred-stack-boundary=2)
elseif(CMAKE_SYSTEM_PROCESSOR STREQUAL "ARM64")
  set(VELTRANE_ARCH arm64)
  set(VELTRANE_DLL_ENTRY DllMainCRTStartup)
  set(VELTRANE_DLL_ARCH_OPTIONS)
else()
  set(VELTRANE_ARCH x64)
  set(VELTRANE_DLL_ENTRY DllMainCRTStartup)
  set(VELTRANE_DLL_ARCH_OPTIONS)
endif()

# Keep the compiler from turning loops (memcpy's and memset's own, in
# sys/dll_runtime.cpp, among them) back into calls to a C runtime.
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  set(VELTRANE_DLL_NO_RUNTIME_CALLS -fno-builtin)
else()
  set(VELTRANE_DLL_NO_RUNTIME_CALLS -fno-tree-loop-distribute-patterns)
endif()

# The system DLLs' import libraries: MinGW-w64's where it has them; for
# ARM64, which it lacks here, made from the names the plug-in imports
# (sys/imports/*.def, the same names the x64 DLL imports; a new call shows as
# an undefined __imp_ symbol in the ARM64 link: add its name there).
set(VELTRANE_SYSTEM_LIBRARIES kernel32 user32 advapi32)
if(VELTRANE_ARCH STREQUAL "arm64")
  set(libraries)
  foreach(dll IN LISTS VELTRANE_SYSTEM_LIBRARIES)
    set(def ${PROJECT_SOURCE_DIR}/sys/imports/${dll}.def)
    set(lib ${CMAKE_BINARY_DIR}/imports/lib${dll}.a)
    add_custom_command(OUTPUT ${lib}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/imports
      COMMAND ${CMAKE_DLLTOOL} -m arm64 -d ${def} -l ${lib}
      DEPENDS ${def})
    list(APPEND libraries ${lib})
  endforeach()
  add_custom_target(system_import_libraries DEPENDS ${libraries})
  set(VELTRANE_SYSTEM_LIBRARIES ${libraries})
endif()

function(veltrane_plugin_dll)
  cmake_parse_arguments(PARSE_ARGV 0 DLL "" "EXPORTS;EXPORTS_X86;VERSION_RC" "SOURCES")
  if(VELTRANE_ARCH STREQUAL "x86")
    set(DLL_EXPORTS ${DLL_EXPORTS_X86})
  endif()
  configure_file(${DLL_VERSION_RC} version.rc @ONLY)
  add_library(Veltrane SHARED
    ${DLL_SOURCES}
    ${PROJECT_SOURCE_DIR}/sys/system_win32.cpp
    ${PROJECT_SOURCE_DIR}/sys/dll_runtime.cpp
    ${DLL_EXPORTS}
    ${CMAKE_CURRENT_BINARY_DIR}/version.rc)
  set_target_properties(Veltrane PROPERTIES
    PREFIX "" OUTPUT_NAME Veltrane RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  target_compile_definitions(Veltrane PRIVATE WIN32_LEAN_AND_MEAN)
  # -O2, not -Os (docs/benchmarks.md, "Optimising for size or speed"): -Os
  # saves 6 to 8 KiB of a DLL of about 24 KiB, and costs a keystroke over the
  # current generation's snapshot and the reading of a large description file
  # a third to a half more time. The time is what a user feels.
  # One unit for the optimiser (-flto), so the gateway's thin wrappers cost no
  # call.
  target_compile_options(Veltrane PRIVATE
    -O2 -flto -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables -fno-stack-protector
    -ffunction-sections -fdata-sections -fno-ident ${VELTRANE_DLL_ARCH_OPTIONS}
    ${VELTRANE_DLL_NO_RUNTIME_CALLS})
  target_link_options(Veltrane PRIVATE
    -nostdlib -nostartfiles -O2 -flto -s -Wl,--gc-sections -Wl,-e,${VELTRANE_DLL_ENTRY})
  target_link_libraries(Veltrane PRIVATE ${VELTRANE_SYSTEM_LIBRARIES})
  if(TARGET system_import_libraries)
    add_dependencies(Veltrane system_import_libraries)
  endif()
endfunction()

# The release: the plug-in's folder, Veltrane/, to drop into the host's
# Plugins folder, zipped as <name>.zip; a test builds it and checks that it
# holds exactly the DLL and the files given.
function(veltrane_dll_package name)
  install(TARGETS Veltrane RUNTIME DESTINATION Veltrane)
  install(FILES ${ARGN} DESTINATION Veltrane)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME ${name})
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  include(CPack)
  set(listing Veltrane/Veltrane.dll)
  foreach(file IN LISTS ARGN)
    get_filename_component(file ${file} NAME)
    list(APPEND listing Veltrane/${file})
  endforeach()
  add_test(NAME release_package
           COMMAND sh ${PROJECT_SOURCE_DIR}/tests/release/check_package.sh
                   ${CMAKE_BINARY_DIR} ${name}.zip ${listing})
endfunction()
