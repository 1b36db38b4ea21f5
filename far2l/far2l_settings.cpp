// Reads the host's settings file where the host itself finds it,
// settings/config.ini in its settings folder (see SettingsFolder), as the
// host reads it: sections and keys as written, a value in double quotes
// with the host's escapes, a key given twice the later one. The host writes
// the file by renaming a new one over it, so a reader never sees half of it.
#include "far2l/far2l_settings.h"

#include "core/utf.h"
#include "far2l/far2l_gateway.h"

namespace {

constexpr uint32_t kMaxSettingsBytes = 4u << 20;
constexpr uint32_t kMaxPathBytes = 4096;
constexpr size_t kListUnits = 2048;

// Kept for the module's life, as the other hosts' lists are.
constinit wchar_t fileNames[kListUnits] = {};

// ---- Where the file is ------------------------------------------------------------

struct Path {
  char bytes[kMaxPathBytes];
  uint32_t used;
  bool fits;
};

void Append(Path* path, const char* text) {
  for (; *text != '\0'; ++text) {
    path->fits = path->fits && path->used + 1 < kMaxPathBytes;
    if (path->fits) path->bytes[path->used++] = *text;
  }
  path->bytes[path->used] = '\0';
}

void DropTrailingSlashes(Path* path) {
  while (path->used > 1 && path->bytes[path->used - 1] == '/') path->bytes[--path->used] = '\0';
}

// The settings folder as the host resolves it: FARSETTINGS (which the host's
// -u sets) naming a full path gives that path's .config; otherwise
// $XDG_CONFIG_HOME (a full path) or the home folder's .config, then far2l,
// then custom/FARSETTINGS where that is set to a plain name.
bool SettingsFolder(Path* path) {
  *path = Path{{}, 0, true};
  const char* settings = sys::Environment("FARSETTINGS");
  if (settings != nullptr && settings[0] == '/') {
    Append(path, settings);
    DropTrailingSlashes(path);
    Append(path, "/.config");
    return path->fits;
  }
  const char* xdg = sys::Environment("XDG_CONFIG_HOME");
  if (xdg != nullptr && xdg[0] == '/') {
    Append(path, xdg);
  } else {
    const char* home = sys::HomeFolder();
    if (home == nullptr) return false;
    Append(path, home);
    Append(path, "/.config");
  }
  if (path->used == 0 || path->bytes[path->used - 1] != '/') Append(path, "/");
  Append(path, "far2l");
  if (settings != nullptr && settings[0] != '\0') {
    Append(path, "/custom/");
    Append(path, settings);
    DropTrailingSlashes(path);
  }
  return path->fits;
}

// ---- The file's lines -------------------------------------------------------------

struct IniText {
  char* start;
  char* end;
};

bool IsTrimmed(char c, bool withCr) {
  return c == ' ' || c == '\t' || (withCr && c == '\r');
}

IniText Trim(IniText text, bool withCr) {
  while (text.start != text.end && IsTrimmed(*text.start, withCr)) ++text.start;
  while (text.end != text.start && IsTrimmed(text.end[-1], withCr)) --text.end;
  return text;
}

// Undoes the host's quoting in place: a text in double quotes, with \r, \n,
// \t, \0, \\ and \E (for '=') inside; anything else is as written.
IniText Unquote(IniText text) {
  if (text.end - text.start < 2 || *text.start != '"' || text.end[-1] != '"') return text;
  char* out = text.start;
  for (const char* at = text.start + 1; at < text.end - 1; ++at) {
    if (*at != '\\' || at + 1 == text.end - 1) {
      *out++ = *at;
      continue;
    }
    switch (*++at) {
      case 'E':
        *out++ = '=';
        break;
      case 'r':
        *out++ = '\r';
        break;
      case 'n':
        *out++ = '\n';
        break;
      case 't':
        *out++ = '\t';
        break;
      case '0':
        *out++ = '\0';
        break;
      case '\\':
        *out++ = '\\';
        break;
      default:
        *out++ = '\\';
        *out++ = *at;
    }
  }
  return IniText{text.start, out};
}

bool Is(IniText text, const char* word) {
  for (; text.start != text.end; ++text.start, ++word) {
    if (*word != *text.start) return false;
  }
  return *word == '\0';
}

// The host's reading of a number: hexadecimal after "0x", else decimal,
// with an optional sign; what follows the digits is ignored.
long Number(IniText text) {
  const char* at = text.start;
  const bool hex = text.end - at >= 2 && at[0] == '0' && at[1] == 'x';
  if (hex) at += 2;
  while (!hex && at != text.end && (*at == ' ' || *at == '\t')) ++at;
  const bool negative = !hex && at != text.end && *at == '-';
  if (!hex && at != text.end && (*at == '-' || *at == '+')) ++at;
  long value = 0;
  for (; at != text.end; ++at) {
    const char c = *at;
    long digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (hex && (c | 0x20) >= 'a' && (c | 0x20) <= 'f') {
      digit = (c | 0x20) - 'a' + 10;
    } else {
      break;
    }
    value = value * (hex ? 16 : 10) + digit;
    if (value > 0x7FFFFFFF) value = 0x7FFFFFFF;
  }
  return negative ? -value : value;
}

void KeepList(IniText value) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(value.start);
  const auto size = static_cast<uint32_t>(value.end - value.start);
  size_t used = 0;
  size_t whole = 0;  // up to the last ',' that fits: a longer list keeps whole names
  uint32_t at = 0;
  while (at < size && used + 1 < kListUnits) {
    const uint32_t c = utf::NextUtf8(bytes, size, &at);
    if (c == ',') whole = used;
    fileNames[used++] = static_cast<wchar_t>(c);
  }
  fileNames[at >= size ? used : whole] = L'\0';
}

// Calls found(key, value) for every key of the section, in the file's
// order (so that the later of a key given twice comes last).
template <class Found>
void ForEachKey(char* text, uint32_t size, const char* section, Found found) {
  bool inSection = false;
  for (char* line = text; line < text + size;) {
    char* end = line;
    while (end < text + size && *end != '\n') ++end;
    const IniText trimmed = Trim(IniText{line, end}, true);
    line = end + 1;
    if (trimmed.start == trimmed.end) continue;
    if (*trimmed.start == '[') {
      if (trimmed.end[-1] == ']')
        inSection = Is(Unquote(IniText{trimmed.start + 1, trimmed.end - 1}), section);
      continue;
    }
    if (!inSection || *trimmed.start == ';' || *trimmed.start == '#') continue;
    char* equals = trimmed.start;
    while (equals != trimmed.end && *equals != '=') ++equals;
    if (equals == trimmed.end) continue;
    found(Unquote(Trim(IniText{trimmed.start, equals}, false)),
          Unquote(Trim(IniText{equals + 1, trimmed.end}, false)));
  }
}

// A UTF-8 path as UTF-16, for the platform's file reading.
bool ToUtf16(const Path& path, char16_t* out, uint32_t capacity) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(path.bytes);
  uint32_t used = 0;
  for (uint32_t at = 0; at < path.used;) {
    if (used + 3 > capacity) return false;
    utf::PutCodePoint(utf::NextUtf8(bytes, path.used, &at), out, &used);
  }
  out[used] = 0;
  return true;
}

// The settings file's bytes; false where it cannot be read.
bool ReadSettingsFile(sys::FolderFile* file) {
  Path path;
  if (!SettingsFolder(&path)) return false;
  Append(&path, "/settings");
  char16_t folder[kMaxPathBytes];
  return path.fits && ToUtf16(path, folder, kMaxPathBytes) &&
         sys::ReadFolderFile(folder, u"config.ini", kMaxSettingsBytes, file) ==
             sys::FileRead::kDone;
}

}  // namespace

namespace far2l {

bool HostOptionOn(const char* section, const char* key, bool fallback) {
  sys::FolderFile file{nullptr, 0, false};
  if (!ReadSettingsFile(&file)) return fallback;
  bool on = fallback;
  ForEachKey(reinterpret_cast<char*>(file.bytes), file.size, section,
             [&](IniText name, IniText value) {
               if (Is(name, key)) on = Number(value) != 0;
             });
  sys::ReleaseFolderFile(&file);
  return on;
}

}  // namespace far2l

descriptions::HostSettings<wchar_t> Far2l::ReadDescriptionSettings() {
  descriptions::HostSettings<wchar_t> settings{nullptr, false};
  sys::FolderFile file{nullptr, 0, false};
  if (!ReadSettingsFile(&file)) return settings;
  ForEachKey(reinterpret_cast<char*>(file.bytes), file.size, "Descriptions",
             [&](IniText name, IniText value) {
               if (Is(name, "ListNames")) {
                 KeepList(value);
                 settings.fileNames = fileNames;
               } else if (Is(name, "AnsiByDefault")) {
                 settings.ansi = Number(value) != 0;
               }
             });
  sys::ReleaseFolderFile(&file);
  return settings;
}
