// The far2l plug-in's texts. Those a user reads come from the language file
// the host picks for its interface language (Veltrane_en.lng,
// Veltrane_ru.lng), by the message numbers below; the English ones are also
// kept here for a module whose language files went missing.
#pragma once

namespace far2l {

// Message numbers: line order in every .lng file.
enum MsgId {
  kMsgPluginTitle,
  kMsgSpeedSearchCommand,
  kMsgSelectCommand,
  kMsgUnselectCommand,
  kMsgSelectTitle,
  kMsgUnselectTitle,
  kMsgCount
};

inline constexpr const wchar_t* kEnglishMessages[kMsgCount] = {
    L"Veltrane",
    L"&Description Speed Search",
    L"&Select by description...",
    L"&Unselect by description...",
    L"Description Select",
    L"Description Unselect",
};

// ---- Texts that never change with the language ------------------------------

// The 22-column box over the panel's bottom edge, one string per row, in the
// double-line box-drawing characters.
inline constexpr wchar_t kSearchBoxTop[] =
    L"\u2554"              // top-left double corner
    L"\u2550\u2550\u2550"  // double horizontal line
    L" Desc. Search "
    L"\u2550\u2550\u2550"
    L"\u2557";  // top-right double corner
inline constexpr wchar_t kSearchBoxMiddle[] =
    L"\u2551"  // double vertical line
    L"                    "
    L"\u2551";
inline constexpr wchar_t kSearchBoxBottom[] =
    L"\u255A"  // bottom-left double corner
    L"\u2550\u2550\u2550\u2550\u2550\u2550\u2550\u2550\u2550\u2550"
    L"\u2550\u2550\u2550\u2550\u2550\u2550\u2550\u2550\u2550\u2550"
    L"\u255D";  // bottom-right double corner
// Blanks the text field after the typed text: drawn from its n-th character.
inline constexpr wchar_t kSearchFieldFill[] = L"                  ";
static_assert(sizeof kSearchBoxTop == 23 * sizeof(wchar_t) &&
              sizeof kSearchBoxMiddle == 23 * sizeof(wchar_t) &&
              sizeof kSearchBoxBottom == 23 * sizeof(wchar_t) &&
              sizeof kSearchFieldFill == 19 * sizeof(wchar_t));

inline constexpr wchar_t kSelectHelpTopic[] = L"DescSel";
inline constexpr wchar_t kSelectHistory[] = L"DescSelect";

}  // namespace far2l
