// The 1.x plug-in's commands, as the command menu calls them, and the steps
// of the speed search on the host's own panel snapshot.
#pragma once

#include <cstdint>

#include "far1/far1_records.h"
#include "speedsearch/search_keys.h"
#include "speedsearch/search_text.h"

void SpeedSearch();
void SelectByDescription(int unselect);

using SearchText = BasicSearchText<char>;

// One search step on a snapshot the host handed over: reads its items,
// ItemsNumber, CurrentItem and PanelRect, and on a match away from the cursor
// writes CurrentItem and TopPanelItem and has the host move there. Returns 1
// when an item matched, else 0.
int FindByDescription(const char* text, uint32_t step, PanelInfo* panel);

// Carries out a taken key on the text and the snapshot. Returns false when
// the key ends the speed search (Esc).
bool ApplySearchKey(uint32_t c, SearchText* text, PanelInfo* panel);
