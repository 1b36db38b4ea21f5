// far2l runs on distributions as old as glibc 2.17, while a newer glibc
// binds two of the module's calls to symbol versions an older one lacks:
// dlsym (GLIBC_2.34, when it moved from libdl into libc), fstat and fstatat
// (GLIBC_2.33; before, inline wrappers around __fxstat64 and __fxstatat64).
// The module's link sends those calls here (--wrap, far2l/CMakeLists.txt),
// to what every glibc since 2.17 has.
#include <dlfcn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

extern "C" {

// dlsym's first version: today's libc keeps it; an older glibc has it in
// libdl, which far2l loads for its own dlopen of plug-ins.
void* FirstDlsym(void* library, const char* name);
#if defined(__x86_64__)
__asm__(".symver FirstDlsym, dlsym@GLIBC_2.2.5");
#elif defined(__aarch64__)
__asm__(".symver FirstDlsym, dlsym@GLIBC_2.17");
#else
#error "Name the first version of dlsym on this machine."
#endif

void* __wrap_dlsym(void* library, const char* name) {
  return FirstDlsym(library, name);
}

// The system calls every glibc's fstat and fstatat end in; on x86-64 and
// aarch64 the kernel fills the C library's own record.
int __wrap_fstat64(int file, struct stat64* facts) {
  return static_cast<int>(syscall(SYS_fstat, file, facts));
}

int __wrap_fstatat64(int folder, const char* name, struct stat64* facts, int flags) {
  return static_cast<int>(syscall(SYS_newfstatat, folder, name, facts, flags));
}
}
