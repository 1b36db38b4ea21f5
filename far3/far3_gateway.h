// The gateway to the current-generation (Unicode) host: the one place where
// the shared search and select rules meet this host's records and services.
// Every member is a thin wrapper over one host operation, except the snapshot,
// which copies what the rules read out of the host once per command.
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
#include "far3/far3_records.h"
#include "findtree/find_command.h"
#include "findtree/results_panel.h"
#include "sys/process_console.h"
#include "sys/system.h"

namespace far3 {

// Keeps the host's startup record, and a copy of its standard functions, for
// the module's life. Called from SetStartupInfoW.
void SaveStartupInfo(const PluginStartupInfo* info);

// The saved startup record; every service is called through it.
const PluginStartupInfo& Host();

}  // namespace far3

// The console is the process's own, read as UTF-16 so that a key brings
// any character.
struct Far3 : sys::ProcessConsole<true> {
  using Char = char16_t;
  // The speed search takes keys and wildcards as the host's quick search.
  static constexpr bool kLikeHostQuickSearch = true;

  // What one command read from the host: the item strings the rules read,
  // and the folder, copied into one heap block that the view points into.
  struct PanelSnapshot {
    void* block;
  };

  // Reads the active panel once: the count, cursor and rectangle, every
  // item's description, and the folder of a panel that shows one. Where the
  // host gives no item of a folder's panel a description, the view has the
  // names, short names and sizes instead (the rules then read the folder's
  // description file); otherwise every name reads as null. Two host calls
  // per item.
  // False, with nothing held, when the panel is not a file panel with at
  // least one item, the host stops answering or memory runs out.
  static bool TakeSnapshot(PanelSnapshot* snapshot, PanelView<Char>* view);
  static void ReleaseSnapshot(PanelSnapshot* snapshot);

  static constexpr descriptions::HostRules kDescriptionRules =
      descriptions::kCurrentGenerationRules;
  // The host's Descriptions.ListNames and Descriptions.AnsiByDefault, which
  // only its macro engine answers; its defaults where no engine answers.
  static descriptions::HostSettings<Char> ReadDescriptionSettings();

  // The host's name matcher (ProcessName, PN_CMPNAME) on the whole string.
  static bool CmpName(const Char* mask, const Char* str);

  static void MoveCursor(PanelSnapshot* snapshot, int current, int top);
  static void RedrawPanel();

  static constexpr BoxGlyphs<Char> kBoxGlyphs = kUnicodeDoubleLine<Char>;
  // The box in the palette colours of a dialog's frame and edit field.
  static void LoadBoxColors();
  static void Text(int x, int y, Ink ink, const Char* str);
  static void FlushText();
  static uint32_t ClipboardLine(Char* out, uint32_t capacity);
  // The plug-in's help at topic; returns when it closes.
  static void ShowHelp(const Char* topic);

  // The host's mask service (ProcessName with a mask list): lists, an
  // exclusion after "|", /regular expressions/ and <groups>, as its own
  // Select dialog takes them.
  static bool CheckMask(const Char* mask);
  static bool MatchesMask(const Char* mask, const Char* str);

  static void BeginSelection(PanelSnapshot* snapshot);
  static void SetSelected(PanelSnapshot* snapshot, uint32_t index, bool selected);
  static void EndSelection(PanelSnapshot* snapshot);

  // The host's text for a message of the plug-in's language file.
  static const Char* Msg(Message id);
  static int Menu(const Char* title, const Char* const* items, int count);
  static bool RunMaskDialog(const Char* title, KeptMask<Char>* mask);
  static int RunForm(const DialogForm<Char>& form, const Char* const* texts, KeptMask<Char>* field,
                     bool* checked);

  // ---- Find in a folder tree ------------------------------------------------

  static constexpr Char kPathSeparator = u'\\';
  static Char* ActiveFolder();
  static void* SaveScreen();
  static void RestoreScreen(void* screen);
  static bool EscapePressed();
  static int Say(findtree::SayKind kind, const Char* const* lines, int count);
  // ---- The results panel ---------------------------------------------------

  static size_t ItemRecordSize(int index);
  static const Char* ReadItem(int index, void* block, size_t size, bool* isFolder);
  static bool GoToFolder(const Char* folder, int* count, int* top);
};
static_assert(QuickSearchGateway<Far3> && findtree::FindGateway<Far3> &&
              findtree::ResultsPanelGateway<Far3>);
