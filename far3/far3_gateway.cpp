// The current-generation gateway: the saved startup record and the thin
// wrappers over the host's panel, screen, matcher, selection and language
// services.
#include "far3/far3_gateway.h"

#include "far3/far3_ids.h"

namespace {

// The host's record is not promised to outlive SetStartupInfoW, nor the
// standard functions it points to: both are copied, and the copy's FSF points
// at the copy of the functions.
constinit far3::PluginStartupInfo startupInfo{};
constinit far3::FarStandardFunctions standardFunctions{};

// The box's two colours, read from the host's palette at each speed search.
constinit far3::FarColor frameColor{};
constinit far3::FarColor fieldColor{};

// A classic console attribute byte as the host's colour record.
far3::FarColor Indexed(uint8_t attribute) {
  far3::FarColor color{};
  color.Flags = far3::FCF_FG_INDEX | far3::FCF_BG_INDEX;
  color.ForegroundColor = far3::kOpaque | (attribute & 0x0Fu);
  color.BackgroundColor = far3::kOpaque | (attribute >> 4);
  return color;
}

far3::FarColor PaletteColor(intptr_t index, uint8_t fallback) {
  far3::FarColor color{};
  if (far3::Host().AdvControl(&far3::kPluginGuid, far3::ACTL_GETCOLOR, index, &color) == 0) {
    return Indexed(fallback);
  }
  return color;
}

intptr_t ControlActive(int command, intptr_t param1, void* param2) {
  return far3::Host().PanelControl(far3::ActivePanel(), command, param1, param2);
}

}  // namespace

namespace far3 {

void SaveStartupInfo(const PluginStartupInfo* info) {
  startupInfo = *info;
  standardFunctions = *info->FSF;
  startupInfo.FSF = &standardFunctions;
}

const PluginStartupInfo& Host() {
  return startupInfo;
}

}  // namespace far3

// ---- Panel -----------------------------------------------------------------------

namespace {

// The name goes unchanged through every compare mode; the host only wants
// it writable for its other modes.
size_t ProcessName(const char16_t* mask, const char16_t* name, uint64_t mode) {
  return far3::Host().FSF->ProcessName(mask, const_cast<char16_t*>(name), 0, mode);
}

}  // namespace

bool Far3::CmpName(const Char* mask, const Char* str) {
  return ProcessName(mask, str, far3::PN_CMPNAME) != 0;
}

// The top line is a count in this interface: one above the first item is
// the first item.
void Far3::MoveCursor(PanelSnapshot*, int current, int top) {
  far3::PanelRedrawInfo info{sizeof info, static_cast<size_t>(current),
                             static_cast<size_t>(top < 0 ? 0 : top)};
  ControlActive(far3::FCTL_REDRAWPANEL, 0, &info);
}

void Far3::RedrawPanel() {
  ControlActive(far3::FCTL_REDRAWPANEL, 0, nullptr);
}

// ---- Search box and console ------------------------------------------------------------

void Far3::LoadBoxColors() {
  frameColor = PaletteColor(far3::COL_DIALOGBOX, FallbackAttribute(Ink::kFrame));
  fieldColor = PaletteColor(far3::COL_DIALOGEDIT, FallbackAttribute(Ink::kField));
}

void Far3::Text(int x, int y, Ink ink, const Char* str) {
  far3::Host().Text(x, y, ink == Ink::kFrame ? &frameColor : &fieldColor, str);
}

void Far3::FlushText() {
  far3::Host().Text(0, 0, nullptr, nullptr);
}

uint32_t Far3::ClipboardLine(Char* out, uint32_t capacity) {
  const size_t whole = far3::Host().FSF->PasteFromClipboard(far3::FCT_ANY, out, capacity);
  const uint32_t copied = whole < capacity ? static_cast<uint32_t>(whole) : capacity;
  uint32_t length = 0;
  while (length < copied && out[length] != 0 && out[length] != '\r' && out[length] != '\n') {
    ++length;
  }
  return length;
}

void Far3::ShowHelp(const Char* topic) {
  far3::Host().ShowHelp(far3::Host().ModuleName, topic, far3::FHELP_SELFHELP);
}

// ---- Selection -------------------------------------------------------------------------

bool Far3::CheckMask(const Char* mask) {
  return ProcessName(mask, u"", far3::PN_CHECKMASK | far3::PN_SHOWERRORMESSAGE) != 0;
}

bool Far3::MatchesMask(const Char* mask, const Char* str) {
  return ProcessName(mask, str, far3::PN_CMPNAMELIST) != 0;
}

void Far3::BeginSelection(PanelSnapshot*) {
  ControlActive(far3::FCTL_BEGINSELECTION, 0, nullptr);
}

void Far3::SetSelected(PanelSnapshot*, uint32_t index, bool selected) {
  ControlActive(far3::FCTL_SETSELECTION, index, reinterpret_cast<void*>(intptr_t{selected}));
}

void Far3::EndSelection(PanelSnapshot*) {
  ControlActive(far3::FCTL_ENDSELECTION, 0, nullptr);
  RedrawPanel();
}

// ---- Texts ---------------------------------------------------------------------------

const Far3::Char* Far3::Msg(Message id) {
  const char16_t* text = startupInfo.GetMsg(&far3::kPluginGuid, static_cast<intptr_t>(id));
  return text != nullptr ? text : u"";
}
