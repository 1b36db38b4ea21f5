// Drives the plug-in with hostile panels, key streams and masks, and checks
// what must hold whatever the input: the search text stays within 18
// characters and terminated, the panel cursor stays on an item, only the
// selection bit of an item's Flags ever changes, a selection only grows when
// selecting and only shrinks when unselecting, the speed search never eats
// the key it leaves to the host, and every host call gets well-formed
// arguments. Crashes, undefined behaviour and hangs are the sanitizers' and
// libFuzzer's to report.
//
// Input, read from the front; whatever runs out reads as zeros:
//   panel:   u8 type/flags, u16 item count, 4 x i32 PanelRect, i32 CurrentItem,
//            u32 flag seed, u8 pool size, pool entries, u8 stride, u8 offset
//   entry:   u8 kind (0 null, 1 empty, 2 long: u16 length + 2 pattern bytes,
//            3 short: u8 length + bytes)
//   then up to kMaxOperations of: u8 operation, its arguments (see below).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "commands/select_command.h"
#include "far1/far1_gateway.h"
#include "far1/far1_host.h"
#include "far1/far1_plugin.h"
#include "filemask/file_mask.h"
#include "fuzz/fuzz_input.h"
#include "speedsearch/speed_search.h"
#include "tests/doubles/fake_system.h"
#include "tests/doubles/search_steps.h"

namespace {

// ---- Bounds that keep one input's work small --------------------------------

constexpr int kMaxItems = 3000;
// Description bytes over the whole panel, counting each item's own: every
// search may read all of them, once per key.
constexpr size_t kDescriptionBudget = 256 * 1024;
constexpr int kMaxPoolEntries = 16;
constexpr int kMaxOperations = 8;
constexpr int kMaxEvents = 128;
constexpr size_t kMaxMask = 511;  // the dialog's 512-byte buffer
constexpr size_t kBoxLine = 22;

// ---- The panel the host owns ------------------------------------------------

struct HostPanel {
  std::vector<std::string> pool;
  std::vector<bool> poolIsNull;
  std::vector<PluginPanelItem> items;
  std::vector<const char*> descriptions;  // as handed out, to spot a rewrite
  std::vector<uint32_t> flags;            // after the last operation
  PanelInfo info{};                       // what FCTL_GETPANELINFO reports
  bool snapshotFails = false;
};

void ReadPool(Reader& in, HostPanel& panel) {
  int entries = in.Byte() % kMaxPoolEntries + 1;
  for (int e = 0; e < entries; ++e) {
    std::string text;
    uint8_t kind = in.Byte() % 4;
    if (kind == 2) {
      size_t length = in.U16();
      char pattern[2] = {static_cast<char>(in.Byte()), static_cast<char>(in.Byte())};
      for (size_t i = 0; i < length; ++i) text.push_back(pattern[i % 2]);
    } else if (kind == 3) {
      text = in.Bytes(in.Byte());
    }
    // A NUL read from the input ends the description there, as in the theHost.
    text.resize(std::strlen(text.c_str()));
    panel.pool.push_back(text);
    panel.poolIsNull.push_back(kind == 0);
  }
}

uint32_t NextFlags(uint32_t* seed) {
  // xorshift32: every flag bit the host might use, set and clear.
  uint32_t x = *seed != 0 ? *seed : 0x9E3779B9u;
  x ^= x << 13;
  x ^= x >> 17;
  x ^= x << 5;
  *seed = x;
  return x;
}

void ReadPanel(Reader& in, HostPanel& panel) {
  uint8_t type = in.Byte();
  int count = in.U16() % (kMaxItems + 1);
  HostRect rect{in.I32(), in.I32(), in.I32(), in.I32()};
  int current = in.I32();
  uint32_t seed = in.U32();
  ReadPool(in, panel);
  uint32_t stride = in.Byte(), offset = in.Byte();

  panel.items.assign(count, PluginPanelItem{});
  size_t budget = kDescriptionBudget;
  for (int i = 0; i < count; ++i) {
    size_t entry = (i * stride + offset + i / 7) % panel.pool.size();
    std::string& text = panel.pool[entry];
    if (!panel.poolIsNull[entry] && text.size() <= budget) {
      budget -= text.size();
      panel.items[i].Description = text.data();
    }
    panel.items[i].Flags = NextFlags(&seed);
    panel.items[i].Owner = nullptr;
  }
  // Copied out by value: the host's packing leaves these fields misaligned.
  for (const PluginPanelItem& item : panel.items) {
    const char* description = item.Description;
    const uint32_t flags = item.Flags;
    panel.descriptions.push_back(description);
    panel.flags.push_back(flags);
  }

  // Low bits: mostly a file panel; bit 2: the host gives no snapshot; bit 3:
  // the host reports a negative count for a panel that has items.
  panel.info.PanelType = (type & 3) == 3 ? type >> 4 : PTYPE_FILEPANEL;
  panel.snapshotFails = (type & 4) != 0;
  panel.info.PanelRect = rect;
  panel.info.PanelItems = panel.items.empty() ? nullptr : panel.items.data();
  panel.info.ItemsNumber = (type & 8) != 0 ? -count : count;
  panel.info.CurrentItem = current;
}

// ---- The host, checking every call ------------------------------------------

enum class Running { kNothing, kSpeedSearch, kSelect };

struct HostState {
  HostPanel* panel = nullptr;
  Running running = Running::kNothing;
  std::string dialogMask;
  int dialogResult = -1;
  int menuResult = -1;
  // Calls made during the current operation.
  int redraws = 0;
  int cursorRedraws = 0;
  int selections = 0;
  int dialogs = 0;
  int texts = 0;
  bool lastCallWasPlainRedraw = false;
};

HostState theHost;

int ItemCount() {
  return static_cast<int>(theHost.panel->items.size());
}

bool Terminated(const char* s, size_t capacity) {
  return std::memchr(s, 0, capacity) != nullptr;
}

int HOSTCALL CheckedControl(HostHandle handle, int command, void* param) {
  CHECK(handle == InvalidHandleValue());
  theHost.lastCallWasPlainRedraw = command == FCTL_REDRAWPANEL && param == nullptr;
  switch (command) {
    case FCTL_GETPANELINFO:
      CHECK(param != nullptr);
      if (theHost.panel->snapshotFails) return 0;
      std::memcpy(param, &theHost.panel->info, sizeof(PanelInfo));
      return 1;
    case FCTL_REDRAWPANEL:
      ++theHost.redraws;
      if (param != nullptr) {
        // The cursor only ever moves onto an item of the panel.
        const int* pair = static_cast<const int*>(param);
        CHECK(pair[0] >= 0 && pair[0] < ItemCount());
        ++theHost.cursorRedraws;
        theHost.panel->info.CurrentItem = pair[0];
        theHost.panel->info.TopPanelItem = pair[1];
      }
      return 1;
    case FCTL_SETSELECTION: {
      CHECK(theHost.running == Running::kSelect);
      const PanelInfo* info = static_cast<const PanelInfo*>(param);
      CHECK(info != nullptr);
      CHECK(info->PanelItems == theHost.panel->info.PanelItems);
      CHECK(info->ItemsNumber == ItemCount());
      ++theHost.selections;
      return 1;
    }
    default:
      CHECK(!"unknown Control command");
  }
  return 0;
}

int HOSTCALL CheckedMenu(int, int, int, int, unsigned, const char* title, const char*, const char*,
                         const int*, int*, const FarMenuItem* items, int count) {
  CHECK(title != nullptr && items != nullptr && count > 0);
  for (int i = 0; i < count; ++i) CHECK(Terminated(items[i].Text, sizeof items[i].Text));
  return theHost.menuResult;
}

int HOSTCALL CheckedDialog(int, int, int, int, int, const char* helpTopic, FarDialogItem* items,
                           int count) {
  CHECK(theHost.running == Running::kSelect);
  CHECK(helpTopic != nullptr && items != nullptr && count > 0);
  ++theHost.dialogs;
  FarDialogItem* edit = nullptr;
  for (int i = 0; i < count; ++i) {
    CHECK(Terminated(items[i].Data, sizeof items[i].Data));
    if (items[i].Flags & DIF_HISTORY) CHECK(items[i].History != nullptr);
    if (items[i].Type == DI_EDIT) edit = &items[i];
  }
  CHECK(edit != nullptr);
  // The host writes back what was typed, also when the dialog is cancelled.
  std::memcpy(edit->Data, theHost.dialogMask.c_str(), theHost.dialogMask.size() + 1);
  return theHost.dialogResult;
}

void HOSTCALL CheckedText(int x, int y, int color, const char* str) {
  CHECK(theHost.running == Running::kSpeedSearch);
  ++theHost.texts;
  if (str == nullptr) {
    CHECK(x == 0 && y == 0 && color == 0);
    return;
  }
  CHECK(color >= 0 && color <= 0xFF);
  // A box line, or the search text or the blanks after it.
  size_t length = strnlen(str, kBoxLine + 1);
  CHECK(length == kBoxLine || length <= kSearchTextMax);
}

int HOSTCALL CheckedCmpName(const char* mask, const char* str, int skipPath) {
  CHECK(mask != nullptr && str != nullptr && skipPath == 0);
  CHECK(theHost.running != Running::kNothing);
  if (theHost.running == Running::kSelect) {
    CHECK(strnlen(mask, kMaxMask + 1) <= kMaxMask);
  } else {
    // The typed text and its "*", or one typed letter against one letter of
    // a description.
    size_t length = strnlen(mask, kSearchTextMax + 2);
    const bool letterPair = length == 1 && strnlen(str, 2) == 1 && mask[0] != '*';
    CHECK(letterPair || (length >= 2 && length <= kSearchTextMax + 1 && mask[length - 1] == '*'));
  }
  return MatchFileMask(mask, str) ? 1 : 0;
}

void InstallHost(HostPanel* panel) {
  theHost = HostState{};
  theHost.panel = panel;
  PluginStartupInfo info{};
  info.StructSize = sizeof info;
  info.ModuleNumber = 1;
  info.Control = CheckedControl;
  info.Menu = CheckedMenu;
  info.Dialog = CheckedDialog;
  info.Text = CheckedText;
  info.CmpName = CheckedCmpName;
  SetStartupInfo(&info);
}

void BeginOperation(Running running) {
  theHost.running = running;
  theHost.redraws = theHost.cursorRedraws = theHost.selections = theHost.dialogs = theHost.texts =
      0;
  theHost.lastCallWasPlainRedraw = false;
}

// ---- After every operation -------------------------------------------------

// The host's array: descriptions never rewritten, no flag bit but the
// selection ever touched; for a search, no flag at all.
void CheckItems(HostPanel& panel, Running running, bool unselect) {
  for (size_t i = 0; i < panel.items.size(); ++i) {
    const PluginPanelItem& item = panel.items[i];
    const uint32_t before = panel.flags[i];
    CHECK(item.Description == panel.descriptions[i]);
    CHECK(((item.Flags ^ before) & ~PPIF_SELECTED) == 0);
    if (running != Running::kSelect || item.Description == nullptr) {
      CHECK(item.Flags == before);
    } else if (unselect) {
      CHECK((item.Flags & ~before) == 0);
    } else {
      CHECK((before & ~item.Flags) == 0);
    }
    panel.flags[i] = item.Flags;
  }
}

bool Searchable(const HostPanel& panel) {
  return !panel.snapshotFails && panel.info.PanelType == PTYPE_FILEPANEL &&
         panel.info.ItemsNumber > 0;
}

bool Matches(const PluginPanelItem& item, const char* text) {
  std::string mask = std::string(text) + "*";
  return item.Description != nullptr && MatchFileMask(mask.c_str(), item.Description);
}

// ---- Operations --------------------------------------------------------------

// The search steps of operations 0 and 1 keep one matcher for the whole
// input, as one long speed search keeps it from key to key.
void Aim(SearchSteps<Far1>* steps, PanelInfo* snapshot) {
  steps->snapshot = snapshot;
  steps->view = Far1::ViewOf(*snapshot);
}

// Operation 0: one search step on a copy of the snapshot.
//   u8 step (low bit) and length (upper bits), the text, u8 cursor source,
//   i32 cursor when that byte is odd.
void RunFind(Reader& in, HostPanel& panel, SearchSteps<Far1>* steps) {
  uint8_t head = in.Byte();
  uint32_t step = head & 1;
  std::string text = in.Bytes((head >> 1) % (kSearchTextMax + 1));
  PanelInfo snapshot = panel.info;
  if (in.Byte() & 1) snapshot.CurrentItem = in.I32();
  const PanelInfo before = snapshot;
  const int count = snapshot.ItemsNumber;
  const bool cursorInside = before.CurrentItem >= 0 && before.CurrentItem < count;

  BeginOperation(Running::kSpeedSearch);
  Aim(steps, &snapshot);
  if (!steps->Find(text.c_str(), step)) {
    CHECK(std::memcmp(&snapshot, &before, sizeof snapshot) == 0);
    CHECK(theHost.redraws == 0);
  } else {
    CHECK(!text.empty() && count > 0);
    CHECK(snapshot.CurrentItem >= 0 && snapshot.CurrentItem < count);
    CHECK(Matches(panel.items[snapshot.CurrentItem], text.c_str()));
    // The host is told exactly when the cursor moves.
    CHECK(theHost.cursorRedraws == (snapshot.CurrentItem != before.CurrentItem ? 1 : 0));
    if (cursorInside && step == 0 && Matches(panel.items[before.CurrentItem], text.c_str())) {
      CHECK(snapshot.CurrentItem == before.CurrentItem);
    }
  }
  CheckItems(panel, Running::kSpeedSearch, false);
}

// Operation 1: the key rules driven directly, one character per byte.
//   u8 key count, the keys.
void RunKeys(Reader& in, HostPanel& panel, fake::System& system, SearchSteps<Far1>* steps) {
  std::string keys = in.Bytes(in.Byte());
  PanelInfo snapshot = panel.info;
  Aim(steps, &snapshot);
  const BasicSearchText<char>& text = steps->text;
  ClearSearchText(&steps->text);
  BeginOperation(Running::kSpeedSearch);
  for (char key : keys) {
    const uint32_t c = static_cast<uint8_t>(key);
    if (!IsSearchKey(c)) {
      CHECK(c < 32 && c != 8 && c != 10 && c != 25 && c != 27);
      continue;
    }
    const uint32_t lengthBefore = text.length;
    const int beepsBefore = system.beeps;
    if (!steps->Key(c)) CHECK(c == 27);
    CHECK(text.length <= kSearchTextMax);
    CHECK(text.chars[text.length] == '\0' && std::strlen(text.chars) == text.length);
    // The only beep is for a character that would not fit.
    if (system.beeps != beepsBefore) CHECK(lengthBefore == kSearchTextMax && c >= 32);
    if (snapshot.ItemsNumber > 0 && theHost.cursorRedraws > 0) {
      CHECK(snapshot.CurrentItem >= 0 && snapshot.CurrentItem < snapshot.ItemsNumber);
    }
  }
  CheckItems(panel, Running::kSpeedSearch, false);
}

bool IsModifierOrLock(uint16_t vk) {
  return (vk >= 0x10 && vk <= 0x14) || vk == 0x90 || vk == 0x91;
}

sys::ConsoleEvent ReadEvent(Reader& in) {
  static constexpr uint16_t kKeys[] = {0,    0x10, 0x11, 0x12, 0x13, 0x14, 0x90, 0x91,
                                       0x08, 0x0D, 0x1B, 0x25, 0x28, 0x41, 0x70, 0x2E};
  static constexpr uint16_t kOtherEvents[] = {0x0002, 0x0004, 0x0008, 0x0010};
  uint8_t kind = in.Byte();
  sys::ConsoleEvent event{};
  event.eventType = sys::kKeyEvent;
  event.keyDown = (kind & 3) != 2;
  event.virtualKeyCode = kKeys[(kind >> 2) % 16];
  event.character = in.Byte();
  if ((kind & 3) == 3 && (kind & 0x40)) {
    event.eventType = (kind & 0x80) ? static_cast<uint16_t>(event.character << 8 | kind)
                                    : kOtherEvents[(kind >> 2) % 4];
  }
  return event;
}

// How many events a speed search must leave queued: everything from the
// first key press it does not take, or everything after Esc.
size_t EventsLeftFor(const std::deque<sys::ConsoleEvent>& queue) {
  for (size_t i = 0; i < queue.size(); ++i) {
    const sys::ConsoleEvent& e = queue[i];
    if (e.eventType != sys::kKeyEvent || !e.keyDown || IsModifierOrLock(e.virtualKeyCode)) continue;
    if (!IsSearchKey(e.character)) return queue.size() - i;
    if (e.character == 27) return queue.size() - i - 1;
  }
  return 0;
}

// The console and palette of one speed search.
//   u8 palette length (0xFF: no value), its bytes, i16 buffer rows,
//   u8 console flags, u8 event count, events of 2 bytes each.
void SetUpConsole(Reader& in, fake::System& system) {
  system = fake::System{};
  uint8_t paletteLength = in.Byte();
  if (paletteLength != 0xFF) {
    std::string palette = in.Bytes(paletteLength);
    system.registry["Software\\Far\\Colors\\CurrentPalette"] =
        std::vector<uint8_t>(palette.begin(), palette.end());
  }
  system.console.bufferRows = static_cast<int16_t>(in.U16());
  uint8_t flags = in.Byte();
  system.console.bufferInfoFails = (flags & 1) != 0;
  system.console.inputFails = (flags & 2) != 0;
  int events = in.Byte() % (kMaxEvents + 1);
  for (int i = 0; i < events; ++i) system.console.queue.push_back(ReadEvent(in));
}

void CheckSpeedSearchEnd(HostPanel& panel, const fake::System& system, size_t eventsBefore,
                         size_t expectedLeft) {
  if (!Searchable(panel)) {
    CHECK(theHost.texts == 0 && theHost.redraws == 0);
    CHECK(system.console.queue.size() == eventsBefore);
    return;
  }
  CHECK(theHost.lastCallWasPlainRedraw);
  CHECK(system.console.queue.size() == (system.console.inputFails ? eventsBefore : expectedLeft));
  CheckItems(panel, Running::kSpeedSearch, false);
}

// Operation 2: a whole speed search.
void RunSpeedSearch(Reader& in, HostPanel& panel, fake::System& system) {
  SetUpConsole(in, system);
  const size_t eventsBefore = system.console.queue.size();
  const size_t expectedLeft = EventsLeftFor(system.console.queue);
  BeginOperation(Running::kSpeedSearch);
  SpeedSearchCommand<Far1>();
  CheckSpeedSearchEnd(panel, system, eventsBefore, expectedLeft);
}

// The dialog's answer: u8 (bit 0 unselect, bits 1-2 the result), u16 mask
// length, the mask.
bool SetUpDialog(Reader& in) {
  static constexpr int kResults[] = {1, 1, -1, 0};
  uint8_t head = in.Byte();
  theHost.dialogResult = kResults[(head >> 1) & 3];
  theHost.dialogMask = in.Bytes(in.U16() % (kMaxMask + 1));
  theHost.dialogMask.resize(std::strlen(theHost.dialogMask.c_str()));
  return (head & 1) != 0;
}

void CheckSelectionEnd(HostPanel& panel, bool unselect) {
  if (!Searchable(panel)) {
    CHECK(theHost.dialogs == 0 && theHost.selections == 0 && theHost.redraws == 0);
  } else if (theHost.dialogResult != 1) {
    CHECK(theHost.dialogs == 1 && theHost.selections == 0 && theHost.redraws == 0);
  } else {
    CHECK(theHost.dialogs == 1 && theHost.selections == 1 && theHost.lastCallWasPlainRedraw);
  }
  // A cancelled dialog changes nothing at all.
  CheckItems(panel, theHost.dialogResult == 1 ? Running::kSelect : Running::kNothing, unselect);
}

// Operation 3: selecting or unselecting through the dialog.
void RunSelect(Reader& in, HostPanel& panel) {
  BeginOperation(Running::kSelect);
  const bool unselect = SetUpDialog(in);
  SelectCommand<Far1>(unselect);
  CheckSelectionEnd(panel, unselect);
}

// Operation 4: a command picked from the plug-in's menu.
//   i8 the menu's answer (0 speed search, 1 select, 2 unselect, any other
//   cancels), then that command's console or dialog as above.
void RunMenu(Reader& in, HostPanel& panel, fake::System& system) {
  PluginInfo info;
  std::memset(&info, 0xA5, sizeof info);
  PluginInfo untouched = info;
  GetPluginInfo(&info);
  CHECK(info.PluginMenuStrings != nullptr && info.PluginMenuStrings[0] != nullptr);
  untouched.StructSize = kPluginInfoSize;
  untouched.PluginMenuStrings = info.PluginMenuStrings;
  untouched.PluginMenuStringsNumber = 1;
  CHECK(std::memcmp(&info, &untouched, sizeof info) == 0);

  const int choice = static_cast<int8_t>(in.Byte());
  const Running running = choice == 0                  ? Running::kSpeedSearch
                          : choice == 1 || choice == 2 ? Running::kSelect
                                                       : Running::kNothing;
  BeginOperation(running);
  theHost.menuResult = choice;
  size_t eventsBefore = 0, expectedLeft = 0;
  if (running == Running::kSpeedSearch) {
    SetUpConsole(in, system);
    eventsBefore = system.console.queue.size();
    expectedLeft = EventsLeftFor(system.console.queue);
  } else if (running == Running::kSelect) {
    SetUpDialog(in);
  }
  CHECK(OpenPlugin(0, 0) == InvalidHandleValue());
  if (running == Running::kSpeedSearch) {
    CheckSpeedSearchEnd(panel, system, eventsBefore, expectedLeft);
  } else if (running == Running::kSelect) {
    CheckSelectionEnd(panel, choice == 2);
  } else {
    CHECK(theHost.redraws == 0);
    CheckItems(panel, Running::kNothing, false);
  }
}

void RunOperation(uint8_t operation, Reader& in, HostPanel& panel, fake::System& system,
                  SearchSteps<Far1>* steps) {
  switch (operation % 5) {
    case 0:
      RunFind(in, panel, steps);
      break;
    case 1:
      RunKeys(in, panel, system, steps);
      break;
    case 2:
      RunSpeedSearch(in, panel, system);
      break;
    case 3:
      RunSelect(in, panel);
      break;
    default:
      RunMenu(in, panel, system);
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Reader in{data, size};
  HostPanel panel;
  ReadPanel(in, panel);
  fake::System& system = fake::ResetSystem();
  InstallHost(&panel);
  PanelInfo snapshot = panel.info;
  SearchSteps<Far1> steps(&snapshot, Far1::ViewOf(snapshot));
  for (int i = 0; i < kMaxOperations && !in.Empty(); ++i)
    RunOperation(in.Byte(), in, panel, system, &steps);
  return 0;
}
