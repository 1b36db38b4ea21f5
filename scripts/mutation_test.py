#!/usr/bin/env python3
"""Mutation test of the description reader, the speed search's matcher and
the gateways' key and text conversions: does a realistic one-point slip in
the code make some unit test fail?

    scripts/mutation_test.py              # every slip (about 15 minutes on 2 idle cores)
    scripts/mutation_test.py 3 17 40      # only these slips
    scripts/mutation_test.py --list       # the table, nothing built

Each slip replaces one exact text of one file, in place. The file is put
back as it was however the run ends (a failed build, Ctrl+C, SIGTERM), and
the run refuses to start while a file it slips holds uncommitted changes.
The tests are built in build/mutation/ by a small project of its own, at
-O0 without sanitizers, one test program per test folder: a slip rebuilds
only the objects that include its file, and runs only the test programs of
the folders that mirror it. A test program that fails, crashes or runs past
the timeout has caught the slip; a slip that only writes past a buffer
passes here and is caught under the native preset's sanitizers (the table
says which). Not part of scripts/test.sh: too slow.
"""

import os
import signal
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
BUILD = ROOT / "build" / "mutation"
TIMEOUT = 30  # seconds per test program (the slowest takes 3): a slip that loops for ever is caught

# The test programs: the test sources of each (patterns under the root),
# beside the shared plug-in code and test doubles every program links.
PROGRAMS = {
    "descriptions": ["tests/descriptions/*.cpp"],
    "speedsearch": ["tests/speedsearch/*.cpp"],
    "far1": ["tests/far1/*_test.cpp"],
    "filemask": ["tests/filemask/*.cpp"],
    "far2l": ["tests/far2l/*.cpp", "far2l/*.cpp"],
}
SHARED = ["far1/*.cpp", "tests/far1/fake_far1.cpp", "tests/doubles/*.cpp", "filemask/*.cpp"]


# The programs whose tests mirror each source folder (or file).
MIRRORS = {
    "descriptions/": ["descriptions"],
    "speedsearch/": ["speedsearch"],
    "far2l/": ["far2l"],
    "far1/": ["far1"],
    "filemask/": ["filemask", "speedsearch"],
    "core/utf.h": ["descriptions", "speedsearch"],
}

# (file, exact text, replacement, the slip). The text occurs once in the file.
SLIPS = [
    # ---- The reader: which lines name what ----
    ("descriptions/name_index.h", "const uint32_t capacity = names.count + names.count / 2 + 16;",
     "const uint32_t capacity = names.count;", "hash table no larger than the names: full"),
    ("descriptions/name_index.h",
     "  index->nextSame[i] = index->nextSame[first];\n",
     "", "third name differing only in case drops out of the chain"),
    ("descriptions/case_folding.h",
     "oem->upper[c] : c - 'a' < 26 ? c - 32 : c;\n      out[i]",
     "oem->upper[c] : c - 'a' < 25 ? c - 32 : c;\n      out[i]",
     "ASCII fast path stops before 'z'"),
    ("descriptions/case_folding.h", "if (check[i] == upper[i]) table->upper[0x80 + i] = back[i];",
     "if (check[i] == upper[i]) table->upper[0x80 + i] = static_cast<uint8_t>(0x80 + i);",
     "OEM table folds Cyrillic to itself"),
    ("descriptions/case_folding.h", "      if (!ascii) {\n        sys::UpperCase",
     "      if (false) {\n        sys::UpperCase",
     "names beyond ASCII not upper-cased by the platform"),
    ("descriptions/folder_descriptions.h", "if (matches.ranks[item] == kByName) return true;",
     "if (false) return true;", "the last line naming an item wins"),
    ("descriptions/folder_descriptions.h", "if (rank < matches.ranks[item]) {",
     "if (rank <= matches.ranks[item]) {", "the last line naming an item's other name wins"),
    ("descriptions/name_index.h", "if (index.nextSame == nullptr && near != 0) {",
     "if (near != 0) {", "the next item guessed where names differ only in case"),
    ("descriptions/folder_descriptions.h",
     "unnamed->all = unnamed->all || AnyNamedByALine(others, names, rules, matches);",
     "unnamed->all = unnamed->all;",
     "a round trip equal to a named item's name looked for in unnamed lines only"),
    ("descriptions/folder_descriptions.h", "uint32_t left = names.indexed;",
     "uint32_t left = names.indexed - 1;", "stops reading one item early"),
    ("descriptions/folder_descriptions.h", "file.inCodePage, page, &others",
     "true, page, &others", "round-tripped names looked up in a file with a mark"),
    ("descriptions/folder_descriptions.h",
     "  for (uint32_t i = 0; i + 1 < length; ++i) {\n    if (key.key[i] == Char('.')) return 0;\n  }\n",
     "", "dot rule: 'file.txt.' describes 'file.txt'"),
    ("descriptions/folder_descriptions.h", "  *units = size / 2 + size % 2;",
     "  *units = size / 2;", "UTF-16 drops an odd last byte"),
    ("descriptions/description_lines.h",
     "  if (c == ' ' || c == '\\t' || c == 0x3000) return true;\n  return rules.moreBlanks",
     "  if (c == ' ' || c == '\\t') return true;\n  return rules.moreBlanks",
     "U+3000 no blank"),
    ("descriptions/description_lines.h", "return (c >= 0x0B && c <= 0x0D)",
     "return (c >= 0x0C && c <= 0x0D)", "vertical tab not trimmed"),
    ("descriptions/description_lines.h", "while (at != start && end - at < 4 &&",
     "while (at != start && end - at < 2 &&", "a trimmed 3-byte UTF-8 blank not found"),
    ("descriptions/description_lines.h", "if (c < 0x80 ? c == ' ' || c == '\\t' :",
     "if (c < 0x80 ? c == ' ' :", "a tab does not end a name"),
    ("descriptions/description_lines.h",
     "((lf - kOnes) & ~lf) | ((word - kOnes) & ~word);",
     "((lf - kOnes) & ~lf);", "the fast line scan misses a NUL"),
    ("descriptions/description_lines.h", "if (length == 0 || text[0] < Unit('0') || text[0] > Unit('9'))",
     "if (length == 0 || text[0] < Unit('0') || text[0] >= Unit('9'))",
     "size prefix starting with 9"),
    ("descriptions/description_lines.h", "const bool separator = c == ',' || c == '.';",
     "const bool separator = c == ',';", "'.' in a size prefix"),
    ("descriptions/description_lines.h",
     "if (separator && syntax.rules.sizeSeparatorsSkipped) continue;",
     "if (separator && syntax.rules.sizeSeparatorsSkipped) {}",
     "dropped continue: far2l's 1.234 form"),
    ("descriptions/description_lines.h", "while (count < 20 && value >= kPowers[count]) ++count;",
     "while (count < 20 && value > kPowers[count]) ++count;", "size digits of a power of ten"),
    ("descriptions/description_lines.h",
     "if (at == length || detail::BlankAt(text + at, text + length, syntax) == 0) return 0;",
     "if (at == length) return 0;", "a size glued to the text is left out"),
    ("descriptions/panel_descriptions.h",
     "panel->sizes.first != nullptr ? &panel->sizes : nullptr;", "nullptr;",
     "sizes not handed to the reader by the command"),
    # ---- The reader: which file, which encoding ----
    ("descriptions/description_file.h",
     "ends = ends || (!quoted && (c == Char(',') || c == Char(';')));",
     "ends = ends || (!quoted && c == Char(','));", "';' does not split the list"),
    ("descriptions/description_file.h",
     "      while (at[1] != Char(0) && BlankAt(at + 1, at + 2, syntax) != 0) ++at;\n", "",
     "far2l's blanks after ',' kept in the name"),
    ("descriptions/description_file.h",
     "return search->result == sys::FileRead::kDone || search->result == sys::FileRead::kNoMemory;",
     "return search->result != sys::FileRead::kMissing;",
     "an unusable file ends the search"),
    ("descriptions/text_decoding.h",
     "if (piece < count && utf::IsHighSurrogate(units[piece - 1])) --piece;", "",
     "1.x: a pair cut at the 256-unit piece edge"),
    ("descriptions/text_decoding.h", "while (at < count && used < 254)",
     "while (at < count && used < 256)", "1.x: UTF-8 piece overruns by a pair (AddressSanitizer sees it)"),
    ("descriptions/text_decoding.h",
     "    return {TextEncoding::kUtf8, 3};\n  if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) return {TextEncoding::kUtf16Le, 2};",
     "    return {TextEncoding::kUtf8, 3};\n  if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFF) return {TextEncoding::kUtf16Le, 2};",
     "UTF-16 LE mark misread"),
    ("descriptions/text_decoding.h",
     "return asciiOnly || (sizeof(Char) == 1 && encoding",
     "return asciiOnly || (encoding", "a wide build copies OEM bytes"),
    ("far1/far1_gateway.cpp", "if (size >= 0) {", "if (size > 0) {",
     "an empty registry list taken for no list"),
    # ---- UTF arithmetic ----
    ("core/utf.h", "  return c >= 0x10000;", "  return c > 0x10000;", "U+10000 needs no pair"),
    ("core/utf.h", "if (c < least || ValidCodePoint(c) != c)", "if (ValidCodePoint(c) != c)",
     "overlong UTF-8 accepted"),
    ("core/utf.h", "  return unit >= 0xDC00 && unit <= 0xDFFF;\n}\n\nconstexpr bool IsSurrogate",
     "  return unit >= 0xDC00 && unit < 0xDFFF;\n}\n\nconstexpr bool IsSurrogate",
     "U+DFFF no low surrogate"),
    # ---- The matcher ----
    ("speedsearch/prefix_match.h", "    case '.':\n", "", "the dot not left to the host"),
    ("speedsearch/prefix_match.h", "if (pair.typed == t && pair.seen == s) return",
     "if (pair.typed == t) return", "wide verdict cached per typed unit only"),
    ("speedsearch/prefix_match.h", "  for (uint8_t& verdict : m->rows[r]) verdict = 0;\n", "",
     "a reused row keeps its old verdicts"),
    ("speedsearch/prefix_match.h", "return AskHost<G>(typed, seen) == kSame;  // a crowded",
     "return AskHost<G>(typed, seen) == kDifferent;  // a crowded",
     "a crowded table of wide pairs answers the other way"),
    ("speedsearch/search_text.h",
     "      search_text::IsHighSurrogate<Char>(text->chars[units - 1])) {\n    --units;",
     "      search_text::IsHighSurrogate<Char>(text->chars[units - 1])) {\n",
     "Backspace drops half a pair"),
    ("speedsearch/search_text.h", "  if (text->length >= kSearchTextMax) return false;",
     "  if (text->length > kSearchTextMax) return false;", "19 characters taken"),
    ("speedsearch/search_keys.h", "if ((state & (sys::kLeftAlt | sys::kRightAlt)) != 0)",
     "if ((state & sys::kLeftAlt) != 0)", "right Alt (AltGr) not seen as Alt"),
    ("speedsearch/search_keys.h",
     "return held == Held::kCtrlShift ? SearchAction::kPreviousMatch",
     "return held == Held::kCtrl ? SearchAction::kPreviousMatch",
     "Ctrl+Enter taken for Ctrl+Shift+Enter"),
    ("speedsearch/search_keys.h", "if (c == '*' && text->units > 0 && text->chars[text->units - 1] == '*')",
     "if (c == '*' && text->units > 0)", "any '*' after text dropped, not just '**'"),
    ("speedsearch/search_keys.h", "if (units[i] != '\"') AppendCharacter",
     "AppendCharacter", "pasted quotes kept"),
    ("speedsearch/search_keys.h", "return c >= kFirstCharacter ? SearchAction::kAppend",
     "return c > kFirstCharacter ? SearchAction::kAppend", "space not searchable"),
    ("speedsearch/search_keys.h", "    case kVkInsert:  // with Num Lock", "    case 0:  // with Num Lock",
     "Shift+Ins does not paste"),
    # ---- far2l's keys ----
    ("far2l/far2l_console_input.cpp", "return ctrl ? 127 : 8;", "return 8;",
     "Ctrl+Backspace taken for Backspace"),
    ("far2l/far2l_console_input.cpp", "if (ctrl && !alt && key.wVirtualKeyCode >= 'A'",
     "if (ctrl && key.wVirtualKeyCode >= 'A'", "AltGr with a letter taken for Ctrl"),
    ("far2l/far2l_console_input.cpp", "return ctrl ? 10 : 13;", "return 13;",
     "Ctrl+Enter taken for Enter"),
    ("far2l/far2l_console_input.cpp", "return key.wVirtualKeyCode - 'A' + 1u;",
     "return key.wVirtualKeyCode - 'A';", "Ctrl+letter one code low"),
    # ---- The host's mask rules in the test doubles ----
    ("filemask/file_mask.cpp", "  if (*mask == '.' && mask[1] == '*') ++mask;\n", "",
     "dot rule: 'abc.*' does not match 'abc'"),
    ("filemask/file_mask.cpp", "return c + (c & 1);", "return c - (c & 1);",
     "Latin Extended-A pairs from U+0139 fold apart"),
]

HARNESS = """cmake_minimum_required(VERSION 3.25)
project(VeltraneMutation LANGUAGES CXX)
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_BUILD_TYPE "")
add_compile_options(-O0 -w)
include_directories({root})
find_package(GTest REQUIRED)
add_library(shared STATIC {shared})
{programs}
"""


def files(patterns):
    return " ".join(sorted(p.as_posix() for pattern in patterns for p in ROOT.glob(pattern)))


def harness_text():
    root = ROOT.as_posix()
    programs = []
    for name, sources in PROGRAMS.items():
        files_ = files(sources)
        programs.append(f"add_executable({name} {files_})\n"
                        f"target_link_libraries({name} PRIVATE shared GTest::gtest_main)\n"
                        f"target_compile_definitions({name} PRIVATE "
                        f"FAR2L_SOURCE_DIR=\"{root}/far2l\")")
    return HARNESS.format(root=root, shared=files(SHARED),
                          programs="\n".join(programs))


def programs_for(path):
    for prefix, programs in MIRRORS.items():
        if path.startswith(prefix):
            return programs
    raise SystemExit(f"no test program mirrors {path}")


def configure():
    source = BUILD / "harness"
    source.mkdir(parents=True, exist_ok=True)
    lists = source / "CMakeLists.txt"
    text = harness_text()
    if not lists.exists() or lists.read_text() != text:
        lists.write_text(text)
    if not (BUILD / "build.ninja").exists():
        subprocess.run(["cmake", "-S", str(source), "-B", str(BUILD), "-G", "Ninja"],
                       check=True, stdout=subprocess.DEVNULL)


def build(programs):
    result = subprocess.run(["cmake", "--build", str(BUILD), "--target", *programs, "--", "-j2"],
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    return result.returncode == 0, result.stdout


def run(programs):
    """'passed', or how the tests caught the slip."""
    for program in programs:
        try:
            result = subprocess.run([str(BUILD / program), "--gtest_brief=1"],
                                    stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                    timeout=TIMEOUT, cwd=ROOT)
        except subprocess.TimeoutExpired:
            return f"{program}: timeout"
        if result.returncode != 0:
            return f"{program}: failed" if result.returncode > 0 else f"{program}: crashed"
    return "passed"


class Slipped:
    """The slip applied to its file for the with-block; the file is written
    back as it was on any way out."""

    def __init__(self, path, old, new):
        self.path = ROOT / path
        self.old, self.new = old, new
        self.original = None

    def __enter__(self):
        self.original = self.path.read_text()
        if self.original.count(self.old) != 1:
            return False
        self.path.write_text(self.original.replace(self.old, self.new, 1))
        return True

    def __exit__(self, *exc):
        self.path.write_text(self.original)
        return False


def check_clean(paths):
    dirty = subprocess.run(["git", "status", "--porcelain", "--", *sorted(set(paths))], cwd=ROOT,
                           stdout=subprocess.PIPE, text=True, check=True).stdout.strip()
    if dirty:
        raise SystemExit("uncommitted changes in files the slips touch:\n" + dirty)


def main(argv):
    numbered = list(enumerate(SLIPS, 1))
    if "--list" in argv:
        for n, (path, _, _, what) in numbered:
            print(f"{n:3} {path:38} {what}")
        return 0
    chosen = {int(a) for a in argv if a.isdigit()}
    if chosen:
        numbered = [(n, s) for n, s in numbered if n in chosen]
    check_clean([s[0] for _, s in numbered])
    # SIGTERM as Ctrl+C: the with-block puts the file back either way.
    signal.signal(signal.SIGTERM, lambda *_: (_ for _ in ()).throw(KeyboardInterrupt()))
    configure()
    print("building the unslipped tests ...", flush=True)
    everything = list(PROGRAMS)
    ok, log = build(everything)
    if not ok or run(everything) != "passed":
        print(log[-3000:])
        raise SystemExit("the tests fail without any slip")
    rows = []
    caught = 0
    for n, (path, old, new, what) in numbered:
        started = time.monotonic()
        programs = programs_for(path)
        with Slipped(path, old, new) as applied:
            if not applied:
                verdict = "STALE: text not found once"
            else:
                ok, log = build(programs)
                verdict = run(programs) if ok else "BUILD ERROR"
        if verdict not in ("passed", "BUILD ERROR") and not verdict.startswith("STALE"):
            caught += 1
            mark = "caught"
        else:
            mark = "NOT CAUGHT" if verdict == "passed" else verdict
        seconds = time.monotonic() - started
        rows.append((n, path, what, mark, verdict))
        print(f"{n:3} {mark:10} {seconds:5.0f}s  {path}: {what}  [{verdict}]", flush=True)
    # Leave the programs built from the tree as it is.
    build(everything)
    print("\n| # | file | slip | result |\n|---|---|---|---|")
    for n, path, what, mark, _ in rows:
        print(f"| {n} | {path} | {what} | {mark} |")
    print(f"\ncaught {caught} of {len(rows)} ({100 * caught // max(len(rows), 1)}%)")
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv[1:]))
    except KeyboardInterrupt:
        sys.exit(130)
