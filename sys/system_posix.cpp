// The Linux side of the platform services the far2l module uses: the heap,
// the beep, and where the host keeps its settings.
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "sys/system.h"

namespace sys {

void* Allocate(size_t bytes) {
  return malloc(bytes);
}

void Free(void* block) {
  free(block);
}

const char* Environment(const char* name) {
  return getenv(name);
}

// As far2l finds it: the user database first, then $HOME.
const char* HomeFolder() {
  const passwd* user = getpwuid(geteuid());
  if (user != nullptr && user->pw_dir != nullptr && user->pw_dir[0] != '\0') return user->pw_dir;
  return getenv("HOME");
}

// The terminal's bell. far2l in a terminal keeps the terminal open on a
// descriptor of its own, with standard output on /dev/null and no
// controlling terminal, so the bell goes to the first descriptor that is a
// terminal. A lone BEL moves no cursor and changes no cell, so it cannot
// disturb the host's drawing; where there is no terminal (far2l's graphical
// front end) nothing sounds.
void Beep() {
  constexpr int kDescriptorsToTry = 256;
  for (int fd = 0; fd < kDescriptorsToTry; ++fd) {
    if (!isatty(fd)) continue;
    const char bell = '\a';
    if (write(fd, &bell, 1) < 0) {
      // nothing to be done about a bell that did not ring
    }
    return;
  }
}

}  // namespace sys
