// What a host interface gives the shared rules and commands: a gateway is a
// struct of static functions over one host's records and services. The
// rules and commands take `template <Gateway G>` and reach the host only
// through it; every interface's gateway is checked against the contract
// where it is declared, so that a missing or mistyped member is named there.
#pragma once

#include <concepts>
#include <cstdint>

#include "core/box_glyphs.h"
#include "core/box_ink.h"
#include "core/description_rules.h"
#include "core/dialog_form.h"
#include "core/mask_dialog.h"
#include "core/messages.h"
#include "core/panel_view.h"
#include "sys/system.h"

// Text as the host hands it over: single-byte in its code page, UTF-16 or
// UTF-32 units.
template <class Char>
concept HostCharacter =
    std::same_as<Char, char> || std::same_as<Char, char16_t> || std::same_as<Char, wchar_t>;

// The active panel. PanelSnapshot is what one command took from the host
// (the host's own record, or a copy on the heap); the view points into it
// until ReleaseSnapshot. TakeSnapshot answers false, holding nothing, where
// the panel is no file panel with at least one item. kDescriptionRules is
// how the host reads a description file, ReadDescriptionSettings its
// settings for it (asked only where the plug-in reads the file itself).
// CmpName is the host's mask matcher on the whole string. MoveCursor puts
// the host's cursor on an item with the given first line shown.
template <class G>
concept PanelGateway = HostCharacter<typename G::Char> &&
    requires(typename G::PanelSnapshot* snapshot, PanelView<typename G::Char>* view,
             const typename G::Char* text, int line) {
  { G::TakeSnapshot(snapshot, view) } -> std::same_as<bool>;
  { G::ReleaseSnapshot(snapshot) } -> std::same_as<void>;
  { G::kDescriptionRules } -> std::convertible_to<descriptions::HostRules>;
  { G::ReadDescriptionSettings() } -> std::same_as<descriptions::HostSettings<typename G::Char>>;
  { G::CmpName(text, text) } -> std::same_as<bool>;
  { G::MoveCursor(snapshot, line, line) } -> std::same_as<void>;
  { G::RedrawPanel() } -> std::same_as<void>;
};

// The speed search's box and the console it reads keys from. Text writes
// into the host's screen buffer and FlushText puts it on the screen;
// ScreenRows is the height of the console's buffer. PeekKey waits for the
// event at the head of the input queue and describes it, leaving it queued;
// RemoveKey takes it away. Both answer false where the console cannot be
// read, which ends a search.
template <class G>
concept SearchBoxGateway = requires(int cell, Ink ink, const typename G::Char* text, int* rows,
                                    sys::ConsoleEvent* event) {
  { G::kBoxGlyphs } -> std::convertible_to<BoxGlyphs<typename G::Char>>;
  { G::Beep() } -> std::same_as<void>;
  { G::LoadBoxColors() } -> std::same_as<void>;
  { G::Text(cell, cell, ink, text) } -> std::same_as<void>;
  { G::FlushText() } -> std::same_as<void>;
  { G::ScreenRows(rows) } -> std::same_as<bool>;
  { G::SetCursor(cell, cell) } -> std::same_as<void>;
  { G::PeekKey(event) } -> std::same_as<bool>;
  { G::RemoveKey() } -> std::same_as<bool>;
};

// Setting the selection of a snapshot's items: between BeginSelection and
// EndSelection, which applies it and has the host redraw the panel.
// MatchesMask compares a description with a mask as the host's own select
// does; CheckMask answers whether the host can read the mask, showing the
// host's message where it cannot.
template <class G>
concept SelectionGateway = requires(typename G::PanelSnapshot* snapshot, uint32_t index,
                                    bool selected, const typename G::Char* text) {
  { G::CheckMask(text) } -> std::same_as<bool>;
  { G::MatchesMask(text, text) } -> std::same_as<bool>;
  { G::BeginSelection(snapshot) } -> std::same_as<void>;
  { G::SetSelected(snapshot, index, selected) } -> std::same_as<void>;
  { G::EndSelection(snapshot) } -> std::same_as<void>;
};

// The most items a gateway's menu shows.
constexpr int kMenuItemsMax = 8;

// What the user reads and answers: Msg gives a message in the host's
// language. Menu shows a centred menu of up to kMenuItemsMax items and
// answers the chosen index, negative when cancelled. RunMaskDialog shows the
// rows of kMaskDialog with the title on the frame and the kept mask in the
// field; whichever way the dialog closes, it keeps the field's text with
// KeepMask, and answers true when Enter in the field closed it.
template <class G>
concept CommandGateway = requires(Message id, const typename G::Char* text,
                                  const typename G::Char* const* items, int count,
                                  KeptMask<typename G::Char>* mask) {
  { G::Msg(id) } -> std::same_as<const typename G::Char*>;
  { G::Menu(text, items, count) } -> std::same_as<int>;
  { G::RunMaskDialog(text, mask) } -> std::same_as<bool>;
};

// A host whose dialogs are read back through a handle (the wide builds) runs
// any form with RunForm: row i shows texts[i] (null for none), the edit row
// the text of *field, a checkbox row the state of *checked. It answers the
// row that closed the dialog, negative where it was cancelled or could not
// be shown; whichever way it closes, it keeps the edit row's text with
// KeepMask and the checkbox's state in *checked.
template <class G>
concept FormGateway = requires(const DialogForm<typename G::Char>& form,
                               const typename G::Char* const* texts,
                               KeptMask<typename G::Char>* field, bool* checked) {
  { G::RunForm(form, texts, field, checked) } -> std::same_as<int>;
};

template <class G>
concept Gateway =
    PanelGateway<G> && SearchBoxGateway<G> && SelectionGateway<G> && CommandGateway<G>;

// A gateway whose host has a quick search of its own (the wide builds) says
// so with `static constexpr bool kLikeHostQuickSearch = true`: the speed
// search then takes the keys and wildcards as that quick search does.
template <class G>
constexpr bool LikeHostQuickSearch() {
  if constexpr (requires { G::kLikeHostQuickSearch; }) {
    return G::kLikeHostQuickSearch;
  } else {
    return false;
  }
}

// What such a gateway gives besides: ClipboardLine copies up to capacity
// units of the first line of the clipboard's text into out and answers how
// many; ShowHelp shows the plug-in's help at a topic and returns when it
// closes. A gateway may also convert a letter to the other keyboard layout
// (`static Char OtherLayout(Char)`), where its host's quick search retries a
// letter so.
template <class G>
concept QuickSearchGateway = Gateway<G> && LikeHostQuickSearch<G>() &&
    requires(typename G::Char* out, uint32_t capacity, const typename G::Char* topic) {
  { G::ClipboardLine(out, capacity) } -> std::same_as<uint32_t>;
  { G::ShowHelp(topic) } -> std::same_as<void>;
};
