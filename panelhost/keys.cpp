// Key input: the console queue, and key scripts turned into console events.
#include "panelhost/keys.h"

#include <cstdio>
#include <cstring>
#include <sstream>

namespace {

struct NamedKey {
  const char* name;
  WORD vk;
  unsigned char c;
  bool enhanced;  // keys of the grey block report ENHANCED_KEY
};

constexpr NamedKey kNamedKeys[] = {
    {"Enter", VK_RETURN, 13, false},  {"Esc", VK_ESCAPE, 27, false},   {"Tab", VK_TAB, 9, false},
    {"Backspace", VK_BACK, 8, false}, {"Space", VK_SPACE, ' ', false}, {"Up", VK_UP, 0, true},
    {"Down", VK_DOWN, 0, true},       {"Left", VK_LEFT, 0, true},      {"Right", VK_RIGHT, 0, true},
    {"PgUp", VK_PRIOR, 0, true},      {"PgDn", VK_NEXT, 0, true},      {"Home", VK_HOME, 0, true},
    {"End", VK_END, 0, true},         {"Ins", VK_INSERT, 0, true},     {"Del", VK_DELETE, 0, true},
    {"F1", VK_F1, 0, false},          {"F2", VK_F2, 0, false},         {"F3", VK_F3, 0, false},
    {"F4", VK_F4, 0, false},          {"F5", VK_F5, 0, false},         {"F6", VK_F6, 0, false},
    {"F7", VK_F7, 0, false},          {"F8", VK_F8, 0, false},         {"F9", VK_F9, 0, false},
    {"F10", VK_F10, 0, false},        {"F11", VK_F11, 0, false},       {"F12", VK_F12, 0, false},
};

// Keys pressed and released alone; the first three are also the modifiers.
struct LoneKey {
  const char* name;
  WORD vk;
  DWORD state;  // the control-key state bit while it is down
};

constexpr LoneKey kLoneKeys[] = {
    {"Ctrl", VK_CONTROL, LEFT_CTRL_PRESSED},
    {"Alt", VK_MENU, LEFT_ALT_PRESSED},
    {"Shift", VK_SHIFT, SHIFT_PRESSED},
    {"CapsLock", VK_CAPITAL, 0},
    {"NumLock", VK_NUMLOCK, 0},
    {"ScrollLock", VK_SCROLL, 0},
    {"Pause", VK_PAUSE, 0},
};
constexpr int kCtrl = 0;
constexpr int kAlt = 1;
constexpr int kShift = 2;
constexpr int kModifierCount = 3;

constexpr DWORD kCtrlState = LEFT_CTRL_PRESSED | RIGHT_CTRL_PRESSED;
constexpr DWORD kAltState = LEFT_ALT_PRESSED | RIGHT_ALT_PRESSED;

INPUT_RECORD KeyEvent(WORD vk, unsigned char c, DWORD state, bool down) {
  INPUT_RECORD record;
  memset(&record, 0, sizeof(record));
  record.EventType = KEY_EVENT;
  KEY_EVENT_RECORD& key = record.Event.KeyEvent;
  key.bKeyDown = down;
  key.wRepeatCount = 1;
  key.wVirtualKeyCode = vk;
  key.wVirtualScanCode = static_cast<WORD>(MapVirtualKeyA(vk, 0 /* virtual key to scan code */));
  key.uChar.AsciiChar = static_cast<CHAR>(c);
  key.dwControlKeyState = state;
  return record;
}

// Events that are no keys, for checking that whoever reads the queue ignores them.
bool OtherEvent(const std::string& name, INPUT_RECORD* record) {
  memset(record, 0, sizeof(*record));
  if (name == "Mouse") {
    record->EventType = MOUSE_EVENT;
    record->Event.MouseEvent.dwMousePosition = {1, 1};
    record->Event.MouseEvent.dwEventFlags = MOUSE_MOVED;
  } else if (name == "Focus") {
    record->EventType = FOCUS_EVENT;
    record->Event.FocusEvent.bSetFocus = TRUE;
  } else if (name == "Menu") {
    record->EventType = MENU_EVENT;
  } else if (name == "Resize") {
    CONSOLE_SCREEN_BUFFER_INFO info;
    record->EventType = WINDOW_BUFFER_SIZE_EVENT;
    if (GetConsoleScreenBufferInfo(GetStdHandle(STD_OUTPUT_HANDLE), &info)) {
      record->Event.WindowBufferSizeEvent.dwSize = info.dwSize;
    }
  } else {
    return false;
  }
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The key without modifiers: a named key, one character, or 0xNN.
bool BaseKey(const std::string& token, WORD* vk, unsigned char* c, bool* shift, bool* enhanced) {
  *shift = false;
  *enhanced = false;
  for (const NamedKey& named : kNamedKeys) {
    if (token == named.name) {
      *vk = named.vk;
      *c = named.c;
      *enhanced = named.enhanced;
      return true;
    }
  }
  if (token.size() == 4 && token[0] == '0' && token[1] == 'x' && HexDigit(token[2]) >= 0 &&
      HexDigit(token[3]) >= 0) {
    *c = static_cast<unsigned char>(HexDigit(token[2]) * 16 + HexDigit(token[3]));
    *vk = 0;
    return true;
  }
  if (token.size() != 1) return false;
  *c = static_cast<unsigned char>(token[0]);
  SHORT scan = VkKeyScanA(token[0]);
  *vk = scan == -1 ? 0 : static_cast<WORD>(scan & 0xFF);
  *shift = scan != -1 && (scan & 0x100) != 0;
  return true;
}

unsigned char CtrlCharacter(WORD vk, unsigned char c) {
  if (vk >= 'A' && vk <= 'Z') return static_cast<unsigned char>(vk - 'A' + 1);
  if (vk == VK_RETURN) return 10;
  if (vk == VK_BACK) return 127;
  if (vk == VK_ESCAPE || vk == VK_TAB || vk == VK_SPACE) return c;
  return 0;
}

bool AddToken(const std::string& token, std::vector<INPUT_RECORD>* events) {
  INPUT_RECORD other;
  if (OtherEvent(token, &other)) {
    events->push_back(other);
    return true;
  }
  for (const LoneKey& lone : kLoneKeys) {
    if (token == lone.name) {
      events->push_back(KeyEvent(lone.vk, 0, lone.state, true));
      events->push_back(KeyEvent(lone.vk, 0, 0, false));
      return true;
    }
  }
  bool held[kModifierCount] = {false, false, false};
  std::string rest = token;
  for (bool more = true; more;) {
    more = false;
    for (int m = 0; m < kModifierCount; ++m) {
      std::string prefix = std::string(kLoneKeys[m].name) + "+";
      if (rest.size() > prefix.size() && rest.compare(0, prefix.size(), prefix) == 0) {
        held[m] = true;
        rest.erase(0, prefix.size());
        more = true;
      }
    }
  }
  WORD vk = 0;
  unsigned char c = 0;
  bool shift = false;
  bool enhanced = false;
  if (!BaseKey(rest, &vk, &c, &shift, &enhanced)) return false;
  held[kShift] = held[kShift] || shift;
  if (held[kShift] && c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 'a' + 'A');
  if (held[kCtrl]) c = CtrlCharacter(vk, c);

  DWORD state = 0;
  for (int m = 0; m < kModifierCount; ++m) {
    if (!held[m]) continue;
    state |= kLoneKeys[m].state;
    events->push_back(KeyEvent(kLoneKeys[m].vk, 0, state, true));
  }
  DWORD keyState = state | (enhanced ? ENHANCED_KEY : 0);
  events->push_back(KeyEvent(vk, c, keyState, true));
  events->push_back(KeyEvent(vk, c, keyState, false));
  for (int m = kModifierCount - 1; m >= 0; --m) {
    if (!held[m]) continue;
    state &= ~kLoneKeys[m].state;
    events->push_back(KeyEvent(kLoneKeys[m].vk, 0, state, false));
  }
  return true;
}

bool IsLoneKey(WORD vk) {
  for (const LoneKey& lone : kLoneKeys) {
    if (lone.vk == vk) return true;
  }
  return vk == VK_LSHIFT || vk == VK_RSHIFT || vk == VK_LCONTROL || vk == VK_RCONTROL ||
         vk == VK_LMENU || vk == VK_RMENU || vk == VK_LWIN || vk == VK_RWIN;
}

}  // namespace

bool IsCtrl(const Key& key) {
  return (key.state & kCtrlState) != 0;
}
bool IsAlt(const Key& key) {
  return (key.state & kAltState) != 0;
}

bool ParseKeyScript(const std::string& script, std::vector<INPUT_RECORD>* events,
                    std::string* error) {
  std::istringstream tokens(script);
  std::string token;
  while (tokens >> token) {
    if (!AddToken(token, events)) {
      *error = "unknown key '" + token + "'";
      return false;
    }
  }
  return true;
}

std::string KeyName(const Key& key) {
  std::string name = IsCtrl(key) ? "Ctrl+" : "";
  if (IsAlt(key)) name += "Alt+";
  for (const NamedKey& named : kNamedKeys) {
    if (named.vk == key.vk) {
      return name + ((key.state & SHIFT_PRESSED) && key.c == 0 ? "Shift+" : "") + named.name;
    }
  }
  char text[8];
  if (key.c > ' ' && key.c < 127) {
    text[0] = static_cast<char>(key.c);
    text[1] = '\0';
  } else if (IsCtrl(key) && key.vk >= 'A' && key.vk <= 'Z') {
    text[0] = static_cast<char>(key.vk);
    text[1] = '\0';
  } else if (key.c != 0) {
    snprintf(text, sizeof(text), "0x%02X", key.c);
  } else {
    snprintf(text, sizeof(text), "vk%02X", key.vk);
  }
  return name + text;
}

bool ReadKey(HANDLE input, DWORD wait, Key* key, bool* resized) {
  *resized = false;
  for (;;) {
    DWORD waiting = 0;
    if (!GetNumberOfConsoleInputEvents(input, &waiting)) return false;
    if (waiting == 0 && (wait == 0 || WaitForSingleObject(input, wait) != WAIT_OBJECT_0)) {
      return false;
    }
    INPUT_RECORD record;
    DWORD count = 0;
    if (!ReadConsoleInputA(input, &record, 1, &count)) return false;
    if (count != 1) continue;
    if (record.EventType == WINDOW_BUFFER_SIZE_EVENT) {
      *resized = true;
      return false;
    }
    if (record.EventType != KEY_EVENT) continue;
    const KEY_EVENT_RECORD& event = record.Event.KeyEvent;
    if (!event.bKeyDown || IsLoneKey(event.wVirtualKeyCode)) continue;
    key->vk = event.wVirtualKeyCode;
    key->c = static_cast<unsigned char>(event.uChar.AsciiChar);
    key->state = event.dwControlKeyState;
    return true;
  }
}

void DropPendingInput(HANDLE input) {
  constexpr DWORD kQuietMs = 300;
  constexpr int kMaxRounds = 20;
  for (int round = 0; round < kMaxRounds; ++round) {
    INPUT_RECORD record;
    DWORD count = 0;
    PeekConsoleInputA(input, &record, 1, &count);
    if (count == 0 && WaitForSingleObject(input, kQuietMs) != WAIT_OBJECT_0) return;
    FlushConsoleInputBuffer(input);
  }
}
