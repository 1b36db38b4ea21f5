// The 1.x host's side of the rules and commands: its snapshot, box colours,
// menu and mask dialog.
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
constexpr BoxColors kFallbackColors = {FallbackAttribute(Ink::kFrame),
                                       FallbackAttribute(Ink::kField)};

constinit BoxColors boxColors = kFallbackColors;

// ---- Menus and dialogs -----------------------------------------------------

// Copies str into a record's inline text of size units, cut to fit.
template <size_t size>
void CopyInto(char (&to)[size], const char* str) {
  size_t n = 0;
  for (; n + 1 < size && str[n] != '\0'; ++n) to[n] = str[n];
  to[n] = '\0';
}

}  // namespace

// ---- The panel -------------------------------------------------------------

PanelView<char> Far1::ViewOf(const PanelInfo& snapshot) {
  PanelView<char> view{};
  // A count of zero or below is an empty panel: read as unsigned it would
  // send a scan far past the host's array.
  view.count = snapshot.ItemsNumber > 0 ? static_cast<uint32_t>(snapshot.ItemsNumber) : 0;
  view.current = snapshot.CurrentItem;
  view.top = snapshot.TopPanelItem;
  view.rect = {snapshot.PanelRect.left, snapshot.PanelRect.top, snapshot.PanelRect.right,
               snapshot.PanelRect.bottom};
  const PluginPanelItem* items = snapshot.PanelItems;
  if (items == nullptr) {
    view.count = 0;  // no array: nothing to read, whatever the count says
    return view;
  }
  view.descriptions = {&items->Description, sizeof *items, true, view.count};
  view.names = {items->FindData.cFileName, sizeof *items, false, view.count};
  view.shortNames = {items->FindData.cAlternateFileName, sizeof *items, false, view.count};
  view.sizes = {&items->FindData.nFileSizeHigh, sizeof *items, true};
  view.folder = snapshot.Plugin ? nullptr : snapshot.CurDir;
  return view;
}

bool Far1::TakeSnapshot(PanelInfo* snapshot, PanelView<char>* view) {
  if (!host::SnapshotFilePanel(snapshot)) return false;
  *view = ViewOf(*snapshot);
  return true;
}

// ---- The speed search's box and keys ---------------------------------------

// A palette that cannot be read, is longer than 80 bytes or too short to hold
// both colours gives the fallback colours: bytes never read are never used.
void Far1::LoadBoxColors() {
  uint8_t palette[kPaletteReadSize];
  int size = sys::ReadUserRegistryValue(texts::kPaletteKey, texts::kPaletteValue, palette,
                                        kPaletteReadSize);
  boxColors = size <= kPaletteTextByte
                  ? kFallbackColors
                  : BoxColors{palette[kPaletteFrameByte], palette[kPaletteTextByte]};
}

void Far1::Text(int x, int y, Ink ink, const char* str) {
  host::Text(x, y, ink == Ink::kFrame ? boxColors.frame : boxColors.field, str);
}

// ---- The menu and the mask dialog ------------------------------------------

int Far1::Menu(const char* title, const char* const* items, int count) {
  if (count < 0 || count > kMenuItemsMax) return -1;
  FarMenuItem rows[kMenuItemsMax] = {};
  for (int i = 0; i < count; ++i) CopyInto(rows[i].Text, items[i]);
  return host::Menu(title, rows, count);
}

// The host writes the edited text back into the field's Data, also when the
// dialog is cancelled; a field filled to the brim is cut by KeepMask.
bool Far1::RunMaskDialog(const char* title, KeptMask<char>* mask) {
  FarDialogItem items[kMaskDialogRows];
  for (int i = 0; i < kMaskDialogRows; ++i)
    items[i] = DialogRecord<FarDialogItem>(kMaskDialog[i], kMaskForm<char>.history);
  CopyInto(items[kMaskFrame].Data, title);
  CopyInto(items[kMaskField].Data, mask->text);
  const int closedBy = host::Dialog(-1, -1, kMaskDialogWidth, kMaskDialogHeight, kSelectHelpTopic,
                                    items, kMaskDialogRows);
  KeepMask(mask, items[kMaskField].Data);
  return closedBy == kMaskField;
}

// ---- Description files -------------------------------------------------------

descriptions::HostSettings<char> Far1::ReadDescriptionSettings() {
  static constinit char names[1024] = {};
  const int size =
      sys::ReadUserRegistryValue(texts::kDescriptionsKey, texts::kDescriptionNamesValue,
                                 reinterpret_cast<uint8_t*>(names), sizeof names - 1);
  uint32_t ansi = 0;
  const int ansiSize =
      sys::ReadUserRegistryValue(texts::kDescriptionsKey, texts::kAnsiByDefaultValue,
                                 reinterpret_cast<uint8_t*>(&ansi), sizeof ansi);
  descriptions::HostSettings<char> settings{nullptr, ansiSize == sizeof ansi && ansi != 0};
  if (size >= 0) {
    names[size] = '\0';  // a stored string need not end in a NUL
    settings.fileNames = names;
  }
  return settings;
}
