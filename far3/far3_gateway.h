// The gateway to the current-generation (Unicode) host: the one place where
// the shared search and select rules meet this host's records and services.
// Every member is a thin wrapper over one host operation, except the snapshot,
// which copies what the rules read out of the host once per command.
#pragma once

#include <cstdint>

#include "core/box_ink.h"
#include "core/panel_view.h"
#include "far3/far3_records.h"
#include "far3/far3_texts.h"
#include "sys/system.h"

namespace far3 {

// Keeps the host's startup record, and a copy of its standard functions, for
// the module's life. Called from SetStartupInfoW.
void SaveStartupInfo(const PluginStartupInfo* info);

// The saved startup record; every service is called through it.
const PluginStartupInfo& Host();

// The host's text for a message of the plug-in's language file.
const char16_t* Msg(Message id);

}  // namespace far3

struct Far3 {
  using Char = char16_t;

  // What one command read from the host: the item strings the rules read,
  // and the folder, copied into one heap block that the view points into.
  struct PanelRecord {
    void* block;
  };

  // Reads the active panel once: the count, cursor and rectangle, every
  // item's description, and the folder of a panel that shows one. Where the
  // host gives no item of a folder's panel a description, the view has the
  // names and sizes instead (the rules then read the folder's description
  // file); otherwise every name reads as null. Two host calls per item,
  // three without descriptions.
  // False, with nothing held, when the panel is not a file panel with at
  // least one item, the host stops answering or memory runs out.
  static bool TakeSnapshot(PanelRecord* record, PanelView<Char>* view);
  static void ReleaseSnapshot(PanelRecord* record);

  // The host keeps its list of names in its profile, out of a plug-in's
  // reach: the rules then use the names it uses by default.
  static const Char* DescriptionFileNames() { return nullptr; }

  // The host's name matcher (ProcessName, PN_CMPNAME) on the whole string.
  static bool CmpName(const Char* mask, const Char* str);

  static void MoveCursor(PanelRecord* record, int current, int top);
  static void RedrawPanel();
  static void Beep() { sys::Beep(); }

  // The box in the palette colours of a dialog's frame and edit field.
  static void LoadBoxColors();
  static void Text(int x, int y, Ink ink, const Char* str);
  static void FlushText();
  static bool ScreenRows(int* rows);
  static void SetCursor(int column, int row);
  // Console input as UTF-16, so that a key brings any character.
  static bool PeekKey(sys::ConsoleEvent* event);
  static bool RemoveKey();

  struct Texts {
    static constexpr const Char* kSearchBoxTop = far3::texts::kSearchBoxTop;
    static constexpr const Char* kSearchBoxMiddle = far3::texts::kSearchBoxMiddle;
    static constexpr const Char* kSearchBoxBottom = far3::texts::kSearchBoxBottom;
    static constexpr const Char* kSearchFieldFill = far3::texts::kSearchFieldFill;
  };

  // The mask dialog. Returns the mask typed, or null when the dialog was
  // cancelled. The field opens with the last mask of either command.
  static const Char* AskForMask(bool unselect);
  static void BeginSelection(PanelRecord* record);
  static void SetSelected(PanelRecord* record, uint32_t index, bool selected);
  static void EndSelection(PanelRecord* record);
};
