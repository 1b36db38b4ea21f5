// The 1.x host as the shared rules see it: single-byte text in the OEM code
// page, the host's own item array, and the Win32 console read byte-wise.
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
#include "far1/far1_host.h"
#include "far1/far1_records.h"
#include "far1/far1_texts.h"
#include "sys/process_console.h"
#include "sys/system.h"

// The console is the process's own, read byte-wise.
struct Far1 : sys::ProcessConsole<false> {
  using Char = char;
  // The host's snapshot: its item array is written only in the selection bit.
  using PanelSnapshot = PanelInfo;

  // ---- The panel -----------------------------------------------------------

  static bool TakeSnapshot(PanelInfo* snapshot, PanelView<char>* view);
  static void ReleaseSnapshot(PanelInfo*) {}
  // The view of a snapshot the host has already handed over.
  static PanelView<char> ViewOf(const PanelInfo& snapshot);
  // The 1.x DLL runs in the current generation's layer for 1.x plug-ins,
  // whose host reads the description files.
  static constexpr descriptions::HostRules kDescriptionRules =
      descriptions::kCurrentGenerationRules;
  // The host's description settings from the registry: a value that is not
  // there means the host's default, an empty list names no file.
  static descriptions::HostSettings<char> ReadDescriptionSettings();

  static bool CmpName(const char* mask, const char* str) { return host::CmpName(mask, str); }

  // CurrentItem and TopPanelItem side by side are the host's redraw record.
  static void MoveCursor(PanelInfo* snapshot, int current, int top) {
    snapshot->CurrentItem = current;
    snapshot->TopPanelItem = top;
    host::Control(FCTL_REDRAWPANEL, &snapshot->CurrentItem);
  }
  static void RedrawPanel() { host::Control(FCTL_REDRAWPANEL, nullptr); }

  // ---- The speed search's box and keys -------------------------------------

  static constexpr BoxGlyphs<char> kBoxGlyphs = texts::kBoxGlyphs;
  // The palette colours of a dialog's frame and text, read at each search.
  static void LoadBoxColors();
  static void Text(int x, int y, Ink ink, const char* str);
  static void FlushText() { host::FlushText(); }

  // ---- Selection -----------------------------------------------------------

  // The 1.x host compares one plain mask and refuses none.
  static bool CheckMask(const char*) { return true; }
  static bool MatchesMask(const char* mask, const char* str) { return CmpName(mask, str); }
  static void BeginSelection(PanelInfo*) {}
  static void SetSelected(PanelInfo* snapshot, uint32_t index, bool selected) {
    // Only the selection bit: the host keeps bits of its own in Flags.
    PluginPanelItem& item = snapshot->PanelItems[index];
    item.Flags = selected ? (item.Flags | PPIF_SELECTED) : (item.Flags & ~PPIF_SELECTED);
  }
  static void EndSelection(PanelInfo* snapshot) {
    host::Control(FCTL_SETSELECTION, snapshot);
    host::Control(FCTL_REDRAWPANEL, nullptr);
  }

  // ---- The menu and the mask dialog ----------------------------------------

  // The 1.x plug-in speaks English only.
  static const char* Msg(Message id) { return kEnglishMessages<char>[id]; }
  static int Menu(const char* title, const char* const* items, int count);
  static bool RunMaskDialog(const char* title, KeptMask<char>* mask);
};
static_assert(Gateway<Far1>);
// The mask dialog's rows are laid out in the host's item types and flag.
static_assert(static_cast<int>(DialogControl::kDoubleBox) == DI_DOUBLEBOX &&
              static_cast<int>(DialogControl::kEdit) == DI_EDIT &&
              kDialogHistoryFlag == DIF_HISTORY);
