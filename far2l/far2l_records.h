// far2l's "wide" plug-in interface: the records and values this plug-in uses,
// in the host's own byte layout on x86-64 Linux. The host builds its plug-in
// records packed to 2 bytes (an 8-byte pointer after an int lands at offset
// 4); the WinPort console records keep their natural alignment. Text is
// UTF-32 wchar_t.
#pragma once

#include <cstddef>
#include <cstdint>

namespace far2l {

using HANDLE = void*;
using BOOL = int;
using DWORD = uint32_t;
using INT_PTR = intptr_t;
using LONG_PTR = intptr_t;

static_assert(sizeof(wchar_t) == 4, "far2l's text is UTF-32");
static_assert(sizeof(void*) == 8, "far2l plug-ins are 64-bit");

// ---- Values ----------------------------------------------------------------

// Panel handles for Control; INVALID_HANDLE_VALUE from OpenPluginW means that
// no plug-in panel was opened.
inline HANDLE PanelActive() {
  return reinterpret_cast<HANDLE>(intptr_t{-1});
}
inline HANDLE InvalidHandleValue() {
  return reinterpret_cast<HANDLE>(intptr_t{-1});
}

constexpr int FCTL_GETPANELINFO = 1;
constexpr int FCTL_REDRAWPANEL = 3;
constexpr int FCTL_SETSELECTION = 6;
constexpr int FCTL_GETPANELITEM = 22;
constexpr int FCTL_GETPANELDIR = 25;
constexpr int FCTL_BEGINSELECTION = 28;
constexpr int FCTL_ENDSELECTION = 29;

constexpr int PTYPE_FILEPANEL = 0;

constexpr DWORD PN_CMPNAMELIST = 0x10000;
constexpr DWORD PN_CHECKMASK = 0x30000;
constexpr DWORD PN_SHOWERRORMESSAGE = 0x2000000;

constexpr DWORD FHELP_SELFHELP = 0;  // a topic of the plug-in's own help file

constexpr int DI_DOUBLEBOX = 3;
constexpr int DI_EDIT = 4;
constexpr uint32_t DIF_HISTORY = 0x40000;
constexpr int DM_GETCONSTTEXTPTR = 64;

// The palette entries of a dialog's frame and of its edit field: Text takes
// palette indices, not attributes.
constexpr uint64_t COL_DIALOGBOX = 23;
constexpr uint64_t COL_DIALOGEDIT = 26;

// Major version in the high word, minor in the low: the oldest host whose
// interface this plug-in uses.
constexpr int FARMANAGERVERSION = 0x00020006;

constexpr uint16_t KEY_EVENT = 0x0001;
constexpr uint16_t MOUSE_EVENT = 0x0002;
constexpr uint16_t CALLBACK_EVENT = 0x0040;
constexpr DWORD RIGHT_ALT_PRESSED = 0x1;
constexpr DWORD LEFT_ALT_PRESSED = 0x2;
constexpr DWORD RIGHT_CTRL_PRESSED = 0x4;
constexpr DWORD LEFT_CTRL_PRESSED = 0x8;
constexpr uint16_t VK_BACK = 0x08;
constexpr uint16_t VK_TAB = 0x09;
constexpr uint16_t VK_RETURN = 0x0D;
constexpr uint16_t VK_ESCAPE = 0x1B;
constexpr DWORD INFINITE = 0xFFFFFFFF;

// ---- WinPort console records (natural alignment) ---------------------------

struct COORD {
  int16_t X;
  int16_t Y;
};
static_assert(sizeof(COORD) == 4 && alignof(COORD) == 2);
static_assert(offsetof(COORD, Y) == 2);

struct SMALL_RECT {
  int16_t Left;
  int16_t Top;
  int16_t Right;
  int16_t Bottom;
};
static_assert(sizeof(SMALL_RECT) == 8 && alignof(SMALL_RECT) == 2);
static_assert(offsetof(SMALL_RECT, Bottom) == 6);

struct KEY_EVENT_RECORD {
  BOOL bKeyDown;
  uint16_t wRepeatCount;
  uint16_t wVirtualKeyCode;
  uint16_t wVirtualScanCode;
  union {
    wchar_t UnicodeChar;
    char AsciiChar;
  } uChar;
  DWORD dwControlKeyState;
};
static_assert(sizeof(KEY_EVENT_RECORD) == 20 && alignof(KEY_EVENT_RECORD) == 4);
static_assert(offsetof(KEY_EVENT_RECORD, wRepeatCount) == 4);
static_assert(offsetof(KEY_EVENT_RECORD, wVirtualKeyCode) == 6);
static_assert(offsetof(KEY_EVENT_RECORD, wVirtualScanCode) == 8);
static_assert(offsetof(KEY_EVENT_RECORD, uChar) == 12);
static_assert(offsetof(KEY_EVENT_RECORD, dwControlKeyState) == 16);

struct MOUSE_EVENT_RECORD {
  COORD dwMousePosition;
  DWORD dwButtonState;
  DWORD dwControlKeyState;
  DWORD dwEventFlags;
};
static_assert(sizeof(MOUSE_EVENT_RECORD) == 16 && alignof(MOUSE_EVENT_RECORD) == 4);
static_assert(offsetof(MOUSE_EVENT_RECORD, dwButtonState) == 4);
static_assert(offsetof(MOUSE_EVENT_RECORD, dwControlKeyState) == 8);

// The event union holds a record of two pointers (a callback event), which
// puts it at offset 8; key and mouse events are read here.
struct INPUT_RECORD {
  uint16_t EventType;
  union {
    KEY_EVENT_RECORD KeyEvent;
    MOUSE_EVENT_RECORD MouseEvent;
    void* CallbackEvent[2];
  } Event;
};
static_assert(sizeof(INPUT_RECORD) == 32 && alignof(INPUT_RECORD) == 8);
static_assert(offsetof(INPUT_RECORD, Event) == 8);
static_assert(offsetof(INPUT_RECORD, Event.KeyEvent.bKeyDown) == 8);
static_assert(offsetof(INPUT_RECORD, Event.KeyEvent.wVirtualKeyCode) == 14);
static_assert(offsetof(INPUT_RECORD, Event.KeyEvent.uChar) == 20);
static_assert(offsetof(INPUT_RECORD, Event.KeyEvent.dwControlKeyState) == 24);
static_assert(offsetof(INPUT_RECORD, Event.MouseEvent.dwButtonState) == 12);

struct CONSOLE_SCREEN_BUFFER_INFO {
  COORD dwSize;
  COORD dwCursorPosition;
  uint64_t wAttributes;
  SMALL_RECT srWindow;
  COORD dwMaximumWindowSize;
};
static_assert(sizeof(CONSOLE_SCREEN_BUFFER_INFO) == 32 && alignof(CONSOLE_SCREEN_BUFFER_INFO) == 8);
static_assert(offsetof(CONSOLE_SCREEN_BUFFER_INFO, dwCursorPosition) == 4);
static_assert(offsetof(CONSOLE_SCREEN_BUFFER_INFO, wAttributes) == 8);
static_assert(offsetof(CONSOLE_SCREEN_BUFFER_INFO, srWindow) == 16);
static_assert(offsetof(CONSOLE_SCREEN_BUFFER_INFO, dwMaximumWindowSize) == 24);

struct FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
};
static_assert(sizeof(FILETIME) == 8 && alignof(FILETIME) == 4);

struct RECT {
  int left;
  int top;
  int right;
  int bottom;
};
static_assert(sizeof(RECT) == 16 && alignof(RECT) == 4);
static_assert(offsetof(RECT, bottom) == 12);

// ---- Plug-in records, packed to 2 bytes ------------------------------------

#pragma pack(push, 2)

struct PanelInfo {
  int PanelType;
  int Plugin;  // non-zero where a plug-in renders the panel
  RECT PanelRect;
  int ItemsNumber;
  int SelectedItemsNumber;
  int CurrentItem;
  int TopPanelItem;
  int Visible;
  int Focus;
  int ViewMode;
  int SortMode;
  uint32_t Flags;
  uint32_t Reserved;
};
static_assert(sizeof(PanelInfo) == 64 && alignof(PanelInfo) == 2);
static_assert(offsetof(PanelInfo, Plugin) == 4);
static_assert(offsetof(PanelInfo, PanelRect) == 8);
static_assert(offsetof(PanelInfo, ItemsNumber) == 24);
static_assert(offsetof(PanelInfo, SelectedItemsNumber) == 28);
static_assert(offsetof(PanelInfo, CurrentItem) == 32);
static_assert(offsetof(PanelInfo, TopPanelItem) == 36);
static_assert(offsetof(PanelInfo, Visible) == 40);
static_assert(offsetof(PanelInfo, Focus) == 44);
static_assert(offsetof(PanelInfo, ViewMode) == 48);
static_assert(offsetof(PanelInfo, SortMode) == 52);
static_assert(offsetof(PanelInfo, Flags) == 56);
static_assert(offsetof(PanelInfo, Reserved) == 60);

struct PanelRedrawInfo {
  int CurrentItem;
  int TopPanelItem;
};
static_assert(sizeof(PanelRedrawInfo) == 8 && alignof(PanelRedrawInfo) == 2);
static_assert(offsetof(PanelRedrawInfo, TopPanelItem) == 4);

struct FAR_FIND_DATA {
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  uint64_t nPhysicalSize;
  uint64_t nFileSize;
  DWORD dwFileAttributes;
  DWORD dwUnixMode;
  const wchar_t* lpwszFileName;  // the name alone, no path
};
static_assert(sizeof(FAR_FIND_DATA) == 56 && alignof(FAR_FIND_DATA) == 2);
static_assert(offsetof(FAR_FIND_DATA, ftLastAccessTime) == 8);
static_assert(offsetof(FAR_FIND_DATA, ftLastWriteTime) == 16);
static_assert(offsetof(FAR_FIND_DATA, nPhysicalSize) == 24);
static_assert(offsetof(FAR_FIND_DATA, nFileSize) == 32);
static_assert(offsetof(FAR_FIND_DATA, dwFileAttributes) == 40);
static_assert(offsetof(FAR_FIND_DATA, dwUnixMode) == 44);
static_assert(offsetof(FAR_FIND_DATA, lpwszFileName) == 48);

// FCTL_GETPANELITEM writes this record followed by the strings it points to,
// all in the caller's buffer.
struct PluginPanelItem {
  FAR_FIND_DATA FindData;
  uintptr_t UserData;
  uint32_t Flags;
  uint32_t NumberOfLinks;
  const wchar_t* Description;  // null where the host has read none
  const wchar_t* Owner;
  const wchar_t* Group;
  const wchar_t* const* CustomColumnData;
  int CustomColumnNumber;
  uint32_t CRC32;
  uintptr_t Reserved[2];
};
static_assert(sizeof(PluginPanelItem) == 128 && alignof(PluginPanelItem) == 2);
static_assert(offsetof(PluginPanelItem, UserData) == 56);
static_assert(offsetof(PluginPanelItem, Flags) == 64);
static_assert(offsetof(PluginPanelItem, NumberOfLinks) == 68);
static_assert(offsetof(PluginPanelItem, Description) == 72);
static_assert(offsetof(PluginPanelItem, Owner) == 80);
static_assert(offsetof(PluginPanelItem, Group) == 88);
static_assert(offsetof(PluginPanelItem, CustomColumnData) == 96);
static_assert(offsetof(PluginPanelItem, CustomColumnNumber) == 104);
static_assert(offsetof(PluginPanelItem, CRC32) == 108);
static_assert(offsetof(PluginPanelItem, Reserved) == 112);

struct FarMenuItem {
  const wchar_t* Text;
  int Selected;
  int Checked;
  int Separator;
};
static_assert(sizeof(FarMenuItem) == 20 && alignof(FarMenuItem) == 2);
static_assert(offsetof(FarMenuItem, Selected) == 8);
static_assert(offsetof(FarMenuItem, Checked) == 12);
static_assert(offsetof(FarMenuItem, Separator) == 16);

struct FarDialogItem {
  int Type;
  int X1;
  int Y1;
  int X2;
  int Y2;
  int Focus;
  union {
    uintptr_t Reserved;
    int Selected;
    const wchar_t* History;  // with DIF_HISTORY
  } Param;
  uint32_t Flags;
  int DefaultButton;
  const wchar_t* PtrData;  // the initial text
  size_t MaxLen;           // 0: unlimited
};
static_assert(sizeof(FarDialogItem) == 56 && alignof(FarDialogItem) == 2);
static_assert(offsetof(FarDialogItem, X1) == 4);
static_assert(offsetof(FarDialogItem, Y2) == 16);
static_assert(offsetof(FarDialogItem, Focus) == 20);
static_assert(offsetof(FarDialogItem, Param) == 24);
static_assert(offsetof(FarDialogItem, Flags) == 32);
static_assert(offsetof(FarDialogItem, DefaultButton) == 36);
static_assert(offsetof(FarDialogItem, PtrData) == 40);
static_assert(offsetof(FarDialogItem, MaxLen) == 48);

struct PluginInfo {
  int StructSize;
  uint32_t Flags;
  const wchar_t* const* DiskMenuStrings;
  int* Reserved0;
  int DiskMenuStringsNumber;
  const wchar_t* const* PluginMenuStrings;
  int PluginMenuStringsNumber;
  const wchar_t* const* PluginConfigStrings;
  int PluginConfigStringsNumber;
  const wchar_t* CommandPrefix;
  uint32_t SysID;
};
static_assert(sizeof(PluginInfo) == 64 && alignof(PluginInfo) == 2);
static_assert(offsetof(PluginInfo, Flags) == 4);
static_assert(offsetof(PluginInfo, DiskMenuStrings) == 8);
static_assert(offsetof(PluginInfo, Reserved0) == 16);
static_assert(offsetof(PluginInfo, DiskMenuStringsNumber) == 24);
static_assert(offsetof(PluginInfo, PluginMenuStrings) == 28);
static_assert(offsetof(PluginInfo, PluginMenuStringsNumber) == 36);
static_assert(offsetof(PluginInfo, PluginConfigStrings) == 40);
static_assert(offsetof(PluginInfo, PluginConfigStringsNumber) == 48);
static_assert(offsetof(PluginInfo, CommandPrefix) == 52);
static_assert(offsetof(PluginInfo, SysID) == 60);

// ---- The startup record ----------------------------------------------------

using FarMenuFn = int (*)(INT_PTR PluginNumber, int X, int Y, int MaxHeight, DWORD Flags,
                          const wchar_t* Title, const wchar_t* Bottom, const wchar_t* HelpTopic,
                          const int* BreakKeys, int* BreakCode, const FarMenuItem* Item,
                          int ItemsNumber);
using FarGetMsgFn = const wchar_t* (*)(INT_PTR PluginNumber, int MsgId);
using FarControlFn = int (*)(HANDLE hPlugin, int Command, int Param1, LONG_PTR Param2);
using FarMessageFn = intptr_t (*)(INT_PTR PluginNumber, DWORD Flags, const wchar_t* HelpTopic,
                                  const wchar_t* const* Items, int ItemsNumber, int ButtonsNumber);
using FarSaveScreenFn = HANDLE (*)(int X1, int Y1, int X2, int Y2);
using FarRestoreScreenFn = void (*)(HANDLE hScreen);
using FarCmpNameFn = int (*)(const wchar_t* Pattern, const wchar_t* String, int SkipPath);
using FarTextFn = void (*)(int X, int Y, uint64_t Color, const wchar_t* Str);
using FarWindowProc = LONG_PTR (*)(HANDLE hDlg, int Msg, int Param1, LONG_PTR Param2);
using FarDialogInitFn = HANDLE (*)(INT_PTR PluginNumber, int X1, int Y1, int X2, int Y2,
                                   const wchar_t* HelpTopic, FarDialogItem* Item,
                                   unsigned ItemsNumber, DWORD Reserved, DWORD Flags,
                                   FarWindowProc DlgProc, LONG_PTR Param);
using FarDialogRunFn = int (*)(HANDLE hDlg);
using FarDialogFreeFn = void (*)(HANDLE hDlg);
using FarSendDlgMessageFn = LONG_PTR (*)(HANDLE hDlg, int Msg, int Param1, LONG_PTR Param2);
// Operations this plug-in never calls keep their slot as an opaque pointer.
using FarUnusedFn = void*;
using FarShowHelpFn = BOOL (*)(const wchar_t* ModuleName, const wchar_t* Topic, DWORD Flags);

// The standard functions: a NUL-terminated copy of the clipboard's text from
// the heap (null without one), to be given back to DeleteBuffer; the
// conversion of Line[StartPos, EndPos) to the other keyboard layout in place
// by the host's XLat table; the mask service.
using FarPasteFromClipboardFn = wchar_t* (*)();
using FarDeleteBufferFn = void (*)(void* Buffer);
using FarXLatFn = wchar_t* (*)(wchar_t* Line, int StartPos, int EndPos, DWORD Flags);
using FarProcessNameFn = int (*)(const wchar_t* Param1, wchar_t* Param2, DWORD Size, DWORD Flags);

struct FarStandardFunctions {
  int StructSize;
  FarUnusedFn atoi, atoi64, itoa, itoa64, sscanf, qsort, bsearch, qsortex, snprintf;
  uintptr_t Reserved[7];
  const wchar_t* BoxSymbols;
  FarUnusedFn LIsLower, LIsUpper, LIsAlpha, LIsAlphanum, LUpper, LLower, LUpperBuf, LLowerBuf;
  FarUnusedFn LStrupr, LStrlwr, LStricmp, LStrnicmp, Unquote, LTrim, RTrim, Trim, TruncStr;
  FarUnusedFn TruncPathStr, QuoteSpaceOnly, PointToName, GetPathRoot, AddEndSlash;
  FarUnusedFn CopyToClipboard;
  FarPasteFromClipboardFn PasteFromClipboard;
  FarUnusedFn FarKeyToName, FarNameToKey, FarInputRecordToKey;
  FarXLatFn XLat;
  FarUnusedFn GetFileOwner, GetNumberOfLinks, FarRecursiveSearch, MkTemp;
  FarDeleteBufferFn DeleteBuffer;
  FarProcessNameFn ProcessName;
  // MkLink to GetDecimalSeparator
  FarUnusedFn Later[27];
};
static_assert(sizeof(FarStandardFunctions) == 628 && alignof(FarStandardFunctions) == 2);
static_assert(offsetof(FarStandardFunctions, atoi) == 4);
static_assert(offsetof(FarStandardFunctions, Reserved) == 76);
static_assert(offsetof(FarStandardFunctions, BoxSymbols) == 132);
static_assert(offsetof(FarStandardFunctions, LIsLower) == 140);
static_assert(offsetof(FarStandardFunctions, CopyToClipboard) == 316);
static_assert(offsetof(FarStandardFunctions, PasteFromClipboard) == 324);
static_assert(offsetof(FarStandardFunctions, FarInputRecordToKey) == 348);
static_assert(offsetof(FarStandardFunctions, XLat) == 356);
static_assert(offsetof(FarStandardFunctions, MkTemp) == 388);
static_assert(offsetof(FarStandardFunctions, DeleteBuffer) == 396);
static_assert(offsetof(FarStandardFunctions, ProcessName) == 404);
static_assert(offsetof(FarStandardFunctions, Later) == 412);

struct PluginStartupInfo {
  int StructSize;
  const wchar_t* ModuleName;
  INT_PTR ModuleNumber;
  const wchar_t* RootKey;
  FarMenuFn Menu;
  FarMessageFn Message;
  FarGetMsgFn GetMsg;
  FarControlFn Control;
  FarSaveScreenFn SaveScreen;
  FarRestoreScreenFn RestoreScreen;
  FarUnusedFn GetDirList;
  FarUnusedFn GetPluginDirList;
  FarUnusedFn FreeDirList;
  FarUnusedFn FreePluginDirList;
  FarUnusedFn Viewer;
  FarUnusedFn Editor;
  FarCmpNameFn CmpName;
  FarTextFn Text;
  FarUnusedFn EditorControl;
  // The host's standard functions, in a record of the caller's that lives
  // no longer than the call: Start copies it.
  const FarStandardFunctions* FSF;
  FarShowHelpFn ShowHelp;
  FarUnusedFn AdvControl;
  FarUnusedFn AdvControlAsync;
  FarUnusedFn InputBox;
  FarDialogInitFn DialogInit;
  FarDialogRunFn DialogRun;
  FarDialogFreeFn DialogFree;
  FarSendDlgMessageFn SendDlgMessage;
  FarUnusedFn DefDlgProc;
  uintptr_t Reserved;
  FarUnusedFn ViewerControl;
  FarUnusedFn PluginsControl;
  FarUnusedFn FileFilterControl;
  FarUnusedFn RegExpControl;
  FarUnusedFn ColorDialog;
};
static_assert(sizeof(PluginStartupInfo) == 276 && alignof(PluginStartupInfo) == 2);
static_assert(offsetof(PluginStartupInfo, ModuleName) == 4);
static_assert(offsetof(PluginStartupInfo, ModuleNumber) == 12);
static_assert(offsetof(PluginStartupInfo, RootKey) == 20);
static_assert(offsetof(PluginStartupInfo, Menu) == 28);
static_assert(offsetof(PluginStartupInfo, Message) == 36);
static_assert(offsetof(PluginStartupInfo, GetMsg) == 44);
static_assert(offsetof(PluginStartupInfo, Control) == 52);
static_assert(offsetof(PluginStartupInfo, SaveScreen) == 60);
static_assert(offsetof(PluginStartupInfo, RestoreScreen) == 68);
static_assert(offsetof(PluginStartupInfo, GetDirList) == 76);
static_assert(offsetof(PluginStartupInfo, GetPluginDirList) == 84);
static_assert(offsetof(PluginStartupInfo, FreeDirList) == 92);
static_assert(offsetof(PluginStartupInfo, FreePluginDirList) == 100);
static_assert(offsetof(PluginStartupInfo, Viewer) == 108);
static_assert(offsetof(PluginStartupInfo, Editor) == 116);
static_assert(offsetof(PluginStartupInfo, CmpName) == 124);
static_assert(offsetof(PluginStartupInfo, Text) == 132);
static_assert(offsetof(PluginStartupInfo, EditorControl) == 140);
static_assert(offsetof(PluginStartupInfo, FSF) == 148);
static_assert(offsetof(PluginStartupInfo, ShowHelp) == 156);
static_assert(offsetof(PluginStartupInfo, AdvControl) == 164);
static_assert(offsetof(PluginStartupInfo, AdvControlAsync) == 172);
static_assert(offsetof(PluginStartupInfo, InputBox) == 180);
static_assert(offsetof(PluginStartupInfo, DialogInit) == 188);
static_assert(offsetof(PluginStartupInfo, DialogRun) == 196);
static_assert(offsetof(PluginStartupInfo, DialogFree) == 204);
static_assert(offsetof(PluginStartupInfo, SendDlgMessage) == 212);
static_assert(offsetof(PluginStartupInfo, DefDlgProc) == 220);
static_assert(offsetof(PluginStartupInfo, Reserved) == 228);
static_assert(offsetof(PluginStartupInfo, ViewerControl) == 236);
static_assert(offsetof(PluginStartupInfo, PluginsControl) == 244);
static_assert(offsetof(PluginStartupInfo, FileFilterControl) == 252);
static_assert(offsetof(PluginStartupInfo, RegExpControl) == 260);
static_assert(offsetof(PluginStartupInfo, ColorDialog) == 268);

#pragma pack(pop)

// ---- WinPort console functions, exported by the far2l executable ----------

// A null handle means the host's one console, input queue and screen alike.
struct ConsoleFunctions {
  // Copies events without removing them; never waits.
  BOOL (*PeekConsoleInput)(HANDLE input, INPUT_RECORD* buffer, DWORD length, DWORD* read);
  // Removes events, waiting while the queue is empty.
  BOOL (*ReadConsoleInput)(HANDLE input, INPUT_RECORD* buffer, DWORD length, DWORD* read);
  // True once the queue holds an event, within timeout milliseconds.
  BOOL (*WaitConsoleInput)(HANDLE input, DWORD timeout);
  BOOL (*GetConsoleScreenBufferInfo)(HANDLE output, CONSOLE_SCREEN_BUFFER_INFO* info);
  BOOL (*SetConsoleCursorPosition)(HANDLE output, COORD position);  // COORD by value
};

}  // namespace far2l
