// The 1.x host's side of the speed search and the selection commands.
#include "far1/far1_gateway.h"

namespace {

// ---- Colours ---------------------------------------------------------------

struct BoxColors {
  int frame;
  int field;
};

// Frame and text colour of the host's dialogs inside its palette.
constexpr int kPaletteFrameByte = 23;
constexpr int kPaletteTextByte = 26;
constexpr uint32_t kPaletteReadSize = 80;
constexpr BoxColors kFixedColors = {0x70, 0x30};

constinit BoxColors boxColors = kFixedColors;

// ---- Console handles, fetched once for the module's life --------------------

constexpr uint32_t kInputFetched = 1;
constexpr uint32_t kOutputFetched = 2;
constinit uint32_t fetchedHandles = 0;
constinit sys::Handle consoleInput = nullptr;
constinit sys::Handle consoleOutput = nullptr;

sys::Handle ConsoleOutput() {
  if (!(fetchedHandles & kOutputFetched)) {
    consoleOutput = sys::StdOutput();
    fetchedHandles |= kOutputFetched;
  }
  return consoleOutput;
}

sys::Handle ConsoleInput() {
  if (!(fetchedHandles & kInputFetched)) {
    consoleInput = sys::StdInput();
    fetchedHandles |= kInputFetched;
  }
  return consoleInput;
}

// ---- The mask dialog -------------------------------------------------------

enum DialogItemIndex { kFrameItem, kMaskItem, kDialogItemCount };

// Kept for the module's life and never re-initialised, so the edit field
// reopens with whatever mask the last dialog of either command left in it.
constinit FarDialogItem dialogItems[kDialogItemCount] = {
    {.Type = DI_DOUBLEBOX,
     .X1 = 3,
     .Y1 = 1,
     .X2 = 41,
     .Y2 = 3,
     .Focus = 0,
     .Selected = 0,
     .Flags = 0,
     .DefaultButton = 0,
     .Data = ""},
    {.Type = DI_EDIT,
     .X1 = 5,
     .Y1 = 2,
     .X2 = 39,
     .Y2 = 3,
     .Focus = 1,
     .History = texts::kSelectHistory,
     .Flags = DIF_HISTORY,
     .DefaultButton = 1,
     .Data = ""},
};

// X1 and Y1 of -1 have the host centre the dialog; X2 and Y2 are then its size.
constexpr int kDialogWidth = 45;
constexpr int kDialogHeight = 5;

}  // namespace

// ---- The panel -------------------------------------------------------------

PanelView<char> Far1::ViewOf(const PanelInfo& record) {
  PanelView<char> view{};
  // A count of zero or below is an empty panel: read as unsigned it would
  // send a scan far past the host's array.
  view.count = record.ItemsNumber > 0 ? static_cast<uint32_t>(record.ItemsNumber) : 0;
  view.current = record.CurrentItem;
  view.top = record.TopPanelItem;
  view.rect = {record.PanelRect.left, record.PanelRect.top, record.PanelRect.right,
               record.PanelRect.bottom};
  const PluginPanelItem* items = record.PanelItems;
  if (items == nullptr) {
    view.count = 0;  // no array: nothing to read, whatever the count says
    return view;
  }
  view.descriptions = {&items->Description, sizeof *items, true, view.count};
  view.names = {items->FindData.cFileName, sizeof *items, false, view.count};
  view.sizes = {&items->FindData.nFileSizeHigh, sizeof *items, true};
  view.folder = record.Plugin ? nullptr : record.CurDir;
  return view;
}

bool Far1::TakeSnapshot(PanelInfo* record, PanelView<char>* view) {
  if (!host::SnapshotFilePanel(record)) return false;
  *view = ViewOf(*record);
  return true;
}

// ---- The speed search's box and keys ---------------------------------------

// A palette that cannot be read, is longer than 80 bytes or too short to hold
// both colours gives the fixed colours: bytes never read are never used.
void Far1::LoadBoxColors() {
  uint8_t palette[kPaletteReadSize];
  int size = sys::ReadUserRegistryValue(texts::kPaletteKey, texts::kPaletteValue, palette,
                                        kPaletteReadSize);
  boxColors = size <= kPaletteTextByte
                  ? kFixedColors
                  : BoxColors{palette[kPaletteFrameByte], palette[kPaletteTextByte]};
}

void Far1::Text(int x, int y, Ink ink, const char* str) {
  host::Text(x, y, ink == Ink::kFrame ? boxColors.frame : boxColors.field, str);
}

bool Far1::ScreenRows(int* rows) {
  return sys::ScreenBufferHeight(ConsoleOutput(), rows);
}

void Far1::SetCursor(int column, int row) {
  sys::SetCursorPosition(ConsoleOutput(), column, row);
}

bool Far1::PeekKey(sys::ConsoleEvent* event) {
  return sys::PeekInput(ConsoleInput(), event);
}

bool Far1::RemoveKey() {
  return sys::RemoveInput(ConsoleInput());
}

// ---- Selection -------------------------------------------------------------

// Shows the dialog with the command's title. Returns the mask the user
// confirmed, or nullptr when the dialog was cancelled.
const char* Far1::AskForMask(bool unselect) {
  sys::FormatText(dialogItems[kFrameItem].Data, texts::kSelectTitleFormat,
                  unselect ? texts::kUnselectWord : texts::kSelectWord);
  int closedBy = host::Dialog(-1, -1, kDialogWidth, kDialogHeight, texts::kSelectHelpTopic,
                              dialogItems, kDialogItemCount);
  if (closedBy != kMaskItem) return nullptr;
  // The host writes the edited text back; even if it filled the whole
  // buffer, the mask ends inside it.
  char* mask = dialogItems[kMaskItem].Data;
  mask[sizeof dialogItems[kMaskItem].Data - 1] = '\0';
  return mask;
}

// The host's own list, or null where it keeps none.
const char* Far1::DescriptionFileNames() {
  static constinit char names[1024] = {};
  int size = sys::ReadUserRegistryValue(texts::kDescriptionsKey, texts::kDescriptionNamesValue,
                                        reinterpret_cast<uint8_t*>(names), sizeof names - 1);
  if (size <= 0) return nullptr;
  names[size] = '\0';  // a stored string need not end in a NUL
  return names;
}
