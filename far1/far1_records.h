// The host's records and constants, in the host's own byte layout.
// The plug-in is loaded into a 32-bit host, so every size and offset is checked
// in the 32-bit build; the native test build widens pointers and checks only
// what still holds there.
#pragma once

#include <cstddef>
#include <cstdint>

// Entry points and host callbacks use the stdcall convention on 32-bit x86;
// elsewhere (the native test build) the attribute does not exist.
#if defined(__i386__)
#define HOSTCALL __attribute__((stdcall))
#else
#define HOSTCALL
#endif

using HostHandle = void*;

// INVALID_HANDLE_VALUE: to the host's Control it means the active panel, and
// from OpenPlugin it means that no plug-in panel was opened.
inline HostHandle InvalidHandleValue() {
  return reinterpret_cast<HostHandle>(static_cast<intptr_t>(-1));
}

constexpr int FCTL_GETPANELINFO = 1;
constexpr int FCTL_REDRAWPANEL = 5;
constexpr int FCTL_SETSELECTION = 10;

constexpr int PTYPE_FILEPANEL = 0;
constexpr uint32_t PPIF_SELECTED = 0x40000000;

constexpr int DI_DOUBLEBOX = 3;
constexpr int DI_EDIT = 4;
constexpr uint32_t DIF_HISTORY = 0x40000;

#if defined(__i386__)
#define HOST_ASSERT_32(cond) static_assert(cond, #cond)
#else
#define HOST_ASSERT_32(cond)
#endif

// ---- Items and panels ------------------------------------------------------

struct HostFileTime {
  uint32_t dwLowDateTime;
  uint32_t dwHighDateTime;
};

// The host packs its panel items on 2-byte boundaries: the 318-byte find-data
// block is followed directly by 4-byte fields.
#pragma pack(push, 2)
struct HostFindData {
  uint32_t dwFileAttributes;
  HostFileTime ftCreationTime;
  HostFileTime ftLastAccessTime;
  HostFileTime ftLastWriteTime;
  uint32_t nFileSizeHigh;
  uint32_t nFileSizeLow;
  uint32_t dwReserved0;
  uint32_t dwReserved1;
  char cFileName[260];
  char cAlternateFileName[14];
};
static_assert(sizeof(HostFindData) == 318);
static_assert(offsetof(HostFindData, cFileName) == 44);
static_assert(offsetof(HostFindData, cAlternateFileName) == 304);

struct PluginPanelItem {
  HostFindData FindData;
  uint32_t PackSizeHigh;
  uint32_t PackSize;
  uint32_t Flags;
  uint32_t NumberOfLinks;
  char* Description;
  char* Owner;
  char** CustomColumnData;
  int CustomColumnNumber;
  uint32_t UserData;
  uint32_t CRC32;
  uint32_t Reserved[2];
};
#pragma pack(pop)
HOST_ASSERT_32(sizeof(PluginPanelItem) == 366);
static_assert(offsetof(PluginPanelItem, PackSizeHigh) == 318);
static_assert(offsetof(PluginPanelItem, PackSize) == 322);
static_assert(offsetof(PluginPanelItem, Flags) == 326);
static_assert(offsetof(PluginPanelItem, NumberOfLinks) == 330);
static_assert(offsetof(PluginPanelItem, Description) == 334);
HOST_ASSERT_32(offsetof(PluginPanelItem, Owner) == 338);
HOST_ASSERT_32(offsetof(PluginPanelItem, CustomColumnData) == 342);
HOST_ASSERT_32(offsetof(PluginPanelItem, CustomColumnNumber) == 346);
HOST_ASSERT_32(offsetof(PluginPanelItem, UserData) == 350);
HOST_ASSERT_32(offsetof(PluginPanelItem, CRC32) == 354);
HOST_ASSERT_32(offsetof(PluginPanelItem, Reserved) == 358);

struct HostRect {
  int left;
  int top;
  int right;
  int bottom;
};

struct PanelInfo {
  int PanelType;
  int Plugin;
  HostRect PanelRect;
  PluginPanelItem* PanelItems;
  int ItemsNumber;
  PluginPanelItem* SelectedItems;
  int SelectedItemsNumber;
  // CurrentItem and TopPanelItem side by side are the host's redraw record:
  // their address is handed to FCTL_REDRAWPANEL to move the cursor.
  int CurrentItem;
  int TopPanelItem;
  int Visible;
  int Focus;
  int ViewMode;
  char ColumnTypes[80];
  char ColumnWidths[80];
  char CurDir[260];
  int ShortNames;
  int SortMode;
  uint32_t Flags;
  uint32_t Reserved;
};
HOST_ASSERT_32(sizeof(PanelInfo) == 496);
static_assert(offsetof(PanelInfo, PanelRect) == 8);
static_assert(offsetof(PanelInfo, PanelItems) == 24);
HOST_ASSERT_32(offsetof(PanelInfo, ItemsNumber) == 28);
HOST_ASSERT_32(offsetof(PanelInfo, SelectedItems) == 32);
HOST_ASSERT_32(offsetof(PanelInfo, SelectedItemsNumber) == 36);
HOST_ASSERT_32(offsetof(PanelInfo, CurrentItem) == 40);
HOST_ASSERT_32(offsetof(PanelInfo, TopPanelItem) == 44);
static_assert(offsetof(PanelInfo, TopPanelItem) == offsetof(PanelInfo, CurrentItem) + 4);
HOST_ASSERT_32(offsetof(PanelInfo, Visible) == 48);
HOST_ASSERT_32(offsetof(PanelInfo, ColumnTypes) == 60);
HOST_ASSERT_32(offsetof(PanelInfo, ColumnWidths) == 140);
HOST_ASSERT_32(offsetof(PanelInfo, CurDir) == 220);
HOST_ASSERT_32(offsetof(PanelInfo, ShortNames) == 480);
HOST_ASSERT_32(offsetof(PanelInfo, Reserved) == 492);

// ---- Menus and dialogs -----------------------------------------------------

struct FarMenuItem {
  char Text[128];
  int Selected;
  int Checked;
  int Separator;
};
static_assert(sizeof(FarMenuItem) == 140);
static_assert(offsetof(FarMenuItem, Selected) == 128);
static_assert(offsetof(FarMenuItem, Checked) == 132);
static_assert(offsetof(FarMenuItem, Separator) == 136);

struct FarDialogItem {
  int Type;
  int X1;
  int Y1;
  int X2;
  int Y2;
  int Focus;
  union {
    int Selected;
    const char* History;
  };
  uint32_t Flags;
  int DefaultButton;
  char Data[512];
};
HOST_ASSERT_32(sizeof(FarDialogItem) == 548);
static_assert(offsetof(FarDialogItem, Focus) == 20);
static_assert(offsetof(FarDialogItem, History) == 24);
HOST_ASSERT_32(offsetof(FarDialogItem, Flags) == 28);
HOST_ASSERT_32(offsetof(FarDialogItem, DefaultButton) == 32);
HOST_ASSERT_32(offsetof(FarDialogItem, Data) == 36);

// ---- The plug-in's menu entry ----------------------------------------------

struct PluginInfo {
  int StructSize;
  uint32_t Flags;
  const char* const* DiskMenuStrings;
  int* DiskMenuNumbers;
  int DiskMenuStringsNumber;
  const char* const* PluginMenuStrings;
  int PluginMenuStringsNumber;
  const char* const* PluginConfigStrings;
  int PluginConfigStringsNumber;
  const char* CommandPrefix;
  uint32_t Reserved;
};
HOST_ASSERT_32(sizeof(PluginInfo) == 44);
HOST_ASSERT_32(offsetof(PluginInfo, PluginMenuStrings) == 20);
HOST_ASSERT_32(offsetof(PluginInfo, PluginMenuStringsNumber) == 24);
HOST_ASSERT_32(offsetof(PluginInfo, PluginConfigStrings) == 28);
HOST_ASSERT_32(offsetof(PluginInfo, CommandPrefix) == 36);
HOST_ASSERT_32(offsetof(PluginInfo, Reserved) == 40);
constexpr int kPluginInfoSize = 44;

// ---- The startup record ----------------------------------------------------

using FarMenuFn = int HOSTCALL (*)(int PluginNumber, int X, int Y, int MaxHeight, unsigned Flags,
                                   const char* Title, const char* Bottom, const char* HelpTopic,
                                   const int* BreakKeys, int* BreakCode, const FarMenuItem* Item,
                                   int ItemsNumber);
using FarDialogFn = int HOSTCALL (*)(int PluginNumber, int X1, int Y1, int X2, int Y2,
                                     const char* HelpTopic, FarDialogItem* Item, int ItemsNumber);
using FarControlFn = int HOSTCALL (*)(HostHandle hPlugin, int Command, void* Param);
using FarTextFn = void HOSTCALL (*)(int X, int Y, int Color, const char* Str);
using FarCmpNameFn = int HOSTCALL (*)(const char* Pattern, const char* String, int SkipPath);
// Operations this plug-in never calls keep their slot as an opaque pointer.
using FarUnusedFn = void*;

struct PluginStartupInfo {
  int StructSize;
  char ModuleName[260];
  int ModuleNumber;
  const char* RootKey;
  FarMenuFn Menu;
  FarDialogFn Dialog;
  FarUnusedFn Message;
  FarUnusedFn GetMsg;
  FarControlFn Control;
  FarUnusedFn SaveScreen;
  FarUnusedFn RestoreScreen;
  FarUnusedFn GetDirList;
  FarUnusedFn GetPluginDirList;
  FarUnusedFn FreeDirList;
  FarUnusedFn Viewer;
  FarUnusedFn Editor;
  FarCmpNameFn CmpName;
  FarUnusedFn CharTable;
  FarTextFn Text;
  FarUnusedFn EditorControl;
  FarUnusedFn Further[9];
};
HOST_ASSERT_32(sizeof(PluginStartupInfo) == 372);
static_assert(offsetof(PluginStartupInfo, ModuleNumber) == 264);
HOST_ASSERT_32(offsetof(PluginStartupInfo, RootKey) == 268);
HOST_ASSERT_32(offsetof(PluginStartupInfo, Menu) == 272);
HOST_ASSERT_32(offsetof(PluginStartupInfo, Dialog) == 276);
HOST_ASSERT_32(offsetof(PluginStartupInfo, Message) == 280);
HOST_ASSERT_32(offsetof(PluginStartupInfo, GetMsg) == 284);
HOST_ASSERT_32(offsetof(PluginStartupInfo, Control) == 288);
HOST_ASSERT_32(offsetof(PluginStartupInfo, SaveScreen) == 292);
HOST_ASSERT_32(offsetof(PluginStartupInfo, Editor) == 316);
HOST_ASSERT_32(offsetof(PluginStartupInfo, CmpName) == 320);
HOST_ASSERT_32(offsetof(PluginStartupInfo, CharTable) == 324);
HOST_ASSERT_32(offsetof(PluginStartupInfo, Text) == 328);
HOST_ASSERT_32(offsetof(PluginStartupInfo, EditorControl) == 332);
HOST_ASSERT_32(offsetof(PluginStartupInfo, Further) == 336);
