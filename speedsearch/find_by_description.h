// The search step of the speed search: move the panel cursor to the nearest
// item, from the cursor on and wrapping, whose description begins with the
// typed text.
#pragma once

#include <cstdint>

#include "core/gateway.h"
#include "core/panel_view.h"
#include "speedsearch/prefix_match.h"
#include "speedsearch/search_text.h"

// What one running speed search works on; the loop owns every part.
template <Gateway G>
struct SearchSession {
  using Char = typename G::Char;
  BasicSearchText<Char>* text;
  PanelView<Char>* panel;
  typename G::PanelSnapshot* snapshot;
  PrefixMatcher<Char>* matcher;
};

namespace find_by_description {

// Puts the found item about half-way down the panel. The host clamps the top
// line itself, so a negative value near the start of the list is passed on.
// Worked on unsigned values so that an absurd panel rectangle wraps instead
// of overflowing.
inline int TopLineFor(uint32_t index, const PanelRect& rect) {
  int halfHeight = static_cast<int>((static_cast<int64_t>(rect.bottom) - rect.top - 5) / 2);
  return static_cast<int>(index - static_cast<uint32_t>(halfHeight));
}

}  // namespace find_by_description

namespace find_by_description {

// Visits every item once from first on, forward or backward, wrapping at the
// ends; on a match away from the cursor, moves the view's cursor and the
// host's there. True when an item matched.
template <bool kBackward, Gateway G>
bool Search(const SearchSession<G>& session, uint32_t first) {
  const BasicSearchText<typename G::Char>& text = *session.text;
  PanelView<typename G::Char>* panel = session.panel;
  PrepareMatcher(session.matcher, text, LikeHostQuickSearch<G>());
  const uint32_t count = panel->count;
  uint32_t index = first;
  for (uint32_t visited = 0; visited < count; ++visited) {
    const typename G::Char* description = panel->descriptions.At(index);
    if (description != nullptr && MatchesPrefix<G>(session.matcher, text, description)) {
      if (index != static_cast<uint32_t>(panel->current)) {
        panel->current = static_cast<int>(index);
        panel->top = TopLineFor(index, panel->rect);
        G::MoveCursor(session.snapshot, panel->current, panel->top);
      }
      return true;
    }
    if constexpr (kBackward) {
      index = (index == 0 ? count : index) - 1;
    } else if (++index == count) {
      index = 0;
    }
  }
  return false;
}

// The cursor as an index: one the host reports outside the panel is taken
// modulo the count, so that no item is visited twice.
template <class Char>
uint32_t CurrentIndex(const PanelView<Char>& panel) {
  return static_cast<uint32_t>(panel.current) % panel.count;
}

}  // namespace find_by_description

// step 0 lets the current item match first, step 1 starts with the item
// after it; the search wraps from the last item to the first. On a match
// away from the cursor, moves the view's cursor and the host's there. True
// when an item matched.
template <Gateway G>
bool FindByDescription(const SearchSession<G>& session, uint32_t step) {
  const PanelView<typename G::Char>& panel = *session.panel;
  if (session.text->units == 0 || panel.count == 0) return false;
  const uint32_t current = find_by_description::CurrentIndex(panel);
  return find_by_description::Search<false>(session, (current + step % panel.count) % panel.count);
}

// The mirror of FindByDescription with step 1: starts with the item before
// the cursor, wraps from the first item to the last, and visits the current
// item last.
template <Gateway G>
bool FindPreviousByDescription(const SearchSession<G>& session) {
  const PanelView<typename G::Char>& panel = *session.panel;
  if (session.text->units == 0 || panel.count == 0) return false;
  const uint32_t current = find_by_description::CurrentIndex(panel);
  return find_by_description::Search<true>(session, (current == 0 ? panel.count : current) - 1);
}
