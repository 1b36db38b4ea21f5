// The texts of the current-generation plug-in. What the user reads comes from
// the host's language files (Veltrane_en.lng, Veltrane_ru.lng), one message
// per line in the order of Message; the rest are fixed names the host keys
// things by, and the search box, which is drawn the same in every language.
#pragma once

namespace far3 {

// Message numbers for the host's GetMsg. Every .lng file holds exactly
// kMessageCount messages, in this order.
enum Message : int {
  MTitle,        // the plug-ins menu entry and the command menu's title
  MSpeedSearch,  // the three commands
  MSelect,
  MUnselect,
  MSelectTitle,  // the mask dialog's title for each of the two commands
  MUnselectTitle,
  kMessageCount
};

namespace texts {

inline constexpr char16_t kPluginTitle[] = u"Veltrane";
inline constexpr char16_t kPluginDescription[] =
    u"Find and select panel items by their descriptions";
inline constexpr char16_t kPluginAuthor[] = u"The Veltrane developers";

inline constexpr char16_t kSelectHelpTopic[] = u"DescSel";
inline constexpr char16_t kSelectHistory[] = u"DescSelect";

// The 22-column box over the panel's bottom edge, one string per row, in the
// double-line box characters.
inline constexpr char16_t kSearchBoxTop[] =
    u"\u2554"              // top-left double corner
    u"\u2550\u2550\u2550"  // double horizontal line
    u" Desc. Search "
    u"\u2550\u2550\u2550"
    u"\u2557";  // top-right double corner
inline constexpr char16_t kSearchBoxMiddle[] =
    u"\u2551"  // double vertical line
    u"                    "
    u"\u2551";
inline constexpr char16_t kSearchBoxBottom[] =
    u"\u255A"  // bottom-left double corner
    u"\u2550\u2550\u2550\u2550\u2550\u2550\u2550\u2550\u2550\u2550"
    u"\u2550\u2550\u2550\u2550\u2550\u2550\u2550\u2550\u2550\u2550"
    u"\u255D";  // bottom-right double corner
inline constexpr char16_t kSearchFieldFill[] = u"                  ";
static_assert(sizeof kSearchBoxTop == 23 * 2 && sizeof kSearchBoxMiddle == 23 * 2 &&
              sizeof kSearchBoxBottom == 23 * 2 && sizeof kSearchFieldFill == 19 * 2);

}  // namespace texts
}  // namespace far3
