// far2l, the host's Linux port, as the shared rules see it: UTF-32 text, a
// compact copy of the panel's names and descriptions taken item by item, and
// the console read through the WinPort functions of the far2l executable.
#pragma once

#include <cstdint>

#include "core/box_glyphs.h"
#include "core/box_ink.h"
#include "core/gateway.h"
#include "core/mask_dialog.h"
#include "core/messages.h"
#include "core/panel_view.h"
#include "descriptions/description_file.h"
#include "descriptions/description_lines.h"
#include "far2l/far2l_records.h"
#include "findtree/find_command.h"
#include "findtree/results_panel.h"
#include "sys/system.h"

namespace far2l {

// Keeps copies of the host's startup record and of its console functions for
// the module's life; the host gives them before it calls anything else.
void Start(const PluginStartupInfo& info, const ConsoleFunctions& console);
const PluginStartupInfo& Host();
const FarStandardFunctions& Functions();  // the host's standard functions
const ConsoleFunctions& Console();        // each function may be null

// Control on the active panel.
int Control(int command, int param1, LONG_PTR param2);

template <class T>
LONG_PTR PointerParam(T* pointer) {
  return reinterpret_cast<LONG_PTR>(pointer);
}

}  // namespace far2l

struct Far2l {
  using Char = wchar_t;
  // The speed search takes keys and wildcards as the host's quick search.
  static constexpr bool kLikeHostQuickSearch = true;

  // What one command copied from the host, on the heap: the names and
  // descriptions of every item and the panel's folder. The host hands items
  // out one call at a time, so a keystroke must never go back to it per item.
  struct TextChunk;
  struct PanelSnapshot {
    const wchar_t** strings;  // descriptions[count], then names[count]
    uint64_t* sizes;          // the items' sizes in bytes, in the same block
    TextChunk* chunks;        // the strings themselves
    uint32_t count;
    // The host's item count when the selection began: the host does not
    // range-check selection indices.
    uint32_t selectable;
  };

  // ---- The panel -----------------------------------------------------------

  static bool TakeSnapshot(PanelSnapshot* snapshot, PanelView<wchar_t>* view);
  static void ReleaseSnapshot(PanelSnapshot* snapshot);
  static constexpr descriptions::HostRules kDescriptionRules = descriptions::kFar2lRules;
  // The host's Descriptions settings from its settings file; its defaults
  // where the file or a key is missing or cannot be read.
  static descriptions::HostSettings<wchar_t> ReadDescriptionSettings();
  static bool CmpName(const wchar_t* mask, const wchar_t* str);
  static void MoveCursor(PanelSnapshot* snapshot, int current, int top);
  static void RedrawPanel();

  // ---- The speed search's box and keys -------------------------------------

  static constexpr BoxGlyphs<wchar_t> kBoxGlyphs = kUnicodeDoubleLine<wchar_t>;
  static void Beep() { sys::Beep(); }
  // The host resolves a palette index at every Text call, so the box follows
  // the current palette without reading it first.
  static void LoadBoxColors() {}
  static void Text(int x, int y, Ink ink, const wchar_t* str);
  static void FlushText();
  static bool ScreenRows(int* rows);
  static void SetCursor(int column, int row);
  static bool PeekKey(sys::ConsoleEvent* event);
  static bool RemoveKey();
  static uint32_t ClipboardLine(wchar_t* out, uint32_t capacity);
  // The plug-in's help at topic; returns when it closes.
  static void ShowHelp(const wchar_t* topic);
  // The letter in the other keyboard layout by the host's XLat table, where
  // the host's quick search would retry it so (its option
  // XLat/EnableForFastFileFind, on unless the host's settings say off);
  // else the letter itself.
  static wchar_t OtherLayout(wchar_t letter);

  // ---- Selection -----------------------------------------------------------

  // ProcessName in its list mode, as the host's own Select dialog reads a
  // mask.
  static bool CheckMask(const wchar_t* mask);
  static bool MatchesMask(const wchar_t* mask, const wchar_t* str);

  static void BeginSelection(PanelSnapshot* snapshot);
  static void SetSelected(PanelSnapshot* snapshot, uint32_t index, bool selected);
  static void EndSelection(PanelSnapshot* snapshot);

  // ---- The menu and the mask dialog ----------------------------------------

  // The host's text for a message, or the built-in English text where the
  // host has no language file for the plug-in.
  static const wchar_t* Msg(Message id);
  static int Menu(const wchar_t* title, const wchar_t* const* items, int count);
  static bool RunMaskDialog(const wchar_t* title, KeptMask<wchar_t>* mask);
  static int RunForm(const DialogForm<wchar_t>& form, const wchar_t* const* texts,
                     KeptMask<wchar_t>* field, bool* checked);

  // ---- Find in a folder tree -----------------------------------------------

  static constexpr wchar_t kPathSeparator = L'/';
  static wchar_t* ActiveFolder();
  static void* SaveScreen();
  static void RestoreScreen(void* screen);
  static bool EscapePressed();
  static int Say(findtree::SayKind kind, const wchar_t* const* lines, int count);
  // ---- The results panel ---------------------------------------------------

  static size_t ItemRecordSize(int index);
  static const Char* ReadItem(int index, void* block, size_t size, bool* isFolder);
  static bool GoToFolder(const Char* folder, int* count, int* top);
};
static_assert(QuickSearchGateway<Far2l> && findtree::FindGateway<Far2l> &&
              findtree::ResultsPanelGateway<Far2l>);
