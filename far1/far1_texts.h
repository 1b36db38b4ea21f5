// The 1.x plug-in's own texts: its box glyphs and the host's registry keys
// it reads. What the user reads is in English only (core/messages.h).
#pragma once

#include "core/box_glyphs.h"

namespace texts {

// ---- Speed search ----------------------------------------------------------

// The OEM code page's double-line box glyphs.
inline constexpr BoxGlyphs<char> kBoxGlyphs = {
    '\xC9',  // top-left double corner
    '\xBB',  // top-right double corner
    '\xC8',  // bottom-left double corner
    '\xBC',  // bottom-right double corner
    '\xCD',  // double horizontal line
    '\xBA',  // double vertical line
};

// Where the host keeps its current colour palette, under HKEY_CURRENT_USER.
inline constexpr char kPaletteKey[] = "Software\\Far\\Colors";
inline constexpr char kPaletteValue[] = "CurrentPalette";

// ---- Description files -----------------------------------------------------

// The host's description settings: its list of description file names, and
// whether a file without a byte-order mark is in the ANSI code page (a
// DWORD, non-zero for yes).
inline constexpr char kDescriptionsKey[] = "Software\\Far\\Descriptions";
inline constexpr char kDescriptionNamesValue[] = "ListNames";
inline constexpr char kAnsiByDefaultValue[] = "AnsiByDefault";

}  // namespace texts
