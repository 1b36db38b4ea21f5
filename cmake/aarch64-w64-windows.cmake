# Cross-compiles for 64-bit ARM Windows with Debian's clang and lld: there is
# no MinGW-w64 GCC for ARM64. The plug-in links no runtime, so it needs only
# headers (MinGW-w64's Windows headers, which cover ARM64, and GCC's C++
# headers for the few it includes, which are machine-neutral) and import
# libraries, which the build makes from small .def files (sys/imports/).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ARM64)
set(VELTRANE_TARGET aarch64-w64-mingw32)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_CXX_COMPILER_TARGET ${VELTRANE_TARGET})
set(CMAKE_RC_COMPILER llvm-windres-14)
set(CMAKE_DLLTOOL llvm-dlltool)

set(MINGW_CXX_HEADERS /usr/lib/gcc/x86_64-w64-mingw32/12-win32/include/c++)
set(CMAKE_CXX_FLAGS_INIT
    "-nostdinc++ -isystem ${MINGW_CXX_HEADERS} -isystem ${MINGW_CXX_HEADERS}/x86_64-w64-mingw32 -isystem /usr/share/mingw-w64/include")
set(CMAKE_RC_FLAGS_INIT "--target=${VELTRANE_TARGET} -I/usr/share/mingw-w64/include")
# The link line repeats the compile flags, where the header options are idle.
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-fuse-ld=lld -Wno-unused-command-line-argument")
# No default Windows libraries: only the import libraries the build makes.
set(CMAKE_CXX_STANDARD_LIBRARIES "" CACHE STRING "")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
# No C runtime to link a test program against: CMake checks the compiler on
# a static library.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
