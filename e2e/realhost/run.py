#!/usr/bin/env python3
"""Runs one group of the real-host cases against one build of the plug-in.

    run.py --kind x64 --plugin DIR --work DIR GROUP MODE
    run.py --list

KIND is the host: x86 (Far 3 under 32-bit Wine), x64 (Far 3 under wine64) or
far2l (natively). --plugin names the files to install as the plug-in, or
folders whose files are installed (repeat it for files from several places).
--work is where the Windows hosts' Wine prefix is kept between runs; it may be
as deep as you like: each run's host copy, profile, folder and tmux socket go
into a short private folder under /tmp, removed at the end (or, after a killed
run, at the next one).
MODE is `default` (the host's Medium view, where the host hands no
descriptions to plug-ins) or `descriptions` (its Descriptions view).
The hosts come from ../shared/realhost beside the source tree, or from the
folder VELTRANE_REALHOST names (with x86/, x64/ and far2l/ inside).

Exit status: 0 passed, 1 failed, 77 skipped (with the reason).
"""

import argparse
import os
import shutil
import signal
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import cases  # noqa: E402
import fixture  # noqa: E402
from hostdriver import (KINDS, Host, Timeout, TmuxSilent, Unavailable, remove,  # noqa: E402
                        session_folder)

SKIP = 77
MODES = ("default", "descriptions")


def plugin_folder(paths, into):
    """One folder holding every file given, for reading the texts."""
    os.makedirs(into)
    for path in paths:
        files = ([os.path.join(path, f) for f in os.listdir(path)] if os.path.isdir(path)
                 else [path])
        for f in files:
            if os.path.isfile(f):
                shutil.copy2(f, into)
    return into


def run(args):
    group, needs = cases.GROUPS[args.group]
    missing = [p for p in args.plugin if not os.path.exists(p)]
    if missing:
        print(f"SKIP: no plug-in build at {', '.join(missing)}")
        return SKIP
    try:
        scratch = session_folder("case-")
    except OSError as e:
        print(f"FAIL: {e}")
        return 1
    try:
        plugin = plugin_folder(args.plugin, os.path.join(scratch, "plugin"))
        unicode = fixture.is_unicode_build(plugin)
        if needs.get("unicode") and not unicode:
            print("SKIP: the 1.x plug-in shows single-byte text only; "
                  "this group is for the Unicode builds")
            return SKIP
        language = needs.get("language", "English")
        texts = fixture.texts(plugin, language)
        if needs.get("tree"):
            folder = fixture.make_tree(os.path.join(scratch, "tree"))
        else:
            folder = fixture.make_folder(os.path.join(scratch, "folder"), unicode)
        macros = needs.get("macros")
        sample = fixture.sample_macros(plugin) if macros else None
        if macros and not sample:
            print("FAIL: the plug-in's package holds no sample macro file")
            return 1
        try:
            host = Host(args.kind, plugin, args.work, language=language,
                        macro_engine=bool(macros))
        except Unavailable as e:
            print(f"SKIP: {e}")
            return SKIP
        if sample:
            name, text = sample
            host.install_macros(name, text + (macros if args.kind == "far2l" else ""))
        with host:
            host.start(folder)
            host.view_mode(args.mode == "descriptions")
            shown = host.descriptions_shown()
            print(f"# {args.kind}, {args.mode} view mode: the host "
                  f"{'shows' if shown else 'does not show'} descriptions")
            group(cases.Session(host, texts))
            if not host.quit():
                raise cases.Failure(f"the host did not quit on F10, Enter\n{host.screen()}")
            print("ok - the host quits on F10, Enter")
        return 0
    except TmuxSilent:
        raise
    except (cases.Failure, Timeout, OSError) as e:
        print(f"FAIL: {e}")
        return 1
    finally:
        remove(scratch)


def once_more_if_tmux_silent(run_case, args):
    """run_case(args), started again once from scratch where tmux itself
    stops answering (see TmuxSilent)."""
    try:
        return run_case(args)
    except TmuxSilent as e:
        print(f"# {e}: the case starts again, once")
    try:
        return run_case(args)
    except TmuxSilent as e:
        print(f"FAIL: {e}")
        return 1


def main():
    # CTest and timeout(1) end a run with SIGTERM: leave through the context
    # managers, which end the host and its tmux server.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--kind", choices=KINDS)
    parser.add_argument("--plugin", action="append", default=[])
    parser.add_argument("--work", default=os.path.join(tempfile.gettempdir(), "veltrane-realhost"))
    parser.add_argument("--list", action="store_true")
    parser.add_argument("group", nargs="?", choices=sorted(cases.GROUPS))
    parser.add_argument("mode", nargs="?", choices=MODES, default="default")
    args = parser.parse_args()
    if args.list:
        print("\n".join(f"{g} {m}" for g in cases.GROUPS for m in MODES))
        return 0
    if not (args.kind and args.plugin and args.group):
        parser.error("--kind, --plugin and GROUP are needed")
    args.work = os.path.abspath(args.work)
    return once_more_if_tmux_silent(run, args)


if __name__ == "__main__":
    sys.exit(main())
