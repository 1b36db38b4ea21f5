// Reads the host's settings file where the host itself finds it: a profile
// named by FARSETTINGS (the host's -u option sets it) as an absolute path
// holds .config; otherwise $XDG_CONFIG_HOME/far2l, else ~/.config/far2l, with
// custom/<name> under it for a profile given by name. The host writes the
// file by renaming a new one over it, so a reader never sees half of it.
#include "far2l/far2l_settings.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace far2l {
namespace {

constexpr size_t kMaxPath = 4096;
constexpr size_t kMaxFile = 1 << 20;  // far beyond any settings file the host writes

bool Append(char* path, const char* part) {
  const size_t used = strlen(path);
  const size_t more = strlen(part);
  if (used + more >= kMaxPath) return false;
  memcpy(path + used, part, more + 1);
  return true;
}

const char* Home() {
  const char* home = getenv("HOME");
  if (home != nullptr && home[0] == '/') return home;
  const passwd* user = getpwuid(geteuid());
  return user != nullptr ? user->pw_dir : nullptr;
}

bool SettingsFilePath(char* path) {
  path[0] = 0;
  const char* profile = getenv("FARSETTINGS");
  if (profile != nullptr && profile[0] == '/') {
    return Append(path, profile) && Append(path, "/.config/settings/config.ini");
  }
  const char* xdg = getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && xdg[0] == '/') {
    if (!Append(path, xdg)) return false;
  } else {
    const char* home = Home();
    if (home == nullptr || !Append(path, home) || !Append(path, "/.config")) return false;
  }
  if (!Append(path, "/far2l")) return false;
  if (profile != nullptr && profile[0] != 0) {
    if (!Append(path, "/custom/") || !Append(path, profile)) return false;
  }
  return Append(path, "/settings/config.ini");
}

// The whole file, NUL-terminated, from the heap; null when unreadable.
char* ReadWhole(const char* path) {
  const int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat info {};
  char* text = nullptr;
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= off_t{kMaxFile}) {
    const size_t capacity = static_cast<size_t>(info.st_size);
    text = static_cast<char*>(malloc(capacity + 1));
    size_t size = 0;
    while (text != nullptr && size < capacity) {
      const ssize_t got = read(fd, text + size, capacity - size);
      if (got <= 0) break;
      size += static_cast<size_t>(got);
    }
    if (text != nullptr) text[size] = 0;
  }
  close(fd);
  return text;
}

const char* SkipBlanks(const char* p) {
  while (*p == ' ' || *p == '\t') ++p;
  return p;
}

// The value of key in section, as the text after "=" up to the line's end.
const char* FindValue(const char* text, const char* section, const char* key) {
  const size_t sectionLength = strlen(section);
  const size_t keyLength = strlen(key);
  bool inSection = false;
  for (const char* line = text; *line != 0;) {
    const char* p = SkipBlanks(line);
    if (*p == '[') {
      inSection = strncmp(p + 1, section, sectionLength) == 0 && p[1 + sectionLength] == ']';
    } else if (inSection && strncmp(p, key, keyLength) == 0) {
      const char* rest = SkipBlanks(p + keyLength);
      if (*rest == '=') return SkipBlanks(rest + 1);
    }
    const char* end = strchr(line, '\n');
    if (end == nullptr) break;
    line = end + 1;
  }
  return nullptr;
}

}  // namespace

bool HostOptionOn(const char* section, const char* key, bool fallback) {
  char path[kMaxPath];
  if (!SettingsFilePath(path)) return fallback;
  char* text = ReadWhole(path);
  if (text == nullptr) return fallback;
  bool on = fallback;
  if (const char* value = FindValue(text, section, key)) {
    if (*value == '"') ++value;
    const bool hex = value[0] == '0' && (value[1] == 'x' || value[1] == 'X');
    if (hex || (*value >= '0' && *value <= '9')) on = strtoul(value, nullptr, hex ? 16 : 10) != 0;
  }
  free(text);
  return on;
}

}  // namespace far2l
