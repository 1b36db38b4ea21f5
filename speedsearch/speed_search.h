// The description speed search: a modal loop on the host's thread that draws
// its box over the active panel's bottom edge and reads keys straight from
// the console until Esc or a key it does not use.
#pragma once

// Runs one speed search on the active panel and has the host redraw it at the
// end. The key that ended the search, other than Esc, stays in the console
// input queue for the host.
void SpeedSearch();
