// The stand-in current-generation host's services.
#include "tests/far3/fake_far3.h"

#include <algorithm>
#include <cstring>

#include "far3/far3_panel_records.h"
#include "filemask/mask_list.h"

extern "C" void SetStartupInfoW(const far3::PluginStartupInfo* info);

namespace fake3 {
namespace {

Host theHost;
far3::FarStandardFunctions standardFunctions;
far3::PluginStartupInfo startupInfo;

const char16_t kEmpty[] = u"";

size_t Units(const std::u16string& text) {
  return (text.size() + 1) * sizeof(char16_t);
}

// Copies text behind the record when it fits, as the real host does.
const char16_t* Place(unsigned char* base, size_t size, size_t* used, const std::u16string& text) {
  if (*used + Units(text) > size) return nullptr;
  auto* placed = reinterpret_cast<char16_t*>(base + *used);
  std::memcpy(placed, text.c_str(), Units(text));
  *used += Units(text);
  return placed;
}

intptr_t PanelItem(size_t index, far3::FarGetPluginPanelItem* request) {
  if (index >= theHost.items.size()) return 0;
  Item item = theHost.items[index];
  if (request == nullptr) {
    ++theHost.itemSizeQueries;
  } else {
    if (theHost.changeAfterFills >= 0 && theHost.itemFills >= theHost.changeAfterFills) {
      item.name += u'x';
    }
    ++theHost.itemFills;
  }
  size_t needed = sizeof(far3::PluginPanelItem) + Units(item.name) + Units(item.shortName);
  if (item.description) needed += Units(*item.description);
  if (request == nullptr || request->Item == nullptr ||
      request->Size < sizeof(far3::PluginPanelItem)) {
    return static_cast<intptr_t>(needed);
  }
  auto* base = reinterpret_cast<unsigned char*>(request->Item);
  far3::PluginPanelItem record{};
  record.FileSize = item.size;
  record.FileAttributes = item.attributes;
  size_t used = sizeof record;
  record.FileName = Place(base, request->Size, &used, item.name);
  record.AlternateFileName = Place(base, request->Size, &used, item.shortName);
  if (item.description) record.Description = Place(base, request->Size, &used, *item.description);
  std::memcpy(base, &record, sizeof record);
  return static_cast<intptr_t>(needed);
}

intptr_t PanelDirectory(intptr_t size, far3::FarPanelDirectory* directory) {
  const size_t needed = sizeof(far3::FarPanelDirectory) + Units(theHost.folder) + 2 * Units(u"");
  if (directory == nullptr) return static_cast<intptr_t>(needed);
  if (static_cast<size_t>(size) < needed || directory->StructSize != sizeof *directory) return 0;
  auto* base = reinterpret_cast<unsigned char*>(directory);
  size_t used = sizeof *directory;
  directory->Name = Place(base, needed, &used, theHost.folder);
  directory->Param = Place(base, needed, &used, u"");
  directory->File = Place(base, needed, &used, u"");
  return static_cast<intptr_t>(needed);
}

intptr_t PanelInfo(far3::PanelInfo* info) {
  if (theHost.panelInfoFails || info->StructSize != sizeof *info) return 0;
  info->Flags = theHost.panelFlags;
  info->ItemsNumber = theHost.items.size();
  info->PanelRect = theHost.rect;
  info->CurrentItem = theHost.current;
  info->TopPanelItem = theHost.top;
  info->PanelType = theHost.panelType;
  return 1;
}

intptr_t PanelControl(void* panel, int command, intptr_t param1, void* param2) {
  PanelCall call{command, param1, reinterpret_cast<intptr_t>(param2), 0, 0};
  if (command == far3::FCTL_REDRAWPANEL && param2 != nullptr) {
    const auto* info = static_cast<const far3::PanelRedrawInfo*>(param2);
    call.redrawCurrent = info->CurrentItem;
    call.redrawTop = info->TopPanelItem;
  }
  theHost.panelCalls.push_back(call);
  if (panel != far3::ActivePanel()) return 0;
  switch (command) {
    case far3::FCTL_GETPANELINFO:
      return PanelInfo(static_cast<far3::PanelInfo*>(param2));
    case far3::FCTL_GETPANELITEM:
      return PanelItem(static_cast<size_t>(param1),
                       static_cast<far3::FarGetPluginPanelItem*>(param2));
    case far3::FCTL_GETPANELDIRECTORY:
      return PanelDirectory(param1, static_cast<far3::FarPanelDirectory*>(param2));
    case far3::FCTL_GETCURRENTPANELITEM:
      return PanelItem(theHost.current, static_cast<far3::FarGetPluginPanelItem*>(param2));
    case far3::FCTL_SETPANELDIRECTORY:
      theHost.foldersSet.push_back(static_cast<const far3::FarPanelDirectory*>(param2)->Name);
      theHost.items = theHost.itemsAfterFolderChange;
      return 1;
    default:
      return 1;
  }
}

intptr_t AdvControl(const far3::Uuid*, int command, intptr_t param1, void* param2) {
  if (command != far3::ACTL_GETCOLOR) return 0;
  const auto& entry = param1 == far3::COL_DIALOGBOX    ? theHost.dialogBox
                      : param1 == far3::COL_DIALOGEDIT ? theHost.dialogEdit
                                                       : std::optional<far3::FarColor>{};
  if (!entry) return 0;
  *static_cast<far3::FarColor*>(param2) = *entry;
  return 1;
}

void Text(intptr_t x, intptr_t y, const far3::FarColor* color, const char16_t* str) {
  TextCall call{x, y, {}, {}};
  if (color != nullptr) call.color = *color;
  if (str != nullptr) call.text = str;
  theHost.texts.push_back(call);
}

const char16_t* GetMsg(const far3::Uuid*, intptr_t id) {
  if (id < 0 || static_cast<size_t>(id) >= theHost.messages.size()) return kEmpty;
  return theHost.messages[static_cast<size_t>(id)].c_str();
}

intptr_t Menu(const far3::Uuid*, const far3::Uuid* id, intptr_t, intptr_t, intptr_t, uint64_t,
              const char16_t* title, const char16_t*, const char16_t*, const far3::FarKey*,
              intptr_t*, const far3::FarMenuItem* items, size_t count) {
  theHost.menuId = *id;
  theHost.menuTitle = title;
  theHost.menuItems.clear();
  for (size_t i = 0; i < count; ++i) theHost.menuItems.push_back(items[i].Text);
  return theHost.menuChoice;
}

// One dialog at a time: its field's text lives here until DialogFree.
std::u16string openField;
int dialogTag;

void* DialogInit(const far3::Uuid* pluginId, const far3::Uuid* id, intptr_t x1, intptr_t y1,
                 intptr_t x2, intptr_t y2, const char16_t* helpTopic,
                 const far3::FarDialogItem* items, size_t count, intptr_t, uint64_t,
                 far3::UnusedService, void*) {
  DialogCall call{*pluginId, *id, x1, y1, x2, y2, helpTopic ? helpTopic : u"", {}, {}, {}, {}};
  call.items.assign(items, items + count);
  for (size_t i = 0; i < count; ++i) {
    if (items[i].Type == far3::DI_DOUBLEBOX) call.title = items[i].Data;
    if (items[i].Type == far3::DI_EDIT) {
      call.field = items[i].Data;
      if (items[i].History) call.history = items[i].History;
    }
  }
  theHost.dialogs.push_back(call);
  return &dialogTag;
}

intptr_t DialogRun(void*) {
  openField = theHost.dialogText;
  return theHost.dialogResult;
}

void DialogFree(void*) {
  openField.assign(u"freed");  // a pointer kept past this point reads rubbish
  ++theHost.dialogsFreed;
}

intptr_t Message(const far3::Uuid*, const far3::Uuid*, uint64_t flags, const char16_t*,
                 const char16_t* const* items, size_t count, intptr_t) {
  MessageCall call{flags, {}};
  for (size_t i = 0; i < count; ++i) call.lines.push_back(items[i]);
  theHost.messageBoxes.push_back(call);
  return (flags & 0xF0000) != 0 ? theHost.messageAnswer : -1;
}

int screenTag;

void* SaveScreen(intptr_t, intptr_t, intptr_t, intptr_t) {
  ++theHost.screensSaved;
  return &screenTag;
}

void RestoreScreen(void* screen) {
  if (screen == &screenTag) ++theHost.screensRestored;
}

intptr_t SendDlgMessage(void*, intptr_t msg, intptr_t, void*) {
  if (msg == far3::DM_GETCHECK) return theHost.dialogCheck;
  if (msg != far3::DM_GETCONSTTEXTPTR) return 0;
  return reinterpret_cast<intptr_t>(openField.c_str());
}

size_t ProcessName(const char16_t* mask, char16_t* name, size_t, uint64_t flags) {
  theHost.processNameModes.push_back(flags);
  switch (flags & ~far3::PN_SHOWERRORMESSAGE) {
    case far3::PN_CMPNAME:
      return MaskMatches(mask, name);
    case far3::PN_CMPNAMELIST:
      return MatchMaskList(mask, name);
    case far3::PN_CHECKMASK:
      if (MaskListIsValid(mask)) return 1;
      theHost.maskMessages += (flags & far3::PN_SHOWERRORMESSAGE) != 0;
      return 0;
    default:
      return 0;
  }
}

size_t PasteFromClipboard(int type, char16_t* data, size_t size) {
  if (type != far3::FCT_ANY || !theHost.clipboard) return 0;
  const std::u16string& text = *theHost.clipboard;
  if (data != nullptr) std::memcpy(data, text.c_str(), std::min(size, text.size() + 1) * 2);
  return text.size() + 1;
}

int ShowHelp(const char16_t* module, const char16_t* topic, uint64_t flags) {
  if (flags == far3::FHELP_SELFHELP && module == startupInfo.ModuleName) {
    theHost.helpTopics.push_back(topic);
  }
  return 1;
}

// Basic Latin and Cyrillic capitals; enough for the tests' descriptions.
char16_t Fold(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c - u'A' + u'a');
  if (c >= u'\u0410' && c <= u'\u042F') return static_cast<char16_t>(c + 0x20);
  return c;
}

bool Matches(const char16_t* mask, const char16_t* name) {
  if (*mask == 0) return *name == 0;
  if (*mask == u'*') return Matches(mask + 1, name) || (*name != 0 && Matches(mask, name + 1));
  if (*name == 0) return false;
  return (*mask == u'?' || Fold(*mask) == Fold(*name)) && Matches(mask + 1, name + 1);
}

intptr_t MacroControl(const far3::Uuid*, int command, intptr_t, void* param2) {
  if (!theHost.macroEngine || command != far3::MCTL_EXECSTRING) return 0;
  auto* run = static_cast<far3::MacroExecuteString*>(param2);
  if (run->StructSize < sizeof *run) return 0;
  MacroEngine& engine = *theHost.macroEngine;
  engine.ranText = run->SequenceText;
  engine.ranFlags = run->Flags;
  run->OutCount = engine.answers.size();
  run->OutValues = engine.answers.data();
  return 1;
}

}  // namespace

void InstallMacroEngine(std::optional<std::u16string> listNames, std::optional<bool> ansi) {
  MacroEngine& engine = theHost.macroEngine.emplace();
  engine.strings.reserve(1);
  far3::FarMacroValue names{};
  names.Type = far3::FMVT_NIL;
  if (listNames) {
    engine.strings.push_back(*listNames);
    names.Type = far3::FMVT_STRING;
    names.String = engine.strings.back().c_str();
  }
  far3::FarMacroValue answer{};
  answer.Type = ansi ? far3::FMVT_BOOLEAN : far3::FMVT_NIL;
  answer.Integer = ansi.value_or(false);
  engine.answers = {names, answer};
}

int Host::Count(int command) const {
  int count = 0;
  for (const PanelCall& call : panelCalls) count += call.command == command;
  return count;
}

// The real host's matcher takes an empty mask as matching nothing at all.
bool MaskMatches(const char16_t* mask, const char16_t* name) {
  return *mask != 0 && Matches(mask, name);
}

Host& Reset() {
  theHost = Host{};
  standardFunctions = far3::FarStandardFunctions{};
  standardFunctions.StructSize = sizeof standardFunctions;
  standardFunctions.ProcessName = ProcessName;
  standardFunctions.PasteFromClipboard = PasteFromClipboard;
  startupInfo = far3::PluginStartupInfo{};
  startupInfo.StructSize = sizeof startupInfo;
  startupInfo.ModuleName = u"C:\\Far\\Plugins\\Veltrane\\Veltrane.dll";
  startupInfo.Menu = Menu;
  startupInfo.GetMsg = GetMsg;
  startupInfo.PanelControl = PanelControl;
  startupInfo.Text = Text;
  startupInfo.FSF = &standardFunctions;
  startupInfo.ShowHelp = ShowHelp;
  startupInfo.AdvControl = AdvControl;
  startupInfo.DialogInit = DialogInit;
  startupInfo.DialogRun = DialogRun;
  startupInfo.DialogFree = DialogFree;
  startupInfo.SendDlgMessage = SendDlgMessage;
  startupInfo.Message = Message;
  startupInfo.SaveScreen = SaveScreen;
  startupInfo.RestoreScreen = RestoreScreen;
  startupInfo.MacroControl = MacroControl;
  SetStartupInfoW(&startupInfo);
  return theHost;
}

Host& TheHost() {
  return theHost;
}

}  // namespace fake3
