// A gateway over a panel kept in memory, for the tests of the shared rules
// and commands and for the fuzzers: items with names, descriptions and
// sizes, a cursor and a rectangle; a scripted queue of console events and
// the user's answers to the menu and the mask dialog; everything the rules
// draw, move and select recorded as it happens. QuickSearchTestGateway is
// the same for a host with a quick search of its own: a clipboard, help,
// and a keyboard layout whose q, w and e are the Cyrillic letters on those
// keys.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/gateway.h"
#include "descriptions/description_lines.h"
#include "filemask/file_mask.h"

namespace test {

template <class Char>
using String = std::basic_string<Char>;

template <class Char>
struct Item {
  String<Char> name;
  std::optional<String<Char>> description;
  uint64_t size = 0;
  bool selected = false;
};

template <class Char>
struct Draw {
  int x;
  int y;
  Ink ink;
  String<Char> text;
  bool flush;  // the call that puts what was drawn on the screen
};

struct Move {
  int current;
  int top;
  bool operator==(const Move&) const = default;
};

template <class Char>
struct MenuCall {
  String<Char> title;
  std::vector<String<Char>> items;
};

template <class Char>
struct DialogCall {
  String<Char> title;
  String<Char> field;  // as the dialog opened
};

template <class Char>
struct Host {
  // ---- The active panel ----
  std::vector<Item<Char>> items;
  int current = 0;
  int top = 0;
  PanelRect rect{0, 1, 39, 20};
  std::optional<String<Char>> folder;  // none: a plug-in's panel
  bool filePanel = true;               // false: no snapshot, as for the tree panel
  // The host's description settings: its list of names (none: its
  // defaults) and whether a file without a mark is in the ANSI code page.
  std::optional<String<Char>> descriptionFileNames;
  bool ansiByDefault = false;
  bool (*cmpName)(const Char* mask, const Char* str) = [](const Char* mask, const Char* str) {
    return MatchFileMask(mask, str);
  };
  // The host's mask service: which masks it reads (the others get its
  // message), and how it compares a description with one.
  bool (*maskIsValid)(const Char* mask) = [](const Char*) { return true; };
  bool (*matchesMask)(const Char* mask, const Char* str) = [](const Char* mask, const Char* str) {
    return MatchFileMask(mask, str);
  };
  std::optional<String<Char>> clipboard;  // none: no text on it

  // ---- The console ----
  std::deque<sys::ConsoleEvent> keys;
  std::optional<int> screenRows = 150;  // none: the buffer's size cannot be read
  bool consoleFails = false;

  // ---- The user's answers ----
  std::vector<String<Char>> messages = EnglishMessages();
  int menuChoice = -1;
  bool dialogAccepted = true;
  std::optional<String<Char>> dialogTyped;  // none: the field left as it opened
  // Typed into the dialogs after the first, one each, before dialogTyped.
  std::deque<String<Char>> laterDialogsTyped;

  // ---- What the rules did ----
  std::vector<Draw<Char>> draws;
  std::vector<std::pair<int, int>> cursor;  // (column, row)
  std::vector<Move> moves;
  std::vector<MenuCall<Char>> menus;
  std::vector<DialogCall<Char>> dialogs;
  int redraws = 0;
  int beeps = 0;
  int colorLoads = 0;
  int cmpNameCalls = 0;
  int waitsOnEmptyQueue = 0;
  int selectionsBegun = 0;
  int selectionsEnded = 0;
  int snapshotsHeld = 0;
  int maskMessages = 0;
  std::vector<String<Char>> helpTopics;

  static std::vector<String<Char>> EnglishMessages() {
    std::vector<String<Char>> texts;
    for (int m = 0; m < kMessageCount; ++m) texts.push_back(kEnglishMessages<Char>.text[m]);
    return texts;
  }

  // Items with these descriptions (none: an item without one), named a, b, ...
  void Describe(const std::vector<std::optional<String<Char>>>& descriptions) {
    items.clear();
    for (const auto& description : descriptions) {
      items.push_back(
          Item<Char>{String<Char>(1, static_cast<Char>('a' + items.size() % 26)), description});
    }
  }

  std::vector<bool> Selected() const {
    std::vector<bool> selected;
    for (const Item<Char>& item : items) selected.push_back(item.selected);
    return selected;
  }
};

template <class C>
struct TestGateway {
  using Char = C;

  // Pointers into the host's items, as a gateway's copy of a panel holds them.
  struct PanelSnapshot {
    std::vector<const C*> descriptions;
    std::vector<const C*> names;
    std::vector<uint64_t> sizes;
  };

  static inline Host<C> host;

  // Gives the gateway a fresh host and returns it.
  static Host<C>& Reset() {
    host = Host<C>{};
    return host;
  }

  // ---- The panel ----

  static bool TakeSnapshot(PanelSnapshot* snapshot, PanelView<C>* view) {
    if (!host.filePanel || host.items.empty()) return false;
    ++host.snapshotsHeld;
    *snapshot = PanelSnapshot{};
    for (const Item<C>& item : host.items) {
      snapshot->descriptions.push_back(item.description ? item.description->c_str() : nullptr);
      snapshot->names.push_back(item.name.c_str());
      snapshot->sizes.push_back(item.size);
    }
    *view = ViewOf(snapshot);
    return true;
  }
  static void ReleaseSnapshot(PanelSnapshot*) { --host.snapshotsHeld; }

  static PanelView<C> ViewOf(PanelSnapshot* snapshot) {
    const uint32_t count = static_cast<uint32_t>(snapshot->descriptions.size());
    PanelView<C> view{};
    view.count = count;
    view.current = host.current;
    view.top = host.top;
    view.rect = host.rect;
    view.descriptions = {snapshot->descriptions.data(), sizeof(const C*), true, count};
    view.names = {snapshot->names.data(), sizeof(const C*), true, count};
    view.sizes = {snapshot->sizes.data(), sizeof(uint64_t), false};
    view.folder = host.folder ? host.folder->c_str() : nullptr;
    return view;
  }

  static constexpr descriptions::HostRules kDescriptionRules =
      descriptions::kCurrentGenerationRules;
  static descriptions::HostSettings<C> ReadDescriptionSettings() {
    return {host.descriptionFileNames ? host.descriptionFileNames->c_str() : nullptr,
            host.ansiByDefault};
  }
  static bool CmpName(const C* mask, const C* str) {
    ++host.cmpNameCalls;
    return host.cmpName(mask, str);
  }
  static void MoveCursor(PanelSnapshot*, int current, int top) {
    host.moves.push_back(Move{current, top});
    host.current = current;
    host.top = top;
  }
  static void RedrawPanel() { ++host.redraws; }

  // ---- The box and the console ----

  // Plain ASCII, so that a test reads the box as it is drawn.
  static constexpr BoxGlyphs<C> kBoxGlyphs = {'/', '\\', '\\', '/', '=', '|'};
  static void Beep() { ++host.beeps; }
  static void LoadBoxColors() { ++host.colorLoads; }
  static void Text(int x, int y, Ink ink, const C* str) {
    host.draws.push_back(Draw<C>{x, y, ink, str, false});
  }
  static void FlushText() { host.draws.push_back(Draw<C>{0, 0, Ink::kFrame, {}, true}); }
  static bool ScreenRows(int* rows) {
    if (!host.screenRows) return false;
    *rows = *host.screenRows;
    return true;
  }
  static void SetCursor(int column, int row) { host.cursor.emplace_back(column, row); }
  static bool PeekKey(sys::ConsoleEvent* event) {
    if (host.consoleFails) return false;
    if (host.keys.empty()) {
      // Nothing will ever arrive in a test: report the console as unreadable
      // rather than hang.
      ++host.waitsOnEmptyQueue;
      return false;
    }
    *event = host.keys.front();
    return true;
  }
  static bool RemoveKey() {
    if (host.consoleFails || host.keys.empty()) return false;
    host.keys.pop_front();
    return true;
  }

  // ---- Selection ----

  static bool CheckMask(const C* mask) {
    if (host.maskIsValid(mask)) return true;
    ++host.maskMessages;
    return false;
  }
  static bool MatchesMask(const C* mask, const C* str) { return host.matchesMask(mask, str); }
  static void BeginSelection(PanelSnapshot*) { ++host.selectionsBegun; }
  static void SetSelected(PanelSnapshot*, uint32_t index, bool selected) {
    host.items.at(index).selected = selected;
  }
  static void EndSelection(PanelSnapshot*) {
    ++host.selectionsEnded;
    ++host.redraws;
  }

  // ---- The menu and the mask dialog ----

  static const C* Msg(Message id) { return host.messages.at(static_cast<size_t>(id)).c_str(); }
  static int Menu(const C* title, const C* const* items, int count) {
    host.menus.push_back(MenuCall<C>{title, std::vector<String<C>>(items, items + count)});
    return host.menuChoice;
  }
  static bool RunMaskDialog(const C* title, KeptMask<C>* mask) {
    host.dialogs.push_back(DialogCall<C>{title, mask->text});
    KeepMask(mask, host.dialogTyped ? host.dialogTyped->c_str() : mask->text);
    if (!host.laterDialogsTyped.empty()) {
      host.dialogTyped = host.laterDialogsTyped.front();
      host.laterDialogsTyped.pop_front();
    }
    return host.dialogAccepted;
  }
};

static_assert(Gateway<TestGateway<char>> && Gateway<TestGateway<char16_t>> &&
              Gateway<TestGateway<wchar_t>>);

template <class C>
struct QuickSearchTestGateway : TestGateway<C> {
  static constexpr bool kLikeHostQuickSearch = true;
  using TestGateway<C>::host;

  static uint32_t ClipboardLine(C* out, uint32_t capacity) {
    if (!host.clipboard) return 0;
    uint32_t n = 0;
    for (; n < capacity && n < host.clipboard->size() && (*host.clipboard)[n] != '\n'; ++n) {
      out[n] = (*host.clipboard)[n];
    }
    return n;
  }
  static void ShowHelp(const C* topic) { host.helpTopics.push_back(topic); }
  static C OtherLayout(C letter) {
    const String<C> latin = {'q', 'w', 'e'}, local = {C(0x0439), C(0x0446), C(0x0443)};
    const size_t at = latin.find(letter);
    return at == String<C>::npos ? letter : local[at];
  }
};

static_assert(QuickSearchGateway<QuickSearchTestGateway<char16_t>> &&
              QuickSearchGateway<QuickSearchTestGateway<wchar_t>>);

}  // namespace test
