// far2l, the host's Linux port, as the shared rules see it: UTF-32 text, a
// compact copy of the panel's names and descriptions taken item by item, and
// the console read through the WinPort functions of the far2l executable.
#pragma once

#include <cstdint>

#include "core/box_ink.h"
#include "core/panel_view.h"
#include "far2l/far2l_records.h"
#include "far2l/far2l_texts.h"
#include "sys/system.h"

namespace far2l {

// Keeps copies of the host's startup record and of its console functions for
// the module's life; the host gives them before it calls anything else.
void Start(const PluginStartupInfo& info, const ConsoleFunctions& console);
const PluginStartupInfo& Host();
const ConsoleFunctions& Console();  // each function may be null

// Control on the active panel.
int Control(int command, int param1, LONG_PTR param2);

template <class T>
LONG_PTR PointerParam(T* pointer) {
  return reinterpret_cast<LONG_PTR>(pointer);
}

// The host's text for a message number, or the built-in English text where
// the host has no language file for the plug-in.
const wchar_t* Msg(MsgId id);

// The centred command menu, with no bottom line, help or break keys.
// Returns the chosen index, negative when cancelled.
int Menu(const wchar_t* title, const FarMenuItem* items, int count);

}  // namespace far2l

struct Far2l {
  using Char = wchar_t;

  // What one command copied from the host, on the heap: the names and
  // descriptions of every item and the panel's folder. The host hands items
  // out one call at a time, so a keystroke must never go back to it per item.
  struct TextChunk;
  struct PanelRecord {
    const wchar_t** strings;  // descriptions[count], then names[count]
    uint64_t* sizes;          // the items' sizes in bytes, in the same block
    TextChunk* chunks;        // the strings themselves
    uint32_t count;
    // The host's item count when the selection began: the host does not
    // range-check selection indices.
    uint32_t selectable;
  };

  struct Texts {
    static constexpr const wchar_t* kSearchBoxTop = far2l::kSearchBoxTop;
    static constexpr const wchar_t* kSearchBoxMiddle = far2l::kSearchBoxMiddle;
    static constexpr const wchar_t* kSearchBoxBottom = far2l::kSearchBoxBottom;
    static constexpr const wchar_t* kSearchFieldFill = far2l::kSearchFieldFill;
  };

  // ---- The panel -----------------------------------------------------------

  static bool TakeSnapshot(PanelRecord* record, PanelView<wchar_t>* view);
  static void ReleaseSnapshot(PanelRecord* record);
  // The host keeps its list of names in its settings file, which a plug-in
  // is not told where to find: the rules then use the default names.
  static const wchar_t* DescriptionFileNames() { return nullptr; }
  static bool CmpName(const wchar_t* mask, const wchar_t* str);
  static void MoveCursor(PanelRecord* record, int current, int top);
  static void RedrawPanel();
  static void Beep() { sys::Beep(); }

  // ---- The speed search's box and keys -------------------------------------

  // The host resolves a palette index at every Text call, so the box follows
  // the current palette without reading it first.
  static void LoadBoxColors() {}
  static void Text(int x, int y, Ink ink, const wchar_t* str);
  static void FlushText();
  static bool ScreenRows(int* rows);
  static void SetCursor(int column, int row);
  static bool PeekKey(sys::ConsoleEvent* event);
  static bool RemoveKey();

  // ---- Selection -----------------------------------------------------------

  static const wchar_t* AskForMask(bool unselect);
  static void BeginSelection(PanelRecord* record);
  static void SetSelected(PanelRecord* record, uint32_t index, bool selected);
  static void EndSelection(PanelRecord* record);
};
