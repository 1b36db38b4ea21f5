// The current-generation host's records of a plug-in's own panel (the
// results of a search), of a call from a macro, and of the find dialog and
// its messages, in the host's byte layout for both word sizes, each checked
// as in far3_records.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "far3/far3_records.h"

namespace far3 {

// ---- Constants -------------------------------------------------------------

enum : int {
  FCTL_SETPANELDIRECTORY = 10,
  FCTL_GETCURRENTPANELITEM = 23,
};

constexpr int OPEN_FROMMACRO = 11;

constexpr uint64_t OPIF_ADDDOTS = 0x8;
constexpr uint64_t OPIF_REALNAMES = 0x20;
constexpr uint64_t OPIF_SHOWPRESERVECASE = 0x100;
constexpr uint64_t OPM_FIND = 0x2;
constexpr uint64_t IPLFLAGS_SEPARATOR = 0x1;

constexpr uint64_t FMSG_WARNING = 0x1;
constexpr uint64_t FMSG_LEFTALIGN = 0x8;
constexpr uint64_t FMSG_MB_OK = 0x10000;
constexpr uint64_t FMSG_MB_YESNO = 0x40000;

constexpr int DI_TEXT = 0;
constexpr int DI_BUTTON = 7;
constexpr int DI_CHECKBOX = 8;
constexpr uint64_t DIF_CENTERGROUP = 0x4000;
constexpr uint64_t DIF_SEPARATOR = 0x10000;
constexpr intptr_t DM_GETCHECK = 25;
constexpr intptr_t BSTATE_CHECKED = 1;

constexpr uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x10;

constexpr uint16_t KEY_EVENT = 0x1;
constexpr uint16_t VK_RETURN = 0x0D;
constexpr uint16_t VK_PRIOR = 0x21;
constexpr uint32_t RIGHT_ALT_PRESSED = 0x1;
constexpr uint32_t LEFT_ALT_PRESSED = 0x2;
constexpr uint32_t RIGHT_CTRL_PRESSED = 0x4;
constexpr uint32_t LEFT_CTRL_PRESSED = 0x8;
constexpr uint32_t SHIFT_PRESSED = 0x10;

constexpr int FMVT_INTEGER = 1;
constexpr int FMVT_STRING = 2;
constexpr int FMVT_BOOLEAN = 4;
constexpr int FMVT_NIL = 7;
constexpr int FMVT_PANEL = 9;

// ---- The panel ---------------------------------------------------------------

struct InfoPanelLine {
  const char16_t* Text;
  const char16_t* Data;
  uint64_t Flags;  // IPLFLAGS_*
};
FAR3_SIZE(InfoPanelLine, 16, 24);
FAR3_AT(InfoPanelLine, Data, 4, 8);
FAR3_AT(InfoPanelLine, Flags, 8, 16);

struct PanelMode {
  const char16_t* ColumnTypes;
  const char16_t* ColumnWidths;
  const char16_t* const* ColumnTitles;
  const char16_t* StatusColumnTypes;
  const char16_t* StatusColumnWidths;
  uint64_t Flags;  // PMFLAGS_*
};
FAR3_SIZE(PanelMode, 32, 48);
FAR3_AT(PanelMode, ColumnTitles, 8, 16);
FAR3_AT(PanelMode, StatusColumnTypes, 12, 24);
FAR3_AT(PanelMode, Flags, 24, 40);

struct OpenPanelInfo {
  size_t StructSize;
  void* hPanel;
  uint64_t Flags;  // OPIF_*
  const char16_t* HostFile;
  const char16_t* CurDir;
  const char16_t* Format;
  const char16_t* PanelTitle;
  const InfoPanelLine* InfoLines;
  size_t InfoLinesNumber;
  const char16_t* const* DescrFiles;
  size_t DescrFilesNumber;
  const PanelMode* PanelModesArray;
  size_t PanelModesNumber;
  intptr_t StartPanelMode;
  int32_t StartSortMode;
  intptr_t StartSortOrder;
  const void* KeyBar;
  const char16_t* ShortcutData;
  uint64_t FreeSize;
  UserDataItem UserData;
  void* Instance;
};
FAR3_SIZE(OpenPanelInfo, 104, 176);
FAR3_AT(OpenPanelInfo, Flags, 8, 16);
FAR3_AT(OpenPanelInfo, HostFile, 16, 24);
FAR3_AT(OpenPanelInfo, CurDir, 20, 32);
FAR3_AT(OpenPanelInfo, Format, 24, 40);
FAR3_AT(OpenPanelInfo, PanelTitle, 28, 48);
FAR3_AT(OpenPanelInfo, InfoLines, 32, 56);
FAR3_AT(OpenPanelInfo, InfoLinesNumber, 36, 64);
FAR3_AT(OpenPanelInfo, DescrFiles, 40, 72);
FAR3_AT(OpenPanelInfo, PanelModesArray, 48, 88);
FAR3_AT(OpenPanelInfo, PanelModesNumber, 52, 96);
FAR3_AT(OpenPanelInfo, StartPanelMode, 56, 104);
FAR3_AT(OpenPanelInfo, StartSortMode, 60, 112);
FAR3_AT(OpenPanelInfo, StartSortOrder, 64, 120);
FAR3_AT(OpenPanelInfo, KeyBar, 68, 128);
FAR3_AT(OpenPanelInfo, ShortcutData, 72, 136);
FAR3_AT(OpenPanelInfo, FreeSize, 80, 144);
FAR3_AT(OpenPanelInfo, UserData, 88, 152);
FAR3_AT(OpenPanelInfo, Instance, 96, 168);

struct GetFindDataInfo {
  size_t StructSize;
  void* hPanel;
  PluginPanelItem* PanelItem;  // set by the plug-in
  size_t ItemsNumber;          // set by the plug-in
  uint64_t OpMode;             // OPM_*
  void* Instance;
};
FAR3_SIZE(GetFindDataInfo, 32, 48);
FAR3_AT(GetFindDataInfo, PanelItem, 8, 16);
FAR3_AT(GetFindDataInfo, ItemsNumber, 12, 24);
FAR3_AT(GetFindDataInfo, OpMode, 16, 32);
FAR3_AT(GetFindDataInfo, Instance, 24, 40);

struct FreeFindDataInfo {
  size_t StructSize;
  void* hPanel;
  PluginPanelItem* PanelItem;
  size_t ItemsNumber;
  void* Instance;
};
FAR3_SIZE(FreeFindDataInfo, 20, 40);
FAR3_AT(FreeFindDataInfo, PanelItem, 8, 16);

struct SetDirectoryInfo {
  size_t StructSize;
  void* hPanel;
  const char16_t* Dir;
  intptr_t Reserved;
  uint64_t OpMode;  // OPM_*
  UserDataItem UserData;
  void* Instance;
};
FAR3_SIZE(SetDirectoryInfo, 40, 64);
FAR3_AT(SetDirectoryInfo, Dir, 8, 16);
FAR3_AT(SetDirectoryInfo, OpMode, 16, 32);
FAR3_AT(SetDirectoryInfo, Instance, 32, 56);

// The console's input record: only a key event's fields are read.
struct KeyEventRecord {
  int32_t bKeyDown;
  uint16_t wRepeatCount;
  uint16_t wVirtualKeyCode;
  uint16_t wVirtualScanCode;
  char16_t UnicodeChar;
  uint32_t dwControlKeyState;
};
struct InputRecord {
  uint16_t EventType;
  union {
    KeyEventRecord KeyEvent;
    uint8_t Other[16];
  } Event;
};
FAR3_SIZE(InputRecord, 20, 20);
FAR3_AT(InputRecord, Event.KeyEvent.wVirtualKeyCode, 10, 10);
FAR3_AT(InputRecord, Event.KeyEvent.dwControlKeyState, 16, 16);

struct ProcessPanelInputInfo {
  size_t StructSize;
  void* hPanel;
  InputRecord Rec;
  void* Instance;
};
FAR3_SIZE(ProcessPanelInputInfo, 32, 48);
FAR3_AT(ProcessPanelInputInfo, Rec, 8, 16);
FAR3_AT(ProcessPanelInputInfo, Instance, 28, 40);

struct ClosePanelInfo {
  size_t StructSize;
  void* hPanel;
  void* Instance;
};
FAR3_SIZE(ClosePanelInfo, 12, 24);

// ---- A call from a macro -------------------------------------------------------

struct FarMacroValue {
  int32_t Type;  // FMVT_*
  union {
    int64_t Integer;
    double Double;
    const char16_t* String;
    void* Pointer;
    struct {
      void* Data;
      size_t Size;
    } Binary;
  };
};
FAR3_SIZE(FarMacroValue, 16, 24);
FAR3_AT(FarMacroValue, String, 8, 8);

// A Lua text for the macro engine to run (MCTL_EXECSTRING), and its results.
struct MacroExecuteString {
  size_t StructSize;
  uint64_t Flags;
  const char16_t* SequenceText;
  size_t InCount;
  FarMacroValue* InValues;
  size_t OutCount;  // the macro's results, which the engine keeps until its next run
  const FarMacroValue* OutValues;
};
FAR3_SIZE(MacroExecuteString, 40, 56);
FAR3_AT(MacroExecuteString, Flags, 8, 8);
FAR3_AT(MacroExecuteString, SequenceText, 16, 16);
FAR3_AT(MacroExecuteString, InCount, 20, 24);
FAR3_AT(MacroExecuteString, InValues, 24, 32);
FAR3_AT(MacroExecuteString, OutCount, 28, 40);
FAR3_AT(MacroExecuteString, OutValues, 32, 48);

// OpenInfo.Data from a macro's Plugin.Call: the call's arguments.
struct OpenMacroInfo {
  size_t StructSize;
  size_t Count;
  const FarMacroValue* Values;
};
FAR3_SIZE(OpenMacroInfo, 12, 24);
FAR3_AT(OpenMacroInfo, Values, 8, 16);

// What OpenW returns to a macro: a first value of FMVT_PANEL opens its
// Pointer as the plug-in's panel.
struct FarMacroCall {
  size_t StructSize;
  size_t Count;
  FarMacroValue* Values;
  void(FAR3CALL* Callback)(void* data, FarMacroValue* values, size_t count);
  void* CallbackData;
};
FAR3_SIZE(FarMacroCall, 20, 40);
FAR3_AT(FarMacroCall, Values, 8, 16);
FAR3_AT(FarMacroCall, Callback, 12, 24);
FAR3_AT(FarMacroCall, CallbackData, 16, 32);

}  // namespace far3
