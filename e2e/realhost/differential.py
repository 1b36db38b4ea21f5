#!/usr/bin/env python3
"""The plug-in's own reading of description files against the host's.

    differential.py --kind far2l --plugin DIR --work DIR [--folders NAMES]

For each generated folder (its description file exercising one set of the
host's rules and settings), the host shows the folder in its Descriptions
view, where the plug-in is handed the host's own descriptions; then a fresh
host (one that never read the file) shows it in the default view, where the
plug-in reads the file itself. In both, the plug-in's selection command reads
each item's description out: every description carries a unique code,
QQ and a row of bits, and one mask per bit (*QQ??1*) selects the items whose
code has that bit; two more masks tell whether the code begins the
description (a size before it left out) and ends it (trailing blanks
trimmed). Each item must read the same in both, except where the file names
an item twice: there the plug-in takes the first line, whatever the host
shows.

Exit status: 0 agreed, 1 disagreed, 77 skipped (with the reason).
"""

import argparse
import os
import signal
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import cases  # noqa: E402
import fixture  # noqa: E402
from hostdriver import (FIRST_ITEM_ROW, LAST_ITEM_ROW, KINDS, Host, Timeout,  # noqa: E402
                        TmuxSilent, Unavailable, name_key, remove, session_folder)
from run import once_more_if_tmux_silent, plugin_folder  # noqa: E402

SKIP = 77
# far2l picks its code pages by this file in its settings folder; the
# Windows hosts' under Wine are these too.
OEM, ANSI = "cp437", "cp1252"


class Folder:
    """One folder: items (name, size), the description file's lines, where
    {c} takes the next code, and how the host is set up to read it.

    encoding: "oem", "ansi" (no byte-order mark), "utf-8-sig", "utf-16".
    names: the host's list of description file names (None: its default).
    ansi: the host's AnsiByDefault. files: other files (name, lines).
    first: items named twice, with the index of the line that names them
    first. shown: the items the host must describe, where the folder tests
    the host's settings (so that a host ignoring them fails the test).
    """

    def __init__(self, title, items, lines, encoding="oem", names=None, ansi=False,
                 files=(), first=None, shown=None):
        self.title, self.items, self.lines = title, items, lines
        self.encoding, self.names, self.ansi = encoding, names, ansi
        self.files, self.first, self.shown = files, first or {}, shown

    @property
    def engine(self):
        return self.names is not None or self.ansi


# Round trips and case in several scripts: 日本.txt is ??.txt in any single-byte
# page; which characters are blanks, and which are trimmed from a line's
# end, is each host's own.
FOLDERS = [
    Folder("lines in the OEM code page", [
        ("plain.txt", 1), ("with space.txt", 1), ("tabbed.txt", 1), ("cont.txt", 1),
        ("dup.txt", 1), ("mixed.txt", 1), ("size.txt", 5), ("comma.txt", 1234),
        ("place.txt", 1234), ("dot.txt", 1234), ("nine.txt", 987), ("noext", 1),
        ("file.txt", 1), ("日本.txt", 1), ("lf.txt", 1), ("cr.txt", 1), ("trail.txt", 1),
        ("ff.txt", 1), ("nul.txt", 1), ("nbsp.txt", 1)], [
        "plain.txt {c}", '"with space.txt" {c} tail', "tabbed.txt\t\t{c}", "cont.txt {c}",
        " continued", "\tcontinued", "dup.txt {c}", "DUP.TXT {c}", "MIXED.TXT {c}",
        "size.txt 5 {c}", "comma.txt 1,234 {c}", "place.txt 1,34 {c}", "dot.txt 1.234 {c}",
        "nine.txt 987 {c}", "noext. {c}", "file.txt. {c}", "??.txt {c}", "absent.txt {c}",
        "lf.txt {c}\n", "cr.txt {c}\r", "trail.txt {c} \t ", "ff.txt {c}\v\f",
        "nul.txt {c}\0rest", "nbsp.txt\u00a0{c}"], first={"dup.txt": 6}),
    Folder("case in several scripts, UTF-8", [
        ("яблоко.txt", 1), ("άσ.txt", 1), ("ǆ.txt", 1), ("ահ.txt", 1), ("ⴀ.txt", 1),
        ("ａｂ.txt", 1), ("ideo.txt", 1), ("ideo2.txt", 1), ("foo.txt", 1), ("Foo.txt", 1),
        ("FOO.txt", 1), ("z.txt", 1), ("nbsp.txt", 1), ("en.txt", 1)], [
        "ЯБЛОКО.TXT {c}", "ΆΣ.txt {c}", "Ǆ.txt {c}", "ԱՀ.txt {c}", "Ⴀ.txt {c}", "ＡＢ.txt {c}",
        "ideo.txt\u3000{c}", "ideo2.txt {c}\u3000", "fOO.txt {c}", "Z.TXT {c}",
        "nbsp.txt\u00a0{c}", "en.txt {c}\u2002"],
        encoding="utf-8-sig"),
    Folder("UTF-16", [("a.txt", 1), ("b.txt", 2)], ["a.txt {c}", "b.txt 2 {c} end"],
           encoding="utf-16"),
    Folder("the host set to ANSI", [("café.txt", 1), ("naïve.txt", 1)],
           ["café.txt {c} é", "naïve.txt {c}"], encoding="ansi", ansi=True,
           shown={"café.txt", "naïve.txt"}),
    Folder("the host's own list of names", [("a.txt", 1), ("b.txt", 1)], ["b.txt {c}"],
           names=("Notes.txt", "Descript.ion"), files=[("notes.txt", ["a.txt {c}"])],
           shown={"a.txt"}),
    Folder("an empty list of names", [("a.txt", 1)], ["a.txt {c}"], names=(), shown=set()),
]


def code(number, bits):
    return "QQ" + format(number, f"0{bits}b")


def lines_with_codes(folder):
    """The folder's files' lines with codes filled in, the number of bits,
    and per line of the description file its code."""
    count = sum(line.count("{c}") for line in folder.lines)
    count += sum(line.count("{c}") for _, lines in folder.files for line in lines)
    bits = max(1, count.bit_length())
    numbers = iter(range(1, count + 1))
    filled, codes = [], []
    for line in folder.lines:
        if "{c}" in line:
            codes.append(code(next(numbers), bits))
            line = line.replace("{c}", codes[-1])
        else:
            codes.append(None)
        filled.append(line)
    files = [(name, [line.replace("{c}", code(next(numbers), bits)) for line in lines])
             for name, lines in folder.files]
    return filled, files, bits, codes


def encode(lines, encoding):
    text = "".join(line if line.endswith(("\n", "\r")) else line + "\r\n" for line in lines)
    if encoding == "oem":
        return text.encode(OEM, errors="replace")
    if encoding == "ansi":
        return text.encode(ANSI)
    if encoding == "utf-16":
        return b"\xff\xfe" + text.encode("utf-16-le")
    return text.encode(encoding)


def make_folder(path, folder):
    os.makedirs(path)
    lines, files, bits, codes = lines_with_codes(folder)
    for name, size in folder.items:
        with open(os.path.join(path, name), "wb") as f:
            f.write(b"x" * size)
    with open(os.path.join(path, "descript.ion"), "wb") as f:
        f.write(encode(lines, folder.encoding))
    for name, extra in files:
        with open(os.path.join(path, name), "wb") as f:
            f.write(encode(extra, folder.encoding))
    return bits, codes


def settings_args(kind, folder):
    """The Windows host's command line for the folder's settings."""
    if kind == "far2l":
        return []
    args = []
    if folder.names is not None:
        args.append("-set:Descriptions.ListNames=" + ";".join(folder.names))
    if folder.ansi:
        args.append("-set:Descriptions.AnsiByDefault=true")
    return args


def far2l_settings(host, folder):
    host.write_profile(".config/cp", f"{OEM[2:]}\n{ANSI[2:]}\n".encode())
    keys = []
    if folder.names is not None:
        keys.append("ListNames=" + ",".join(folder.names))
    if folder.ansi:
        keys.append("AnsiByDefault=1")
    if keys:
        host.write_profile(".config/settings/config.ini",
                           ("[Descriptions]\n" + "\n".join(keys) + "\n").encode())


class Reader(cases.Session):
    """The plug-in's commands where the plug-ins menu may hold the macro
    engine's entry too: its entry is found by name."""

    def command(self, index):
        s = self.plugins_menu()
        at = s.find(self.texts["title"])
        first = at[0]
        while first > 0 and s.row(first - 1)[at[1] - 1: at[1]].strip() not in ("═", "─", "╔"):
            first -= 1
        self.host.key("PPage")
        for _ in range(at[0] - first):
            self.host.key("Down")
        self.host.key("Enter")
        self.host.wait(lambda s: all(c in s for c in self.texts["commands"]), 10,
                       "the command menu")
        self.host.key("PPage")
        for _ in range(index):
            self.host.key("Down")
        self.host.key("Enter")

    def first_column(self, s, y):
        cells = s.panel(y)
        return cells.split("│")[0].split("║")[0]

    def selected_rows(self, s):
        rows = set()
        for y in range(FIRST_ITEM_ROW, LAST_ITEM_ROW + 1):
            column = self.first_column(s, y)
            if any(s.yellow_at(y, 1 + x) for x in range(len(column)) if column[x] != " "):
                rows.add(y)
        return rows

    def rows_selected_by(self, mask):
        s = self.apply_mask(cases.SELECT, mask)
        rows = self.selected_rows(s)
        if rows:
            s = self.apply_mask(cases.UNSELECT, mask)
            if self.selected_rows(s):
                raise cases.Failure(f"unselecting {mask!r} left items selected\n{s}")
        return rows

    def read(self, bits):
        """Per row of the panel: (the code's number, whether the code begins
        the description, whether it ends it); rows without a code are
        left out."""
        found = {}
        for k in range(bits):
            for row in self.rows_selected_by("*QQ" + "?" * k + "1*"):
                found[row] = found.get(row, 0) | 1 << (bits - 1 - k)
        begins = self.rows_selected_by("QQ*")
        ends = self.rows_selected_by("*QQ" + "?" * bits)
        return {row: (number, row in begins, row in ends) for row, number in found.items()}

    def names(self):
        s = self.host.screen()
        return {y: self.first_column(s, y).strip() for y in range(FIRST_ITEM_ROW, LAST_ITEM_ROW + 1)}


def session(args, plugin, texts, folder, path, descriptions):
    """What the plug-in reads for each row, in one view mode, from a fresh
    start of the host."""
    host = Host(args.kind, plugin, args.work, macro_engine=folder.engine and args.kind != "far2l")
    with host:
        if args.kind == "far2l":
            far2l_settings(host, folder)
        host.start(path, extra=settings_args(args.kind, folder))
        host.view_mode(descriptions)
        reader = Reader(host, texts, log=lambda _: None)
        read = reader.read(args.bits)
        names = reader.names() if not descriptions else None
        host.quit()
    return read, names


def describe(entry, bits):
    if entry is None:
        return "no description"
    number, begins, ends = entry
    return (f"{code(number, bits)}" + ("" if begins else " after a size")
            + ("" if ends else " followed by more"))


def compare(folder, bits, codes, host_read, own_read, names):
    """The disagreements, as lines to print."""
    wrong = []
    first = {name_key(name): int(codes[line][2:], 2) for name, line in folder.first.items()}
    for row, name in sorted(names.items()):
        if not name or name_key(name) in ("..", "description"):
            continue
        own = own_read.get(row)
        if name_key(name) in first:
            expected = (first[name_key(name)], True, True)
            if own != expected:
                wrong.append(f"  {name}: the plug-in reads {describe(own, bits)}, the first "
                             f"line gives {describe(expected, bits)}")
        elif own != host_read.get(row):
            wrong.append(f"  {name}: the plug-in reads {describe(own, bits)}, "
                         f"the host {describe(host_read.get(row), bits)}")
    return wrong


def run(args):
    missing = [p for p in args.plugin if not os.path.exists(p)]
    if missing:
        print(f"SKIP: no plug-in build at {', '.join(missing)}")
        return SKIP
    try:
        scratch = session_folder("case-")
    except OSError as e:
        print(f"FAIL: {e}")
        return 1
    failed = 0
    try:
        plugin = plugin_folder(args.plugin, os.path.join(scratch, "plugin"))
        if not fixture.is_unicode_build(plugin):
            print("SKIP: the 1.x plug-in reads only its own host's settings")
            return SKIP
        texts = fixture.texts(plugin, "English")
        chosen = [f for f in FOLDERS
                  if not args.folders or any(w in f.title for w in args.folders)]
        for number, folder in enumerate(chosen):
            path = os.path.join(scratch, f"folder{number}")
            args.bits, codes = make_folder(path, folder)
            try:
                host_read, _ = session(args, plugin, texts, folder, path, True)
                own_read, names = session(args, plugin, texts, folder, path, False)
            except Unavailable as e:
                print(f"SKIP: {e}")
                return SKIP
            wrong = compare(folder, args.bits, codes, host_read, own_read, names)
            described = {names[row] for row in host_read}
            if folder.shown is not None and described != folder.shown:
                wrong.append(f"  the host describes {sorted(described)}, not "
                             f"{sorted(folder.shown)}: it was not set up as the folder needs")
            if wrong:
                failed += 1
                print(f"not ok - {folder.title}:\n" + "\n".join(wrong))
            else:
                print(f"ok - {folder.title}: {len(own_read)} descriptions as the host shows them")
        return 1 if failed else 0
    except TmuxSilent:
        raise
    except (cases.Failure, Timeout, OSError) as e:
        print(f"FAIL: {e}")
        return 1
    finally:
        remove(scratch)


def main():
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--kind", choices=KINDS, required=True)
    parser.add_argument("--plugin", action="append", default=[], required=True)
    parser.add_argument("--work", default=os.path.join(tempfile.gettempdir(), "veltrane-realhost"))
    parser.add_argument("--folders", nargs="*", help="words of the folders' titles to run")
    args = parser.parse_args()
    args.work = os.path.abspath(args.work)
    return once_more_if_tmux_silent(run, args)


if __name__ == "__main__":
    sys.exit(main())
