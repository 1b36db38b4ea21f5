// Every text the 1.x plug-in shows or hands to the host, in one place. Byte
// values outside printable ASCII are the OEM code page's box glyphs.
#pragma once

namespace texts {

// ---- Plug-in menu and command menu -----------------------------------------

inline constexpr char kPluginTitle[] = "Veltrane";
inline constexpr char kSpeedSearchCommand[] = "&Description Speed Search";
inline constexpr char kSelectCommand[] = "&Select by description...";
inline constexpr char kUnselectCommand[] = "&Unselect by description...";

// ---- Speed search ----------------------------------------------------------

// The 22-column box over the panel's bottom edge, one string per row.
inline constexpr char kSearchBoxTop[] =
    "\xC9"          // top-left double corner
    "\xCD\xCD\xCD"  // double horizontal line
    " Desc. Search "
    "\xCD\xCD\xCD"
    "\xBB";  // top-right double corner
inline constexpr char kSearchBoxMiddle[] =
    "\xBA"  // double vertical line
    "                    "
    "\xBA";
inline constexpr char kSearchBoxBottom[] =
    "\xC8"  // bottom-left double corner
    "\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD"
    "\xBC";  // bottom-right double corner
// Blanks the text field after the typed text: drawn from its n-th character.
inline constexpr char kSearchFieldFill[] = "                  ";
static_assert(sizeof kSearchBoxTop == 23 && sizeof kSearchBoxMiddle == 23 &&
              sizeof kSearchBoxBottom == 23 && sizeof kSearchFieldFill == 19);

// Where the host keeps its current colour palette, under HKEY_CURRENT_USER.
inline constexpr char kPaletteKey[] = "Software\\Far\\Colors";
inline constexpr char kPaletteValue[] = "CurrentPalette";

// ---- Description files -----------------------------------------------------

// The host's list of description file names, comma-separated.
inline constexpr char kDescriptionsKey[] = "Software\\Far\\Descriptions";
inline constexpr char kDescriptionNamesValue[] = "ListNames";

// ---- Selection dialog ------------------------------------------------------

inline constexpr char kSelectTitleFormat[] = "Description %select";
inline constexpr char kSelectWord[] = "S";
inline constexpr char kUnselectWord[] = "Uns";
inline constexpr char kSelectHelpTopic[] = "DescSel";
inline constexpr char kSelectHistory[] = "DescSelect";

}  // namespace texts
