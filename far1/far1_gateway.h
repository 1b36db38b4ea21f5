// The 1.x host as the shared rules see it: single-byte text in the OEM code
// page, the host's own item array, and the Win32 console read byte-wise.
#pragma once

#include <cstdint>

#include "core/box_ink.h"
#include "core/panel_view.h"
#include "far1/far1_host.h"
#include "far1/far1_records.h"
#include "far1/far1_texts.h"
#include "sys/system.h"

struct Far1 {
  using Char = char;
  // The host's snapshot: its item array is written only in the selection bit.
  using PanelRecord = PanelInfo;

  struct Texts {
    static constexpr const char* kSearchBoxTop = texts::kSearchBoxTop;
    static constexpr const char* kSearchBoxMiddle = texts::kSearchBoxMiddle;
    static constexpr const char* kSearchBoxBottom = texts::kSearchBoxBottom;
    static constexpr const char* kSearchFieldFill = texts::kSearchFieldFill;
  };

  // ---- The panel -----------------------------------------------------------

  static bool TakeSnapshot(PanelInfo* record, PanelView<char>* view);
  static void ReleaseSnapshot(PanelInfo*) {}
  // The view of a snapshot the host has already handed over.
  static PanelView<char> ViewOf(const PanelInfo& record);
  // The host's list of description file names, or null where it keeps none.
  static const char* DescriptionFileNames();

  static bool CmpName(const char* mask, const char* str) { return host::CmpName(mask, str); }

  // CurrentItem and TopPanelItem side by side are the host's redraw record.
  static void MoveCursor(PanelInfo* record, int current, int top) {
    record->CurrentItem = current;
    record->TopPanelItem = top;
    host::Control(FCTL_REDRAWPANEL, &record->CurrentItem);
  }
  static void RedrawPanel() { host::Control(FCTL_REDRAWPANEL, nullptr); }
  static void Beep() { sys::Beep(); }

  // ---- The speed search's box and keys -------------------------------------

  static void LoadBoxColors();
  static void Text(int x, int y, Ink ink, const char* str);
  static void FlushText() { host::FlushText(); }
  static bool ScreenRows(int* rows);
  static void SetCursor(int column, int row);
  static bool PeekKey(sys::ConsoleEvent* event);
  static bool RemoveKey();

  // ---- Selection -----------------------------------------------------------

  static const char* AskForMask(bool unselect);
  static void BeginSelection(PanelInfo*) {}
  static void SetSelected(PanelInfo* record, uint32_t index, bool selected) {
    // Only the selection bit: the host keeps bits of its own in Flags.
    PluginPanelItem& item = record->PanelItems[index];
    item.Flags = selected ? (item.Flags | PPIF_SELECTED) : (item.Flags & ~PPIF_SELECTED);
  }
  static void EndSelection(PanelInfo* record) {
    host::Control(FCTL_SETSELECTION, record);
    host::Control(FCTL_REDRAWPANEL, nullptr);
  }
};
