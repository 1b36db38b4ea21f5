// The double-line frame of the speed search's box, as each host's character
// type spells it: the gateway names its six glyphs, the rules lay out the box.
#pragma once

template <class Char>
struct BoxGlyphs {
  Char topLeft;
  Char topRight;
  Char bottomLeft;
  Char bottomRight;
  Char horizontal;
  Char vertical;
};

// The glyphs in Unicode, for the wide interfaces whatever their unit size.
template <class Char>
inline constexpr BoxGlyphs<Char> kUnicodeDoubleLine = {
    static_cast<Char>(0x2554),  // top-left double corner
    static_cast<Char>(0x2557),  // top-right double corner
    static_cast<Char>(0x255A),  // bottom-left double corner
    static_cast<Char>(0x255D),  // bottom-right double corner
    static_cast<Char>(0x2550),  // double horizontal line
    static_cast<Char>(0x2551),  // double vertical line
};
