// far2l's records of a plug-in's own panel (the results of a search), and
// the values of the find dialog, its messages and a call from a macro, in
// the host's layout: packed to 2 bytes, as in far2l_records.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "far2l/far2l_records.h"

namespace far2l {

// ---- Values ----------------------------------------------------------------

constexpr int FCTL_SETPANELDIR = 10;
constexpr int FCTL_GETCURRENTPANELITEM = 24;

// OpenPluginW's first argument from a macro's callplugin: with a string
// argument, OPEN_FROMMACROSTRING too, and the macro area in the low bits.
constexpr int OPEN_FROMMACRO = 0x10000;
constexpr int OPEN_FROMMACROSTRING = 0x20000;

constexpr DWORD OPIF_USEFILTER = 0x1;
constexpr DWORD OPIF_USESORTGROUPS = 0x2;
constexpr DWORD OPIF_USEHIGHLIGHTING = 0x4;
constexpr DWORD OPIF_ADDDOTS = 0x8;
constexpr DWORD OPIF_REALNAMES = 0x20;
constexpr DWORD OPIF_SHOWPRESERVECASE = 0x100;
constexpr int OPM_FIND = 0x2;

constexpr DWORD FMSG_WARNING = 0x1;
constexpr DWORD FMSG_LEFTALIGN = 0x10;
constexpr DWORD FMSG_MB_OK = 0x10000;
constexpr DWORD FMSG_MB_YESNO = 0x40000;

constexpr int DI_TEXT = 0;
constexpr int DI_BUTTON = 7;
constexpr int DI_CHECKBOX = 8;
constexpr uint32_t DIF_CENTERGROUP = 0x4000;
constexpr uint32_t DIF_SEPARATOR = 0x10000;
constexpr int DM_GETCHECK = 25;
constexpr int BSTATE_CHECKED = 1;

constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;

// ProcessKeyW: the key's virtual code, PKF_PREPROCESS added on the host's
// first of two calls; the modifiers apart.
constexpr int PKF_CONTROL = 0x1;
constexpr int PKF_ALT = 0x2;
constexpr int PKF_SHIFT = 0x4;
constexpr int PKF_PREPROCESS = 0x80000;
constexpr int VK_PRIOR = 0x21;

// ---- Records, packed to 2 bytes --------------------------------------------

#pragma pack(push, 2)

struct InfoPanelLine {
  const wchar_t* Text;
  const wchar_t* Data;
  int Separator;
};
static_assert(sizeof(InfoPanelLine) == 20 && alignof(InfoPanelLine) == 2);
static_assert(offsetof(InfoPanelLine, Separator) == 16);

struct PanelMode {
  const wchar_t* ColumnTypes;
  const wchar_t* ColumnWidths;
  const wchar_t* const* ColumnTitles;
  int FullScreen;
  int DetailedStatus;
  int AlignExtensions;
  int CaseConversion;
  const wchar_t* StatusColumnTypes;
  const wchar_t* StatusColumnWidths;
  DWORD Reserved[2];
};
static_assert(sizeof(PanelMode) == 64 && alignof(PanelMode) == 2);
static_assert(offsetof(PanelMode, FullScreen) == 24);
static_assert(offsetof(PanelMode, StatusColumnTypes) == 40);
static_assert(offsetof(PanelMode, Reserved) == 56);

struct OpenPluginInfo {
  int StructSize;
  DWORD Flags;  // OPIF_*
  const wchar_t* HostFile;
  const wchar_t* CurDir;
  const wchar_t* Format;
  const wchar_t* PanelTitle;
  const InfoPanelLine* InfoLines;
  int InfoLinesNumber;
  const wchar_t* const* DescrFiles;
  int DescrFilesNumber;
  const PanelMode* PanelModesArray;
  int PanelModesNumber;
  int StartPanelMode;
  int StartSortMode;
  int StartSortOrder;
  const void* KeyBar;
  const wchar_t* ShortcutData;
  const wchar_t* CurURL;
  const wchar_t* CurPath;
  long Reserved;
};
static_assert(sizeof(OpenPluginInfo) == 128 && alignof(OpenPluginInfo) == 2);
static_assert(offsetof(OpenPluginInfo, HostFile) == 8);
static_assert(offsetof(OpenPluginInfo, PanelTitle) == 32);
static_assert(offsetof(OpenPluginInfo, InfoLines) == 40);
static_assert(offsetof(OpenPluginInfo, InfoLinesNumber) == 48);
static_assert(offsetof(OpenPluginInfo, PanelModesArray) == 64);
static_assert(offsetof(OpenPluginInfo, PanelModesNumber) == 72);
static_assert(offsetof(OpenPluginInfo, StartPanelMode) == 76);
static_assert(offsetof(OpenPluginInfo, KeyBar) == 88);
static_assert(offsetof(OpenPluginInfo, Reserved) == 120);

#pragma pack(pop)

}  // namespace far2l
