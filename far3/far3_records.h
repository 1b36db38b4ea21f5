// The current-generation host's records and constants, in its own byte
// layout for both word sizes. Text is UTF-16: char16_t here, which has the
// size and representation of the host's 16-bit wchar_t, so the native test
// build (where wchar_t is 32-bit) sees the same records as the DLLs.
// Every size and offset is checked for the word size being compiled: the
// i686 DLL checks the 32-bit layout, the x86_64 and ARM64 DLLs and the native
// builds the 64-bit one (ARM64 lays records out as x86_64 does).
#pragma once

#include <cstddef>
#include <cstdint>

// Entry points and host services are stdcall on 32-bit x86; x86_64 and ARM64
// have one convention each and the attribute does not exist there.
#if defined(__i386__)
#define FAR3CALL __attribute__((stdcall))
#else
#define FAR3CALL
#endif

#if UINTPTR_MAX == 0xFFFFFFFFu
#define FAR3_PICK(x86, x64) (x86)
#else
#define FAR3_PICK(x86, x64) (x64)
#endif
#define FAR3_SIZE(Record, x86, x64) \
  static_assert(sizeof(Record) == FAR3_PICK(x86, x64), "size of " #Record)
#define FAR3_AT(Record, Field, x86, x64) \
  static_assert(offsetof(Record, Field) == FAR3_PICK(x86, x64), #Record "." #Field)

namespace far3 {

// A service the plug-in never calls: only its slot in the table matters.
using UnusedService = const void*;

// ---- Constants -------------------------------------------------------------

enum : int {
  FCTL_GETPANELINFO = 1,
  FCTL_REDRAWPANEL = 3,
  FCTL_SETSELECTION = 6,
  FCTL_GETPANELITEM = 21,
  FCTL_GETPANELDIRECTORY = 24,
  FCTL_BEGINSELECTION = 27,
  FCTL_ENDSELECTION = 28,
};

// PANEL_ACTIVE is the handle -1.
inline void* ActivePanel() {
  return reinterpret_cast<void*>(static_cast<intptr_t>(-1));
}

constexpr int PTYPE_FILEPANEL = 0;
constexpr uint64_t PFLAGS_PLUGIN = 0x800;
constexpr uint64_t PPIF_SELECTED = 0x40000000;

constexpr int OPEN_PLUGINSMENU = 1;

constexpr int ACTL_GETCOLOR = 3;
constexpr intptr_t COL_DIALOGBOX = 23;
constexpr intptr_t COL_DIALOGEDIT = 26;

constexpr uint64_t FCF_FG_INDEX = 0x1;
constexpr uint64_t FCF_BG_INDEX = 0x2;
constexpr uint32_t kOpaque = 0xFF000000;  // alpha byte of an opaque colour

constexpr uint64_t PN_CMPNAME = 0;
constexpr uint64_t PN_CMPNAMELIST = 0x10000;
constexpr uint64_t PN_CHECKMASK = 0x30000;
constexpr uint64_t PN_SHOWERRORMESSAGE = 0x2000000;

constexpr int FCT_ANY = 0;              // the clipboard's text, whatever its kind
constexpr uint64_t FHELP_SELFHELP = 0;  // a topic of the plug-in's own help file

constexpr int DI_DOUBLEBOX = 3;
constexpr int DI_EDIT = 4;
constexpr uint64_t DIF_HISTORY = 0x40000;
constexpr uint64_t DIF_DEFAULTBUTTON = 0x100000000;
constexpr uint64_t DIF_FOCUS = 0x200000000;
constexpr intptr_t DM_GETCONSTTEXTPTR = 63;

constexpr int VS_RELEASE = 0;

// ---- Identity ----------------------------------------------------------------

struct Uuid {
  uint32_t Data1;
  uint16_t Data2;
  uint16_t Data3;
  uint8_t Data4[8];
};
FAR3_SIZE(Uuid, 16, 16);
static_assert(alignof(Uuid) == 4);

struct VersionInfo {
  uint32_t Major;
  uint32_t Minor;
  uint32_t Revision;
  uint32_t Build;
  int32_t Stage;  // VS_*
};
FAR3_SIZE(VersionInfo, 20, 20);
FAR3_AT(VersionInfo, Stage, 16, 16);

struct GlobalInfo {
  size_t StructSize;
  VersionInfo MinFarVersion;
  VersionInfo Version;
  Uuid Guid;
  const char16_t* Title;
  const char16_t* Description;
  const char16_t* Author;
  void* Instance;
};
FAR3_SIZE(GlobalInfo, 76, 96);
FAR3_AT(GlobalInfo, MinFarVersion, 4, 8);
FAR3_AT(GlobalInfo, Version, 24, 28);
FAR3_AT(GlobalInfo, Guid, 44, 48);
FAR3_AT(GlobalInfo, Title, 60, 64);
FAR3_AT(GlobalInfo, Description, 64, 72);
FAR3_AT(GlobalInfo, Author, 68, 80);
FAR3_AT(GlobalInfo, Instance, 72, 88);

// ---- Menus -------------------------------------------------------------------

struct PluginMenuItem {
  const Uuid* Guids;
  const char16_t* const* Strings;
  size_t Count;
};
FAR3_SIZE(PluginMenuItem, 12, 24);
FAR3_AT(PluginMenuItem, Strings, 4, 8);
FAR3_AT(PluginMenuItem, Count, 8, 16);

struct PluginInfo {
  size_t StructSize;
  uint64_t Flags;  // PF_*
  PluginMenuItem DiskMenu;
  PluginMenuItem PluginMenu;
  PluginMenuItem PluginConfig;
  const char16_t* CommandPrefix;
  void* Instance;
};
FAR3_SIZE(PluginInfo, 64, 104);
FAR3_AT(PluginInfo, Flags, 8, 8);
FAR3_AT(PluginInfo, DiskMenu, 16, 16);
FAR3_AT(PluginInfo, PluginMenu, 28, 40);
FAR3_AT(PluginInfo, PluginConfig, 40, 64);
FAR3_AT(PluginInfo, CommandPrefix, 52, 88);
FAR3_AT(PluginInfo, Instance, 56, 96);

struct OpenInfo {
  size_t StructSize;
  int32_t OpenFrom;  // OPEN_*
  const Uuid* Guid;
  intptr_t Data;
  void* Instance;
};
FAR3_SIZE(OpenInfo, 20, 40);
FAR3_AT(OpenInfo, OpenFrom, 4, 8);
FAR3_AT(OpenInfo, Guid, 8, 16);
FAR3_AT(OpenInfo, Data, 12, 24);
FAR3_AT(OpenInfo, Instance, 16, 32);

struct FarKey {
  uint16_t VirtualKeyCode;
  uint32_t ControlKeyState;
};
FAR3_SIZE(FarKey, 8, 8);
FAR3_AT(FarKey, ControlKeyState, 4, 4);

struct FarMenuItem {
  uint64_t Flags;  // MIF_*
  const char16_t* Text;
  FarKey AccelKey;
  intptr_t UserData;
  intptr_t Reserved[2];
};
FAR3_SIZE(FarMenuItem, 32, 48);
FAR3_AT(FarMenuItem, Text, 8, 8);
FAR3_AT(FarMenuItem, AccelKey, 12, 16);
FAR3_AT(FarMenuItem, UserData, 20, 24);
FAR3_AT(FarMenuItem, Reserved, 24, 32);

// ---- Dialogs -------------------------------------------------------------------

struct FarDialogItem {
  int32_t Type;  // DI_*
  intptr_t X1;
  intptr_t Y1;
  intptr_t X2;
  intptr_t Y2;
  intptr_t Selected;  // one slot, also a list or cell buffer pointer by type
  const char16_t* History;
  const char16_t* Mask;
  uint64_t Flags;  // DIF_*
  const char16_t* Data;
  size_t MaxLength;  // characters, without the NUL; 0 = no limit
  intptr_t UserData;
  intptr_t Reserved[2];
};
FAR3_SIZE(FarDialogItem, 64, 112);
FAR3_AT(FarDialogItem, X1, 4, 8);
FAR3_AT(FarDialogItem, Y1, 8, 16);
FAR3_AT(FarDialogItem, X2, 12, 24);
FAR3_AT(FarDialogItem, Y2, 16, 32);
FAR3_AT(FarDialogItem, Selected, 20, 40);
FAR3_AT(FarDialogItem, History, 24, 48);
FAR3_AT(FarDialogItem, Mask, 28, 56);
FAR3_AT(FarDialogItem, Flags, 32, 64);
FAR3_AT(FarDialogItem, Data, 40, 72);
FAR3_AT(FarDialogItem, MaxLength, 44, 80);
FAR3_AT(FarDialogItem, UserData, 48, 88);
FAR3_AT(FarDialogItem, Reserved, 52, 96);

// ---- Panels ------------------------------------------------------------------

struct Rect {
  int32_t left;
  int32_t top;
  int32_t right;   // inclusive
  int32_t bottom;  // inclusive
};
FAR3_SIZE(Rect, 16, 16);

struct PanelInfo {
  size_t StructSize;  // set by the caller
  void* PluginHandle;
  Uuid OwnerGuid;
  uint64_t Flags;  // PFLAGS_*
  size_t ItemsNumber;
  size_t SelectedItemsNumber;
  Rect PanelRect;
  size_t CurrentItem;
  size_t TopPanelItem;
  intptr_t ViewMode;
  int32_t PanelType;  // PTYPE_*
  int32_t SortMode;
};
FAR3_SIZE(PanelInfo, 80, 104);
FAR3_AT(PanelInfo, PluginHandle, 4, 8);
FAR3_AT(PanelInfo, OwnerGuid, 8, 16);
FAR3_AT(PanelInfo, Flags, 24, 32);
FAR3_AT(PanelInfo, ItemsNumber, 32, 40);
FAR3_AT(PanelInfo, SelectedItemsNumber, 36, 48);
FAR3_AT(PanelInfo, PanelRect, 40, 56);
FAR3_AT(PanelInfo, CurrentItem, 56, 72);
FAR3_AT(PanelInfo, TopPanelItem, 60, 80);
FAR3_AT(PanelInfo, ViewMode, 64, 88);
FAR3_AT(PanelInfo, PanelType, 68, 96);
FAR3_AT(PanelInfo, SortMode, 72, 100);

struct FileTime {
  uint32_t dwLowDateTime;
  uint32_t dwHighDateTime;
};
FAR3_SIZE(FileTime, 8, 8);

struct UserDataItem {
  void* Data;
  UnusedService FreeData;
};
FAR3_SIZE(UserDataItem, 8, 16);
FAR3_AT(UserDataItem, FreeData, 4, 8);

struct PluginPanelItem {
  FileTime CreationTime;
  FileTime LastAccessTime;
  FileTime LastWriteTime;
  FileTime ChangeTime;
  uint64_t FileSize;
  uint64_t AllocationSize;
  const char16_t* FileName;
  const char16_t* AlternateFileName;
  const char16_t* Description;  // null where the item has none
  const char16_t* Owner;
  const char16_t* const* CustomColumnData;
  size_t CustomColumnNumber;
  uint64_t Flags;  // PPIF_*
  UserDataItem UserData;
  uintptr_t FileAttributes;
  uintptr_t NumberOfLinks;
  uintptr_t CRC32;
  intptr_t Reserved[2];
};
FAR3_SIZE(PluginPanelItem, 112, 160);
FAR3_AT(PluginPanelItem, LastAccessTime, 8, 8);
FAR3_AT(PluginPanelItem, LastWriteTime, 16, 16);
FAR3_AT(PluginPanelItem, ChangeTime, 24, 24);
FAR3_AT(PluginPanelItem, FileSize, 32, 32);
FAR3_AT(PluginPanelItem, AllocationSize, 40, 40);
FAR3_AT(PluginPanelItem, FileName, 48, 48);
FAR3_AT(PluginPanelItem, AlternateFileName, 52, 56);
FAR3_AT(PluginPanelItem, Description, 56, 64);
FAR3_AT(PluginPanelItem, Owner, 60, 72);
FAR3_AT(PluginPanelItem, CustomColumnData, 64, 80);
FAR3_AT(PluginPanelItem, CustomColumnNumber, 68, 88);
FAR3_AT(PluginPanelItem, Flags, 72, 96);
FAR3_AT(PluginPanelItem, UserData, 80, 104);
FAR3_AT(PluginPanelItem, FileAttributes, 88, 120);
FAR3_AT(PluginPanelItem, NumberOfLinks, 92, 128);
FAR3_AT(PluginPanelItem, CRC32, 96, 136);
FAR3_AT(PluginPanelItem, Reserved, 100, 144);

// Param2 of FCTL_GETPANELITEM: the caller's buffer, which the host fills with
// a PluginPanelItem followed by the strings it points to.
struct FarGetPluginPanelItem {
  size_t StructSize;
  size_t Size;  // bytes at Item
  PluginPanelItem* Item;
};
FAR3_SIZE(FarGetPluginPanelItem, 12, 24);
FAR3_AT(FarGetPluginPanelItem, Size, 4, 8);
FAR3_AT(FarGetPluginPanelItem, Item, 8, 16);

// Param2 of FCTL_GETPANELDIRECTORY (Param1 the buffer's size in bytes): the
// host fills it followed by the strings it points to. Its layout was checked
// against the real host's answers.
struct FarPanelDirectory {
  size_t StructSize;
  const char16_t* Name;  // the folder
  const char16_t* Param;
  Uuid PluginId;
  const char16_t* File;
};
FAR3_SIZE(FarPanelDirectory, 32, 48);
FAR3_AT(FarPanelDirectory, Name, 4, 8);
FAR3_AT(FarPanelDirectory, Param, 8, 16);
FAR3_AT(FarPanelDirectory, PluginId, 12, 24);
FAR3_AT(FarPanelDirectory, File, 28, 40);

struct PanelRedrawInfo {
  size_t StructSize;
  size_t CurrentItem;
  size_t TopPanelItem;
};
FAR3_SIZE(PanelRedrawInfo, 12, 24);
FAR3_AT(PanelRedrawInfo, CurrentItem, 4, 8);
FAR3_AT(PanelRedrawInfo, TopPanelItem, 8, 16);

// ---- Colours -----------------------------------------------------------------

// With FCF_FG_INDEX / FCF_BG_INDEX the colours' low bytes are console palette
// indices (bit 0 blue, 1 green, 2 red, 3 intensity), else RGB.
struct FarColor {
  uint64_t Flags;  // FCF_*
  uint32_t ForegroundColor;
  uint32_t BackgroundColor;
  uint32_t Reserved[2];
};
FAR3_SIZE(FarColor, 24, 24);
FAR3_AT(FarColor, ForegroundColor, 8, 8);
FAR3_AT(FarColor, BackgroundColor, 12, 12);
FAR3_AT(FarColor, Reserved, 16, 16);

// ---- Services ----------------------------------------------------------------

using MenuFn = intptr_t FAR3CALL (*)(const Uuid* pluginId, const Uuid* id, intptr_t x, intptr_t y,
                                     intptr_t maxHeight, uint64_t flags, const char16_t* title,
                                     const char16_t* bottom, const char16_t* helpTopic,
                                     const FarKey* breakKeys, intptr_t* breakCode,
                                     const FarMenuItem* items, size_t itemsNumber);
using GetMsgFn = const char16_t* FAR3CALL (*)(const Uuid* pluginId, intptr_t msgId);
using PanelControlFn = intptr_t FAR3CALL (*)(void* panel, int command, intptr_t param1,
                                             void* param2);
using TextFn = void FAR3CALL (*)(intptr_t x, intptr_t y, const FarColor* color,
                                 const char16_t* str);
using AdvControlFn = intptr_t FAR3CALL (*)(const Uuid* pluginId, int command, intptr_t param1,
                                           void* param2);
using DialogInitFn = void* FAR3CALL (*)(const Uuid* pluginId, const Uuid* id, intptr_t x1,
                                        intptr_t y1, intptr_t x2, intptr_t y2,
                                        const char16_t* helpTopic, const FarDialogItem* items,
                                        size_t itemsNumber, intptr_t reserved, uint64_t flags,
                                        UnusedService dlgProc, void* param);
using DialogRunFn = intptr_t FAR3CALL (*)(void* dialog);
using DialogFreeFn = void FAR3CALL (*)(void* dialog);
using SendDlgMessageFn = intptr_t FAR3CALL (*)(void* dialog, intptr_t msg, intptr_t param1,
                                               void* param2);
using MessageFn = intptr_t FAR3CALL (*)(const Uuid* pluginId, const Uuid* id, uint64_t flags,
                                        const char16_t* helpTopic, const char16_t* const* items,
                                        size_t itemsNumber, intptr_t buttonsNumber);
using SaveScreenFn = void* FAR3CALL (*)(intptr_t x1, intptr_t y1, intptr_t x2, intptr_t y2);
using RestoreScreenFn = void FAR3CALL (*)(void* screen);
using ProcessNameFn = size_t FAR3CALL (*)(const char16_t* mask, char16_t* name, size_t size,
                                          uint64_t flags);
// Copies at most size units of the clipboard's text, with its NUL only where
// it fits; returns the text's length with its NUL, 0 without text.
using PasteFromClipboardFn = size_t FAR3CALL (*)(int type, char16_t* data, size_t size);
using ShowHelpFn = int FAR3CALL (*)(const char16_t* moduleName, const char16_t* topic,
                                    uint64_t flags);

// ---- The macro engine ------------------------------------------------------
// The host's own description settings are private to it; its macro engine
// answers them (Far.GetConfig in Lua).

constexpr int MCTL_EXECSTRING = 10;
// Lua (KMFLAGS_LUA is 0), and no message box over a text that does not parse.
constexpr uint64_t KMFLAGS_SILENTCHECK = 0x1;

using MacroControlFn = intptr_t FAR3CALL (*)(const Uuid* pluginId, int command, intptr_t param1,
                                             void* param2);

struct FarStandardFunctions {
  size_t StructSize;
  UnusedService atoi, atoi64, itoa, itoa64, sprintf, sscanf, qsort, bsearch, snprintf;
  UnusedService LIsLower, LIsUpper, LIsAlpha, LIsAlphanum, LUpper, LLower, LUpperBuf, LLowerBuf;
  UnusedService LStrupr, LStrlwr, LStricmp, LStrnicmp, Unquote, LTrim, RTrim, Trim, TruncStr;
  UnusedService TruncPathStr, QuoteSpaceOnly, PointToName, GetPathRoot, AddEndSlash;
  UnusedService CopyToClipboard;
  PasteFromClipboardFn PasteFromClipboard;
  UnusedService FarInputRecordToName;
  UnusedService FarNameToInputRecord, XLat, GetFileOwner, GetNumberOfLinks;
  UnusedService FarRecursiveSearch, MkTemp;
  ProcessNameFn ProcessName;
  UnusedService MkLink, ConvertPath, GetReparsePointInfo, GetCurrentDirectory, FormatFileSize;
  UnusedService FarClock, CompareStrings;
};
FAR3_SIZE(FarStandardFunctions, 196, 392);
FAR3_AT(FarStandardFunctions, atoi, 4, 8);
FAR3_AT(FarStandardFunctions, atoi64, 8, 16);
FAR3_AT(FarStandardFunctions, itoa, 12, 24);
FAR3_AT(FarStandardFunctions, itoa64, 16, 32);
FAR3_AT(FarStandardFunctions, sprintf, 20, 40);
FAR3_AT(FarStandardFunctions, sscanf, 24, 48);
FAR3_AT(FarStandardFunctions, qsort, 28, 56);
FAR3_AT(FarStandardFunctions, bsearch, 32, 64);
FAR3_AT(FarStandardFunctions, snprintf, 36, 72);
FAR3_AT(FarStandardFunctions, LIsLower, 40, 80);
FAR3_AT(FarStandardFunctions, LIsUpper, 44, 88);
FAR3_AT(FarStandardFunctions, LIsAlpha, 48, 96);
FAR3_AT(FarStandardFunctions, LIsAlphanum, 52, 104);
FAR3_AT(FarStandardFunctions, LUpper, 56, 112);
FAR3_AT(FarStandardFunctions, LLower, 60, 120);
FAR3_AT(FarStandardFunctions, LUpperBuf, 64, 128);
FAR3_AT(FarStandardFunctions, LLowerBuf, 68, 136);
FAR3_AT(FarStandardFunctions, LStrupr, 72, 144);
FAR3_AT(FarStandardFunctions, LStrlwr, 76, 152);
FAR3_AT(FarStandardFunctions, LStricmp, 80, 160);
FAR3_AT(FarStandardFunctions, LStrnicmp, 84, 168);
FAR3_AT(FarStandardFunctions, Unquote, 88, 176);
FAR3_AT(FarStandardFunctions, LTrim, 92, 184);
FAR3_AT(FarStandardFunctions, RTrim, 96, 192);
FAR3_AT(FarStandardFunctions, Trim, 100, 200);
FAR3_AT(FarStandardFunctions, TruncStr, 104, 208);
FAR3_AT(FarStandardFunctions, TruncPathStr, 108, 216);
FAR3_AT(FarStandardFunctions, QuoteSpaceOnly, 112, 224);
FAR3_AT(FarStandardFunctions, PointToName, 116, 232);
FAR3_AT(FarStandardFunctions, GetPathRoot, 120, 240);
FAR3_AT(FarStandardFunctions, AddEndSlash, 124, 248);
FAR3_AT(FarStandardFunctions, CopyToClipboard, 128, 256);
FAR3_AT(FarStandardFunctions, PasteFromClipboard, 132, 264);
FAR3_AT(FarStandardFunctions, FarInputRecordToName, 136, 272);
FAR3_AT(FarStandardFunctions, FarNameToInputRecord, 140, 280);
FAR3_AT(FarStandardFunctions, XLat, 144, 288);
FAR3_AT(FarStandardFunctions, GetFileOwner, 148, 296);
FAR3_AT(FarStandardFunctions, GetNumberOfLinks, 152, 304);
FAR3_AT(FarStandardFunctions, FarRecursiveSearch, 156, 312);
FAR3_AT(FarStandardFunctions, MkTemp, 160, 320);
FAR3_AT(FarStandardFunctions, ProcessName, 164, 328);
FAR3_AT(FarStandardFunctions, MkLink, 168, 336);
FAR3_AT(FarStandardFunctions, ConvertPath, 172, 344);
FAR3_AT(FarStandardFunctions, GetReparsePointInfo, 176, 352);
FAR3_AT(FarStandardFunctions, GetCurrentDirectory, 180, 360);
FAR3_AT(FarStandardFunctions, FormatFileSize, 184, 368);
FAR3_AT(FarStandardFunctions, FarClock, 188, 376);
FAR3_AT(FarStandardFunctions, CompareStrings, 192, 384);

struct PluginStartupInfo {
  size_t StructSize;  // as the host built it
  const char16_t* ModuleName;
  MenuFn Menu;
  MessageFn Message;
  GetMsgFn GetMsg;
  PanelControlFn PanelControl;
  SaveScreenFn SaveScreen;
  RestoreScreenFn RestoreScreen;
  UnusedService GetDirList, GetPluginDirList, FreeDirList;
  UnusedService FreePluginDirList, Viewer, Editor;
  TextFn Text;
  UnusedService EditorControl;
  FarStandardFunctions* FSF;
  ShowHelpFn ShowHelp;
  AdvControlFn AdvControl;
  UnusedService InputBox, ColorDialog;
  DialogInitFn DialogInit;
  DialogRunFn DialogRun;
  DialogFreeFn DialogFree;
  SendDlgMessageFn SendDlgMessage;
  UnusedService DefDlgProc, ViewerControl, PluginsControl, FileFilterControl, RegExpControl;
  MacroControlFn MacroControl;
  UnusedService SettingsControl;
  const void* Private;
  void* Instance;
  UnusedService FreeScreen;
};
FAR3_SIZE(PluginStartupInfo, 140, 280);
FAR3_AT(PluginStartupInfo, ModuleName, 4, 8);
FAR3_AT(PluginStartupInfo, Menu, 8, 16);
FAR3_AT(PluginStartupInfo, Message, 12, 24);
FAR3_AT(PluginStartupInfo, GetMsg, 16, 32);
FAR3_AT(PluginStartupInfo, PanelControl, 20, 40);
FAR3_AT(PluginStartupInfo, SaveScreen, 24, 48);
FAR3_AT(PluginStartupInfo, RestoreScreen, 28, 56);
FAR3_AT(PluginStartupInfo, GetDirList, 32, 64);
FAR3_AT(PluginStartupInfo, GetPluginDirList, 36, 72);
FAR3_AT(PluginStartupInfo, FreeDirList, 40, 80);
FAR3_AT(PluginStartupInfo, FreePluginDirList, 44, 88);
FAR3_AT(PluginStartupInfo, Viewer, 48, 96);
FAR3_AT(PluginStartupInfo, Editor, 52, 104);
FAR3_AT(PluginStartupInfo, Text, 56, 112);
FAR3_AT(PluginStartupInfo, EditorControl, 60, 120);
FAR3_AT(PluginStartupInfo, FSF, 64, 128);
FAR3_AT(PluginStartupInfo, ShowHelp, 68, 136);
FAR3_AT(PluginStartupInfo, AdvControl, 72, 144);
FAR3_AT(PluginStartupInfo, InputBox, 76, 152);
FAR3_AT(PluginStartupInfo, ColorDialog, 80, 160);
FAR3_AT(PluginStartupInfo, DialogInit, 84, 168);
FAR3_AT(PluginStartupInfo, DialogRun, 88, 176);
FAR3_AT(PluginStartupInfo, DialogFree, 92, 184);
FAR3_AT(PluginStartupInfo, SendDlgMessage, 96, 192);
FAR3_AT(PluginStartupInfo, DefDlgProc, 100, 200);
FAR3_AT(PluginStartupInfo, ViewerControl, 104, 208);
FAR3_AT(PluginStartupInfo, PluginsControl, 108, 216);
FAR3_AT(PluginStartupInfo, FileFilterControl, 112, 224);
FAR3_AT(PluginStartupInfo, RegExpControl, 116, 232);
FAR3_AT(PluginStartupInfo, MacroControl, 120, 240);
FAR3_AT(PluginStartupInfo, SettingsControl, 124, 248);
FAR3_AT(PluginStartupInfo, Private, 128, 256);
FAR3_AT(PluginStartupInfo, Instance, 132, 264);
FAR3_AT(PluginStartupInfo, FreeScreen, 136, 272);

}  // namespace far3
