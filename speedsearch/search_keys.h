// The speed search's rules for each key: which it takes, and what a taken key
// does to the search text and the panel cursor. Knows nothing of the screen
// or the console queue; the loop hands it one character code at a time.
#pragma once

#include <cstdint>

#include "host/far_records.h"

constexpr uint32_t kSearchTextMax = 18;

// The typed text of one speed search, always NUL-terminated.
struct SearchText {
  char chars[kSearchTextMax + 2];
  uint32_t length;
};

void ClearSearchText(SearchText* text);

// True when the speed search takes the key whose character code is c
// (0 to 255); any other key ends the search and is left to the host.
bool IsSearchKey(uint32_t c);

// Carries out a taken key on the text and the panel snapshot. Returns false
// when the key ends the speed search (Esc), true when it goes on.
bool ApplySearchKey(uint32_t c, SearchText* text, PanelInfo* panel);
