// One speed search's state held outside its loop, so that tests and fuzzers
// can drive the search keys and steps one at a time: the typed text, the
// view of a snapshot and one matcher kept across every step, as the loop
// keeps them (its verdicts on pairs of letters carry over from key to key).
#pragma once

#include <cstdint>
#include <memory>
#include <type_traits>

#include "core/gateway.h"
#include "speedsearch/search_keys.h"

template <Gateway G>
struct SearchSteps {
  using Char = typename G::Char;

  SearchSteps(typename G::PanelSnapshot* snapshot, const PanelView<Char>& view)
      : view(view), snapshot(snapshot), matcher(std::make_unique<PrefixMatcher<Char>>()) {
    ClearSearchText(&text);
    ResetMatcher(matcher.get());
  }

  SearchSession<G> Session() { return {&text, &view, snapshot, matcher.get()}; }

  // Carries out one key; false when it ends the search (Esc).
  bool Key(uint32_t c) { return ApplySearchKey(c, Session()); }
  bool Key(SearchAction action, uint32_t c = 0) { return ApplySearchKey(action, c, Session()); }

  // Types text afresh, unit by unit, and searches from the cursor (step 0)
  // or the item after it (step 1). True when an item matched.
  bool Find(const Char* typed, uint32_t step) {
    ClearSearchText(&text);
    for (; *typed != 0; ++typed) {
      AppendCharacter(&text, static_cast<std::make_unsigned_t<Char>>(*typed));
    }
    return FindByDescription(Session(), step);
  }

  BasicSearchText<Char> text;
  PanelView<Char> view;
  typename G::PanelSnapshot* snapshot;
  std::unique_ptr<PrefixMatcher<Char>> matcher;
};
