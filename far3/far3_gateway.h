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

  // ---- Find in a folder tree ------------------------------------------------

  static constexpr Char kPathSeparator = u'\\';
  // The active panel's folder, in a block to Free; null where the panel
  // shows no folder on disk (a plug-in's panel) or the host does not answer.
  static Char* ActiveFolder();
  // The find dialog: false when cancelled. The mask stays valid until the
  // next dialog.
  static bool AskForFind(const Char** mask, bool* subfolders);
  // The screen under the progress message, saved and restored.
  static void BeginSearchProgress();
  static void EndSearchProgress();
  // Takes the keys typed since the last look; true when Esc was among them.
  static bool EscapePressed();
  static int Say(findtree::SayKind kind, const Char* const* lines, int count);
};
static_assert(QuickSearchGateway<Far3> && findtree::FindGateway<Far3>);
// The mask dialog's rows are laid out in the host's item types and flag.
static_assert(static_cast<int>(DialogControl::kDoubleBox) == far3::DI_DOUBLEBOX &&
              static_cast<int>(DialogControl::kEdit) == far3::DI_EDIT &&
              kDialogHistoryFlag == far3::DIF_HISTORY);
