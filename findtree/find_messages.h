// What the user reads while a tree is searched and after: the progress
// message, the host's own question on Esc, and the reports, composed once
// for every host; a gateway only shows them (Say) and reads Esc.
#pragma once

#include <cstdint>

#include "core/messages.h"
#include "findtree/results.h"
#include "findtree/tree_search.h"

namespace findtree {

// How a message is shown: a progress message without buttons, left-aligned,
// that stays while the work goes on; a report with OK; a warning with OK;
// the question whether to stop, Yes (0) or No.
enum class SayKind { kProgress, kReport, kWarning, kStopQuestion };

// The progress message keeps one width, so that it does not jump as the
// folder's path changes.
constexpr uint32_t kProgressWidth = 60;

namespace detail {

// A line of two counts, composed from a message with "%1" and "%2".
template <class G>
void CountsLine(Message format, uint64_t first, uint64_t second,
                typename G::Char (&line)[kLineUnits]) {
  typename G::Char a[kNumberUnits];
  typename G::Char b[kNumberUnits];
  FormatCount(first, a);
  FormatCount(second, b);
  Compose(line, kLineUnits, G::Msg(format), a, b);
}

template <class Char>
void PadTo(Char* line, uint32_t width) {
  uint32_t length = 0;
  while (line[length] != Char(0)) ++length;
  while (length < width) line[length++] = Char(' ');
  line[length] = Char(0);
}

}  // namespace detail

// The walker's progress through a gateway's messages.
template <class G>
struct MessageProgress {
  using Char = typename G::Char;

  static void ShowSearchProgress(const SearchCounts& counts, const Char* folder) {
    Char path[kProgressWidth + 1];
    Char countsLine[kLineUnits];
    FitPath(folder, kProgressWidth, path);
    detail::PadTo(path, kProgressWidth);
    detail::CountsLine<G>(Message::kSearchCounts, counts.folders, counts.found, countsLine);
    const Char* lines[] = {G::Msg(Message::kFindTitle), G::Msg(Message::kSearchingIn), path,
                           countsLine};
    G::Say(SayKind::kProgress, lines, 4);
  }

  // On Esc, asks in the host's words whether to stop; true for Yes.
  static bool SearchStopAsked() {
    if (!G::EscapePressed()) return false;
    const Char* lines[] = {G::Msg(Message::kInterrupted), G::Msg(Message::kInterruptedQuestion)};
    return G::Say(SayKind::kStopQuestion, lines, 2) == 0;
  }
};

template <class G>
void SayFolderNeeded() {
  const typename G::Char* lines[] = {G::Msg(Message::kFindTitle), G::Msg(Message::kFolderNeeded)};
  G::Say(SayKind::kWarning, lines, 2);
}

// Nothing matched: the counts say what was searched and skipped.
template <class G>
void SayNothingFound(const SearchCounts& counts) {
  typename G::Char searched[kLineUnits];
  typename G::Char skipped[kLineUnits];
  detail::CountsLine<G>(Message::kSearchCounts, counts.folders, counts.found, searched);
  detail::CountsLine<G>(Message::kSkippedCounts, counts.foldersSkipped, counts.filesSkipped,
                        skipped);
  const typename G::Char* lines[] = {G::Msg(Message::kFindTitle), G::Msg(Message::kNothingFound),
                                     searched, skipped};
  G::Say(SayKind::kReport, lines, 4);
}

}  // namespace findtree
