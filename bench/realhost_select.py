#!/usr/bin/env python3
"""What a mask list, an exclusion or a regular expression costs in select,
next to a plain mask, in the real hosts: timed from Enter in the mask
dialog to the selection line showing the items selected.

    bench/realhost_select.py [--runs 3] [--size 100000] [--plugin LABEL=KIND:PATH[,...]]

The folder is realhost_latency.py's: N files described "Holiday photo
NNNNNN". Every mask selects the same 10,000 items (those numbered 01xxxx),
so that the figures differ only in what the host's mask service does with
the mask, once per item. The host's Descriptions view hands the
descriptions over, so no description file is read. Medians in ms. Not a
test: it never fails because something is slow.
"""

import argparse
import os
import signal
import statistics
import sys
import time

SOURCE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(SOURCE, "e2e", "realhost"))
sys.path.insert(0, os.path.join(SOURCE, "bench"))

from hostdriver import SELECTION_ROW, Host, Timeout, Unavailable, parse_selection  # noqa: E402
from realhost_latency import Stopwatch, discover, machine, make_folder, parse_plugin  # noqa: E402

MASKS = [
    ("plain mask", "holiday photo 01*"),
    ("list of three", "tax*;holiday photo 01*;*draft*"),
    ("with an exclusion", "holiday photo 0*|*photo 0[02-9]*"),
    ("regular expression", "/^holiday photo 01/i"),
]
SELECTED = 10_000
SELECT, UNSELECT = 1, 2


def command(host, index):
    """F11, Veltrane's entry, the command at index in its menu."""
    host.key("F11")
    s = host.wait(lambda s: "Veltrane" in s, 30, "the plug-ins menu")
    top = next(i for i, r in enumerate(s.rows) if "╔" in r and "═" in r and i > 1)
    at = next(i for i, r in enumerate(s.rows) if "Veltrane" in r and i > top)
    host.key("Home", *["Down"] * (at - top - 1), "Enter")
    host.wait(lambda s: "Speed Search" in s or "поиск" in s, 30, "the command menu")
    host.key("PPage", *["Down"] * index, "Enter")


def apply(host, watch, index, mask, selected):
    """The command with mask: seconds from Enter to the selection line
    reading `selected` items."""
    command(host, index)
    host.wait(lambda s: "Description Select" in s or "Description Unselect" in s, 30,
              "the mask dialog")
    host.type(mask)
    host.wait(lambda s: mask in s, 30, "the mask typed")

    def done(rows):
        counted = parse_selection(rows[0])
        return (counted[1] if counted else 0) == selected

    t0 = time.perf_counter()
    host.key("Enter")
    return watch.until(SELECTION_ROW, SELECTION_ROW, done, f"{selected} selected") - t0


def measure(build, n, runs, work, masks):
    label, kind, files = build
    folder = make_folder(os.path.join(work, "folders"), n, "none")
    figures = {}
    with Host(kind, files, work) as host:
        host.start(folder, timeout=600)
        host.view_mode(True)
        watch = Stopwatch(host)
        for name, mask in masks:
            times = []
            for _ in range(runs):
                times.append(apply(host, watch, SELECT, mask, SELECTED))
                apply(host, watch, UNSELECT, "*", 0)
            figures[name] = 1000 * statistics.median(times)
    return figures


def main():
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--size", type=int, default=100_000)
    parser.add_argument("--plugin", type=parse_plugin, action="append", default=[])
    parser.add_argument("--work", default=os.path.join(SOURCE, "build", "realhost-bench"))
    parser.add_argument("--plain-only", action="store_true",
                        help="the plain mask alone, for a build that takes no other")
    args = parser.parse_args()
    masks = MASKS[:1] if args.plain_only else MASKS
    args.work = os.path.abspath(args.work)
    builds = [b for b in (args.plugin or discover()) if b[0] != "x86 1.x"]
    print(f"Machine: {machine()}. {args.size:,} items, {SELECTED:,} of them selected; "
          f"medians of {args.runs} runs, in ms, from Enter in the dialog to the selection "
          f"line.\n")
    print("| Build | " + " | ".join(f"{name} `{mask}`" for name, mask in masks) + " |")
    print("|---|" + "---:|" * len(masks))
    for build in builds:
        try:
            figures = measure(build, args.size, args.runs, args.work, masks)
        except Unavailable as e:
            print(f"| {build[0]} | skipped: {e} |||", flush=True)
            continue
        except (Timeout, OSError) as e:
            print(f"| {build[0]} | failed: {str(e).splitlines()[0]} |||", flush=True)
            continue
        print(f"| {build[0]} | " + " | ".join(f"{figures[name]:.0f}" for name, _ in masks)
              + " |", flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
