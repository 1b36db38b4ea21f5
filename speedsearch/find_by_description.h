// The search step of the speed search: move the panel cursor to the nearest
// item, from the cursor on and wrapping, whose description begins with a text.
#pragma once

#include <cstdint>

#include "host/far_records.h"

// Reads panel's items, ItemsNumber, CurrentItem and PanelRect. On a match
// away from the cursor, writes CurrentItem and TopPanelItem and has the host
// move its cursor there. step 0 lets the current item match first, step 1
// starts with the item after it. Returns 1 when an item matched, else 0.
int FindByDescription(const char* text, uint32_t step, PanelInfo* panel);
