#!/usr/bin/env python3
"""End-to-end cases with hostile inputs: odd palette values in the registry,
a speed search left waiting for a key, which must not burn CPU while it
waits, and one with no console to read.

    hostile.py --build DIR CASE    runs one case; `hostile.py --list` names them

It reuses the runner of e2e.py (same prefix, same fixture) and its exit codes:
0 passed, 1 failed, 77 skipped.
"""

import os
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e  # noqa: E402

SPEED_SEARCH = e2e.SPEED_SEARCH
PALETTE_KEY = r"HKCU\Software\Far\Colors"


# ---- Palette values ------------------------------------------------------------------


def write_registry_value(env, kind, data):
    """Stores CurrentPalette with a registry type the host's own tool would not use."""
    subprocess.run(env.wine + ["reg", "add", PALETTE_KEY, "/v", "CurrentPalette", "/t", kind,
                               "/d", data, "/f"], env=env.vars, capture_output=True,
                   timeout=120, check=True)


def search_with_palette(env, check, what, extra, frame, field):
    status, dump = e2e.run_examples(env, SPEED_SEARCH + " s Enter F10", extra)
    check.equal("exit status with %s" % what, status, 0)
    check.equal("the search ended on Enter with %s" % what, dump.keys, ["F11", "Enter", "F10"])
    e2e.check_box(check, dump, (0, 0, 79, 22), "s", frame, field)


def case_palette_sizes_and_types(env, check):
    try:
        check_palettes(env, check)
    finally:
        # Later cases expect no palette of their own.
        subprocess.run(env.wine + ["reg", "delete", PALETTE_KEY, "/v", "CurrentPalette", "/f"],
                       env=env.vars, capture_output=True, timeout=120)


def check_palettes(env, check):
    # Which sizes give colours is tested with the 1.x gateway; here the real
    # registry's answers for a value of the limit's size, one byte over it,
    # and of other types.
    fixed = (e2e.FIXED_FRAME, e2e.FIXED_TEXT)
    # Exactly the 80 bytes read: both colours come from it.
    palette = bytearray([0x07] * 80)
    palette[23], palette[26] = 0x1E, 0x5F
    search_with_palette(env, check, "a palette of 80 bytes", ["--set-palette", palette.hex()],
                        0x1E, 0x5F)

    # One byte more than the 80 read: the read fails, so the fixed colours.
    palette.append(0x07)
    search_with_palette(env, check, "a palette of 81 bytes", ["--set-palette", palette.hex()],
                        *fixed)

    # A string value: its bytes are taken as they are ('A' + offset).
    text = "".join(chr(ord("A") + i) for i in range(40))
    write_registry_value(env, "REG_SZ", text)
    search_with_palette(env, check, "a string palette", [], ord("A") + 23, ord("A") + 26)

    # A number is too short for either colour.
    write_registry_value(env, "REG_DWORD", "0x12345678")
    search_with_palette(env, check, "a DWORD palette", [], *fixed)


# ---- A speed search without a console -------------------------------------------------


def case_search_without_console_input(env, check):
    # Standard input is no console: the search cannot read a key, so it ends
    # at once, has the panel redrawn and leaves every key to the host.
    status, dump = e2e.run_examples(env, SPEED_SEARCH + " r Enter F10", ["--no-console-input"])
    check.equal("exit status", status, 0)
    check.equal("the run ended, not stalled", dump.fact("result"), "ok")
    check.equal("the keys after the command reached the host", dump.keys,
                ["F11", "r", "Enter", "F10"])
    check.equal("the search asked for a redraw last", dump.log[-1], "Control REDRAWPANEL")
    check.equal("the cursor did not move", dump.fact("current").split()[0], "0")


# ---- A waiting speed search --------------------------------------------------------------


def cpu_seconds(pid):
    """User and system time of a process so far, or None once it is gone."""
    try:
        with open("/proc/%d/stat" % pid) as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")
    except (OSError, IndexError, ValueError):
        return None


def host_processes(name):
    found = set()
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/cmdline" % entry, "rb") as f:
                if name in f.read():
                    found.add(int(entry))
        except OSError:
            pass
    return found


def sample_cpu(name, samples, stop):
    """Records (time, {pid: CPU seconds}) of every process of the host's run
    (the terminal, the shell, Wine's loader and the host itself) until the
    run ends. Another test run may have a host of its own: only processes
    that are new are taken."""
    others = host_processes(name)
    while not stop.is_set():
        cpu = {}
        for pid in host_processes(name) - others:
            seconds = cpu_seconds(pid)
            if seconds is not None:
                cpu[pid] = seconds
        samples.append((time.monotonic(), cpu))
        time.sleep(0.25)


def cpu_used(first, last):
    """CPU seconds spent between two samples by the processes in both."""
    return sum(last[pid] - first[pid] for pid in first if pid in last)


def case_waiting_search_uses_no_cpu(env, check):
    # The keys run out inside the speed search: it waits on the console until
    # the host gives up on the script (about 8 s of silence) and dumps.
    samples, stop = [], threading.Event()
    sampler = threading.Thread(target=sample_cpu, args=(b"panelhost.exe", samples, stop))
    sampler.start()
    try:
        status, dump = e2e.run_examples(env, SPEED_SEARCH + " r")
    finally:
        stop.set()
        sampler.join()
    check.equal("the search was left waiting", dump.fact("result"), "stalled")
    running = [sample for sample in samples if sample[1]]
    check.true("the CPU of the host was sampled", len(running) > 10)
    if len(running) <= 10:
        return
    # The last seconds before the host gave up are all waiting.
    end = running[-1][0]
    window = [sample for sample in running if end - 6.0 <= sample[0] <= end - 0.5]
    elapsed = window[-1][0] - window[0][0]
    used = cpu_used(window[0][1], window[-1][1])
    check.true("a waiting search used %.2f s of CPU in %.1f s" % (used, elapsed),
               elapsed >= 3.0 and used < elapsed / 10)


CASES = {name[len("case_"):]: fn for name, fn in sorted(globals().items())
         if name.startswith("case_")}


if __name__ == "__main__":
    sys.exit(e2e.main(sys.argv, CASES))
