#!/usr/bin/env python3
"""Side-by-side latency in the real host: the plug-in's speed search against
the host's own quick search, timed from a key sent with tmux to the screen
showing the result.

    bench/realhost_latency.py [--runs 5] [--sizes 1000,20000,100000]
                              [--plugin LABEL=KIND:PATH[,PATH...]] ...

It makes a folder of N files described "Holiday photo NNNNNN" with one file
described "Tax return 2024" (last in the panel, or near its start, or absent),
starts the host with the plug-in in the Descriptions view mode and in the
default one, and times, for each build found:

- Enter on the command until the search box shows;
- typing `T` until the cursor is on the described file (with no such file:
  `T`, refused after a scan of the whole panel, then `H`, until the cursor is
  on the first photo);
- the host's own quick search (Alt and the file name's first letter) to the
  same file.

It prints a Markdown table of medians over --runs runs. Not a test: it never
fails because something is slow, and a build whose host cannot run here
(the x86 one without 32-bit support) is listed as skipped. The builds are
found in build/ (the 1.x Veltrane.dll, the current-generation DLLs for x86 and
x64, the far2l module) unless --plugin names them.
"""

import argparse
import os
import platform
import signal
import statistics
import struct
import sys
import time

SOURCE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(SOURCE, "e2e", "realhost"))

from hostdriver import PANEL_WIDTH, STATUS_ROW, Host, Timeout, Unavailable  # noqa: E402

BOX_TITLE = "Desc. Search"
STEP_TIMEOUT = 60
VARIANTS = ("last", "first", "none")
MODES = ("descriptions", "default")


# ---- Builds ----------------------------------------------------------------------


def _pe_machine(path):
    """0x14c for an i386 DLL, 0x8664 for x86-64, else None."""
    try:
        with open(path, "rb") as f:
            head = f.read(4096)
        offset = struct.unpack_from("<I", head, 0x3C)[0]
        if head[offset : offset + 4] != b"PE\0\0":
            return None
        return struct.unpack_from("<H", head, offset + 4)[0]
    except (OSError, struct.error):
        return None


def _elf_machine(path):
    """62 for an x86-64 module, 183 for aarch64, else None."""
    try:
        with open(path, "rb") as f:
            head = f.read(20)
        return struct.unpack_from("<H", head, 18)[0] if head[:4] == b"\x7fELF" else None
    except (OSError, struct.error):
        return None


def _with_texts(module):
    """The module and the language and help files beside it."""
    folder = os.path.dirname(module)
    extra = [os.path.join(folder, f) for f in sorted(os.listdir(folder))
             if f.lower().endswith((".lng", ".hlf"))]
    return [module] + extra


def _modules(name, depth=6):
    """Files called `name` under build/, without following links (a Wine
    prefix links to the whole file system) or entering Wine prefixes."""
    root = os.path.join(SOURCE, "build")
    for folder, dirs, files in os.walk(root):
        if folder[len(root):].count(os.sep) >= depth:
            dirs.clear()
        dirs[:] = [d for d in dirs if "wineprefix" not in d and d != "folders"]
        if name in files:
            yield os.path.join(folder, name)


def discover():
    """(label, kind, files) for each build found under build/: of each sort
    the newest module that has its help beside it."""
    found = {}
    for module in _modules("Veltrane.dll"):
        files = _with_texts(module)
        unicode = any(f.lower().endswith(".lng") for f in files)
        machine = _pe_machine(module)
        if machine == 0x14C:
            key = ("x86 Unicode", "x86") if unicode else ("x86 1.x", "x86")
        elif machine == 0x8664 and unicode:
            key = ("x64 Unicode", "x64")
        else:
            continue  # the 64-bit build of the 1.x sources is for the stand-in host only
        found.setdefault(key, []).append(files)
    for module in _modules("Veltrane.far-plug-wide"):
        if _elf_machine(module) == 62:  # the far2l here runs on x86-64
            found.setdefault(("far2l", "far2l"), []).append(_with_texts(module))
    builds = []
    for (label, kind), candidates in sorted(found.items()):
        candidates.sort(key=lambda fs: (any(f.endswith(".hlf") for f in fs),
                                        os.path.getmtime(fs[0])))
        builds.append((label, kind, candidates[-1]))
    return builds


def parse_plugin(text):
    label, _, rest = text.partition("=")
    kind, _, paths = rest.partition(":")
    if not (label and kind and paths):
        raise argparse.ArgumentTypeError("expected LABEL=KIND:PATH[,PATH...]")
    return label, kind, paths.split(",")


# ---- The folder ------------------------------------------------------------------


def tax_name(variant):
    # Short names: far2l's status line shows 12 characters of the name.
    return {"last": "tax2024.pdf", "first": "a_tax.pdf"}.get(variant)


def make_folder(root, n, variant):
    """N photos and, unless variant is "none", the tax return; kept for the
    next run."""
    folder = os.path.join(root, f"{n}-{variant}")  # the same each run: made once
    stamp = os.path.join(folder, ".complete")
    if os.path.exists(stamp):
        return folder
    os.makedirs(folder, exist_ok=True)
    width = len(str(n))
    lines = []
    for i in range(1, n + 1):
        name = f"p{i:0{width}}.jpg"
        open(os.path.join(folder, name), "wb").close()
        lines.append(f"{name} Holiday photo {i:0{width}}\r\n")
    if tax_name(variant):
        open(os.path.join(folder, tax_name(variant)), "wb").close()
        lines.append(f"{tax_name(variant)} Tax return 2024\r\n")
    with open(os.path.join(folder, "descript.ion"), "w", encoding="ascii") as f:
        f.writelines(lines)
    open(stamp, "w").close()
    return folder


def first_photo(n):
    return f"p{1:0{len(str(n))}}.jpg"


# ---- Timing ----------------------------------------------------------------------


class Stopwatch:
    """Polls a few screen rows as fast as tmux answers; keeps the time one
    look takes, which bounds the resolution of every figure."""

    def __init__(self, host):
        self.host, self.looks, self.spent = host, 0, 0.0

    def until(self, first, last, predicate, what):
        start = time.perf_counter()
        while True:
            rows = self.host.rows(first, last)
            self.looks += 1
            now = time.perf_counter()
            if predicate(rows):
                self.spent += now - start
                return now
            if now - start > STEP_TIMEOUT:
                raise Timeout(f"no {what} within {STEP_TIMEOUT} s")

    @property
    def resolution_ms(self):
        return 1000 * self.spent / self.looks if self.looks else float("nan")


def on_item(name):
    def test(rows):
        text = rows[0][1 : PANEL_WIDTH - 1].strip()
        return text == name or text.startswith(name + " ")
    return test


def box_shown(rows):
    return any(BOX_TITLE in r for r in rows)


def box_gone(rows):
    return not box_shown(rows)


class Bench:
    def __init__(self, host, watch, n, variant):
        self.host, self.watch, self.n, self.variant = host, watch, n, variant
        self.target = tax_name(variant) or first_photo(n)

    def to_top(self):
        self.host.key("Home")
        self.watch.until(STATUS_ROW, STATUS_ROW, on_item(".."), "cursor on ..")

    def command_menu(self):
        self.host.key("F11")
        self.host.wait(lambda s: "Veltrane" in s, 30, "the plug-ins menu")
        self.host.key("Enter")
        self.host.wait(lambda s: "Speed Search" in s or "поиск" in s, 30, "the command menu")
        self.host.key("PPage")

    def close_box(self):
        self.host.key("Escape")
        self.watch.until(STATUS_ROW - 2, STATUS_ROW + 3, box_gone, "box gone")

    def open_box(self):
        """Enter on the speed search command until the box shows."""
        self.to_top()
        self.command_menu()
        t0 = time.perf_counter()
        self.host.key("Enter")
        t1 = self.watch.until(STATUS_ROW - 2, STATUS_ROW + 3, box_shown, "search box")
        return t1 - t0

    def type_t(self):
        """T until the cursor is on the tax return; with none, T and H
        until it is on the first photo."""
        self.open_box()
        t0 = time.perf_counter()
        self.host.type("T" if tax_name(self.variant) else "TH")
        t1 = self.watch.until(STATUS_ROW, STATUS_ROW, on_item(self.target), self.target)
        self.close_box()
        return t1 - t0

    def quick_search(self):
        """The host's own: Alt and the first letter of the name."""
        if not tax_name(self.variant):
            return None
        self.to_top()
        t0 = time.perf_counter()
        self.host.key("M-" + self.target[0])
        t1 = self.watch.until(STATUS_ROW, STATUS_ROW, on_item(self.target), self.target)
        self.host.key("Escape")
        self.host.wait(lambda s: "Search" not in "".join(s.rows[STATUS_ROW:]), 10,
                       "the quick search to close")
        return t1 - t0


def _ms(seconds):
    ms = 1000 * seconds
    return f"{ms:.1f}" if ms < 10 else f"{ms:.0f}"


def measure(build, mode, n, variant, args):
    """Medians in ms of each step over args.runs runs in one host session;
    a step that never shows its result gives a note instead."""
    label, kind, files = build
    folder = make_folder(os.path.join(args.work, "folders"), n, variant)
    with Host(kind, files, args.work) as host:
        host.start(folder, timeout=600)
        host.view_mode(mode == "descriptions")
        watch = Stopwatch(host)
        bench = Bench(host, watch, n, variant)
        result = {}
        for step in ("open_box", "type_t", "quick_search"):
            times = []
            try:
                for _ in range(args.runs):
                    t = getattr(bench, step)()
                    if t is None:
                        break
                    times.append(t)
                    if step == "open_box":
                        bench.close_box()
            except Timeout as e:
                result[step] = "not shown"
                print(f"  {label} {mode} {n} {variant} {step}: {str(e).splitlines()[0]}",
                      file=sys.stderr)
                host.key("Escape", "Escape")
                continue
            result[step] = _ms(statistics.median(times)) if times else "–"
        result["resolution"] = watch.resolution_ms
        return result


def row(build, mode, n, variant, args):
    try:
        r = measure(build, mode, n, variant, args)
    except (Timeout, OSError) as e:  # a host that would not start, or tmux gone
        print(f"| {build[0]} | {mode} | {n:,} | {variant} | failed: {str(e).splitlines()[0]} ||||")
        return
    print(f"| {build[0]} | {mode} | {n:,} | {variant} | {r['open_box']} | {r['type_t']} "
          f"| {r['quick_search']} | {r['resolution']:.2f} ms |", flush=True)


# ---- Main ------------------------------------------------------------------------


def machine():
    cpu = platform.processor() or "?"
    try:
        with open("/proc/cpuinfo") as f:
            cpu = next(l.split(":", 1)[1].strip() for l in f if l.startswith("model name"))
    except (OSError, StopIteration):
        pass
    return f"{cpu}, {os.cpu_count()} CPUs, {platform.system()} {platform.release()}"


def main():
    # CTest and timeout(1) end a run with SIGTERM: leave through the context
    # managers, which end the host and its tmux server.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--sizes", default="1000,20000,100000")
    parser.add_argument("--variants", default=",".join(VARIANTS))
    parser.add_argument("--modes", default=",".join(MODES))
    parser.add_argument("--plugin", type=parse_plugin, action="append", default=[],
                        help="LABEL=KIND:PATH[,PATH...]; KIND is x86, x64 or far2l")
    parser.add_argument("--work", default=os.path.join(SOURCE, "build", "realhost-bench"))
    args = parser.parse_args()
    args.work = os.path.abspath(args.work)
    builds = args.plugin or discover()
    if not builds:
        print("No plug-in build found under build/; name one with --plugin.")
        return 0
    sizes = [int(s) for s in args.sizes.split(",")]
    print(f"Machine: {machine()}. Medians of {args.runs} runs, in ms, from the key sent "
          f"with tmux to the screen showing the result.\n")
    print("| Build | View mode | Items | The file | Enter until the box shows "
          "| `T` until the cursor is on it | Host's quick search (Alt+letter) | Look every |")
    print("|---|---|---:|---|---:|---:|---:|---:|")
    for build in builds:
        try:
            Host(build[1], build[2], args.work).close()
        except Unavailable as e:
            print(f"| {build[0]} | skipped: {e} |||||||", flush=True)
            continue
        for mode in args.modes.split(","):
            for n in sizes:
                for variant in args.variants.split(","):
                    row(build, mode, n, variant, args)
    print("\n`T` with no such file: T (refused after a scan of every item), then H, "
          "until the cursor is on the first photo. \"Look every\": the time one look at "
          "the screen takes, the resolution of the figures.")
    return 0


if __name__ == "__main__":
    sys.exit(main())
