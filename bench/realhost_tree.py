#!/usr/bin/env python3
"""Side by side in the real hosts: Find by description against the host's own
Find File (Alt+F7) by a name mask, over the same tree, timed from Enter in
each dialog to the screen showing the whole result.

    bench/realhost_tree.py [--folders 1000] [--files 100] [--runs 2]
                           [--root /dev/shm/veltrane-realhost-tree]

The tree has FOLDERS folders of FILES files, photoN.jpg, all described; every
tenth (the names ending in 0.jpg) as a cake. Find by description looks for
`*cake*`, Find File for `*0.jpg`: the same files, once by description, once
by name. Each is run --runs times in a row; the later runs have a warm cache.
Prints a Markdown table. Not a test: it never fails because something is
slow, and a host that cannot run here is listed as skipped.
"""

import argparse
import os
import signal
import sys
import time

SOURCE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(SOURCE, "e2e", "realhost"))

from hostdriver import PANEL_WIDTH, Host, Timeout, Unavailable  # noqa: E402

TIMEOUT = 600
BUILDS = {
    "far2l": [os.path.join(SOURCE, "build", "native", "far2l", "package", "Veltrane", "plug")],
    "x64": [os.path.join(SOURCE, "build", "far3-x64", "Veltrane.dll")]
    + [os.path.join(SOURCE, "far3", f) for f in ("Veltrane_en.lng", "Veltrane_en.hlf")],
}


def make_tree(root, folders, files):
    tree = os.path.join(root, f"{folders}x{files}")
    if os.path.exists(os.path.join(tree, "done")):
        return tree
    for f in range(folders):
        folder = os.path.join(tree, f"folder{f:05}")
        os.makedirs(folder, exist_ok=True)
        lines = []
        for i in range(files):
            name = f"photo{i}.jpg"
            open(os.path.join(folder, name), "wb").close()
            what = "lemon cake, photo" if i % 10 == 0 else "holiday photo"
            lines.append(f"{name} {what} {i}\r\n")
        with open(os.path.join(folder, "descript.ion"), "w") as out:
            out.write("".join(lines))
    open(os.path.join(tree, "done"), "w").close()
    return tree


def timed(host, predicate, what):
    start = time.monotonic()
    host.key("Enter")
    deadline = start + TIMEOUT
    while not predicate(host.screen()):
        if time.monotonic() > deadline:
            raise Timeout(f"no {what} within {TIMEOUT} s")
        time.sleep(0.01)
    return time.monotonic() - start


def find_by_description(host):
    host.key("F11")
    host.wait(lambda s: "Veltrane" in s, 10, "the plug-ins menu")
    host.key("Enter")
    host.wait(lambda s: "Find by description" in s, 10, "the command menu")
    host.key("PPage", "Down", "Down", "Down", "Enter")
    host.wait(lambda s: "Search subfolders" in s, 10, "the find dialog")
    host.type("*cake*")
    host.wait(lambda s: "*cake*" in s, 10, "the mask")
    took = timed(host, lambda s: "*cake* in" in s.row(0)[:PANEL_WIDTH] and
                 "Searching in:" not in s, "results panel")
    host.key("Home", "Enter")  # ".." leaves the results
    host.wait(lambda s: "*cake* in" not in s.row(0), 30, "the folder again")
    return took


def find_file(host):
    host.key("M-F7")
    host.wait(lambda s: "Find file" in s, 10, "the Find file dialog")
    host.type("*0.jpg")
    host.wait(lambda s: "*0.jpg" in s, 10, "the mask")
    took = timed(host, lambda s: "Search done" in s, "end of the search")
    host.key("Escape")
    host.wait(lambda s: "Search done" not in s, 30, "the panels again")
    return took


def main():
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--folders", type=int, default=1000)
    parser.add_argument("--files", type=int, default=100)
    parser.add_argument("--runs", type=int, default=2)
    parser.add_argument("--root", default="/dev/shm/veltrane-realhost-tree")
    parser.add_argument("--work", default=os.path.join(SOURCE, "build", "bench-realhost"))
    args = parser.parse_args()
    tree = make_tree(args.root, args.folders, args.files)
    files = args.folders * args.files
    print(f"Tree: {args.folders:,} folders of {args.files} described files ({files:,}); "
          f"{files // 10:,} found by each search.\n")
    print("| Host | Run | Find by description `*cake*` | Find File `*0.jpg` |")
    print("|---|---:|---:|---:|")
    for kind, plugin in BUILDS.items():
        if not all(os.path.exists(p) for p in plugin):
            print(f"| {kind} | | skipped: no build | |")
            continue
        try:
            with Host(kind, plugin, args.work) as host:
                host.start(tree)
                for run in range(1, args.runs + 1):
                    ours = find_by_description(host)
                    theirs = find_file(host)
                    print(f"| {kind} | {run} | {ours:.2f} s | {theirs:.2f} s |", flush=True)
        except Unavailable as e:
            print(f"| {kind} | | skipped: {e} | |")
    return 0


if __name__ == "__main__":
    sys.exit(main())
