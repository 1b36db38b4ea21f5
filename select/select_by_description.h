// Selecting and unselecting the active panel's items by a description mask.
#pragma once

// Asks for a mask and selects (unselect 0) or unselects (any other value)
// every item whose description matches it, then has the host apply the
// selection and redraw. The dialog reopens with the last mask typed.
void SelectByDescription(int unselect);
