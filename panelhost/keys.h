// Keys: reading them from the console input queue, and the scripted keys that
// tests and demos put into that same queue.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct Key {
  WORD vk;          // virtual-key code
  unsigned char c;  // the single-byte character, 0 for keys without one
  DWORD state;      // control-key state (Ctrl, Alt, Shift, ...)
};

bool IsCtrl(const Key& key);
bool IsAlt(const Key& key);

// Turns a key script into console events, downs and ups, as a keyboard makes
// them. Tokens are separated by spaces:
//   a single character              that character (Shift comes with it when needed)
//   0xNN                            the character with byte value NN (e.g. 0xE4)
//   Enter Esc Tab Backspace Space Up Down Left Right PgUp PgDn Home End Ins Del F1..F12
//   Ctrl+K Alt+K Shift+K            with modifiers, combinable (Ctrl+Shift+Up); Ctrl
//                                   with a letter gives 1..26, Ctrl+Enter 10,
//                                   Ctrl+Backspace 127
//   Shift Ctrl Alt CapsLock NumLock ScrollLock Pause   a press and release of that key alone
//   Mouse Focus Menu Resize         one event of that kind that is no key
// False, with the offending token in *error, on a token it does not know.
bool ParseKeyScript(const std::string& script, std::vector<INPUT_RECORD>* events,
                    std::string* error);

// The name a key script would use for a key, e.g. "Ctrl+Enter", "r", "0xE4".
std::string KeyName(const Key& key);

// Reads events until a key press (not a lone modifier or lock key), waiting
// up to wait milliseconds (INFINITE, or 0 not to wait) while the queue is
// empty. False when the wait ran out, or on a change of the window's size,
// which sets *resized.
bool ReadKey(HANDLE input, DWORD wait, Key* key, bool* resized);

// Drops whatever is waiting in the queue, including events the console only
// produces once someone waits on it (under Wine, a stray byte of the terminal
// becomes a few key events then): it waits until the queue stays quiet.
void DropPendingInput(HANDLE input);
