#!/usr/bin/env python3
"""End-to-end tests of Veltrane.dll, run in the stand-in host under Wine.

Each case starts panelhost.exe in a pseudo-terminal (util-linux `script`) with
a key script, lets the real DLL work on a real Win32 console and registry, and
then reads the state the host dumps into a file; the terminal stream itself is
never read.

    e2e.py --build DIR setup   prepares the private Wine prefix, once per build
    e2e.py --build DIR CASE    runs one case; `e2e.py --list` names them

Exit status: 0 passed, 1 failed, 77 skipped (Wine cannot run here).
E2E_WINE, E2E_HOST and E2E_PLUGIN replace the wine command, panelhost.exe and
Veltrane.dll, for trying other builds.
"""

import os
import shlex
import signal
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from scratch import private_folder, winpath  # noqa: E402

SKIP = 77
SOURCE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
EXAMPLES = os.path.join(SOURCE, "examples")
WIDTH, HEIGHT = 80, 25

BOX_TOP = b"\xC9\xCD\xCD\xCD Desc. Search \xCD\xCD\xCD\xBB"
BOX_BOTTOM = b"\xC8" + b"\xCD" * 20 + b"\xBC"
FIXED_FRAME, FIXED_TEXT = 0x70, 0x30

# The example folder in the host's order: folders first, then names.
RECIPE_ITEMS = {"cake.txt": 4, "pizza.txt": 19, "recipes.txt": 21, "soup.txt": 27}

# Opens the command menu and picks a command by its hot key.
SPEED_SEARCH = "F11 Enter d"
SELECT = "F11 Enter s"
UNSELECT = "F11 Enter u"


# ---- Running the host ----------------------------------------------------------


class Env:
    def __init__(self, build):
        self.build = os.path.abspath(build)
        self.wine = shlex.split(os.environ.get("E2E_WINE", "wine"))
        self.host = os.environ.get("E2E_HOST", os.path.join(self.build, "panelhost.exe"))
        self.plugin = os.environ.get("E2E_PLUGIN", os.path.join(self.build, "Veltrane.dll"))
        self.prefix = os.path.join(self.build, "e2e-wineprefix")
        self.unavailable = os.path.join(self.build, "e2e-wine-unavailable")
        self.vars = dict(os.environ, WINEPREFIX=self.prefix, WINEDEBUG="-all", LC_ALL="C.UTF-8")
        self.vars.setdefault("WINEARCH", "win32")


class Dump:
    """The host's dump: one fact a line, then the screen rows and colours."""

    def __init__(self, data):
        lines = data.split(b"\n")
        self.facts, self.log = {}, []
        i = 0
        while i < len(lines) and lines[i] != b"log":
            key, _, value = lines[i].decode("latin-1").partition(" ")
            self.facts[key] = value
            i += 1
        i += 1
        while i < len(lines) and lines[i].startswith(b"  "):
            self.log.append(lines[i][2:].decode("latin-1"))
            i += 1
        self.screen, i = self._rows(lines, i, b"screen")
        self.colours, i = self._colours(lines, i, b"attributes")
        self.flushed, i = self._rows(lines, i, b"flushed")
        self.flushed_colours, i = self._colours(lines, i, b"flushed-attributes")

    def _rows(self, lines, i, title):
        if i >= len(lines) or lines[i] != title:
            return [], i + 1
        height = int(self.facts["size"].split()[1])
        return lines[i + 1:i + 1 + height], i + 1 + height

    def _colours(self, lines, i, title):
        rows, i = self._rows(lines, i, title)
        return [bytes.fromhex(row.decode()) for row in rows], i

    def fact(self, key):
        return self.facts.get(key, "")

    @property
    def current(self):
        return int(self.fact("current").split()[0]) if self.fact("current") else -1

    @property
    def selected(self):
        return [int(x) for x in self.fact("selected").split()]

    @property
    def keys(self):
        return self.fact("keys").split()


def run_host(env, args, keys=None, timeout=120, size=True):
    """Runs the host in a pseudo-terminal; returns its exit status and its dump."""
    with private_folder("e2e-") as work:
        dump = os.path.join(work, "dump.txt")
        command = env.wine + [env.host]
        if size:
            command += ["--size", "%dx%d" % (WIDTH, HEIGHT)]
        command += ["--dump", winpath(dump)]
        if keys is not None:
            command += ["--keys", keys]
        command += args
        shell = " ".join(shlex.quote(part) for part in command)
        child = subprocess.Popen(["script", "-qec", shell, "/dev/null"], env=env.vars,
                                 stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL, start_new_session=True)
        try:
            child.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            os.killpg(child.pid, signal.SIGKILL)
            child.wait()
            raise AssertionError("the host did not finish within %d s: %s" % (timeout, shell))
        # script passes the status of the command it ran on.
        if not os.path.exists(dump):
            raise AssertionError("exit status %d and no dump from: %s" % (child.returncode, shell))
        with open(dump, "rb") as f:
            return child.returncode, Dump(f.read())


def run_examples(env, keys, extra=()):
    return run_host(env, ["--plugin", winpath(env.plugin)] + list(extra) + [winpath(EXAMPLES)],
                    keys)


# ---- Checking -------------------------------------------------------------------


class Check:
    def __init__(self):
        self.failures = []

    def equal(self, what, got, want):
        if got != want:
            self.failures.append("%s: got %r, want %r" % (what, got, want))

    def true(self, what, condition):
        if not condition:
            self.failures.append(what)


def box_origin(rect, height=HEIGHT):
    left, _, right, bottom = rect
    x0 = int((left + right) / 2) - 10
    y0 = bottom - 1 if bottom >= height - 2 else bottom
    return x0, y0


def check_box(check, dump, rect, text, frame, field):
    """The search box as the console showed it at the plug-in's last flush."""
    x0, y0 = box_origin(rect)
    rows, colours = dump.flushed, dump.flushed_colours
    check.true("the plug-in put its box on the console", len(rows) == HEIGHT)
    if len(rows) != HEIGHT:
        return
    text = text if isinstance(text, bytes) else text.encode()
    middle = b"\xBA " + text.ljust(18) + b" \xBA"
    for dy, line in enumerate([BOX_TOP, middle, BOX_BOTTOM]):
        y = y0 + dy
        if y >= HEIGHT:
            continue
        check.equal("box row %d at column %d" % (y, x0), rows[y][x0:x0 + 22], line)
        want = [frame] * 22
        if dy == 1:
            want[2:20] = [field] * 18
        check.equal("box colours on row %d" % y, list(colours[y][x0:x0 + 22]), want)
    cursor = [int(v) for v in dump.fact("cursor").split()]
    check.equal("console cursor after the search", cursor, [x0 + 2 + len(text), y0 + 1])


def screen_text(dump):
    return b"\n".join(dump.screen).decode("latin-1")


# ---- Cases: the host and its panel ----------------------------------------------------


def case_panel_shows_descriptions(env, check):
    status, dump = run_examples(env, "Down Down Ins End Home PgDn PgUp F10")
    check.equal("exit status", status, 0)
    check.equal("items (descript.ion itself is not listed)", dump.fact("items"), "34")
    check.equal("selected by Ins", dump.selected, [2])
    check.equal("cursor after PgDn and PgUp", dump.current, 0)
    text = screen_text(dump)
    for piece in ["Archive", "Old projects, zipped by year", "garden plan.bmp",
                  "Garden plan: vegetables on the south side", "Ins", "F11", "F10"]:
        check.true("the screen shows %r" % piece, piece in text)
    check.true("the frame is drawn with box characters", dump.screen[0][0:1] == b"\xC9")


def write_folder(root, files, descriptions):
    for name in files:
        with open(os.path.join(root, name), "w") as f:
            f.write(name)
    if descriptions is not None:
        with open(os.path.join(root, "descript.ion"), "wb") as f:
            f.write(descriptions)


def case_descript_ion_variants(env, check):
    with private_folder("e2e-") as folder:
        write_folder(folder, ["alpha.txt", "Beta.TXT", "with space.txt", "gamma.txt", "delta.txt"],
                     b"ALPHA.TXT   First letter\r\n"
                     b"beta.txt\tSecond letter   \r\n"
                     b"\"with space.txt\" Quoted name\n"
                     b"\"unclosed.txt Broken line\n"
                     b"\"\" empty name\n"
                     b"gamma.txt Third\x04\xC2extra data\n"
                     b"alpha.txt A later line does not win\n"
                     b"\n   \n")
        status, dump = run_host(env, ["--plugin", winpath(env.plugin), winpath(folder)], "F10")
        check.equal("exit status", status, 0)
        text = screen_text(dump)
        for piece in ["First letter", "Second letter", "Quoted name", "Third"]:
            check.true("the screen shows %r" % piece, piece in text)
        check.true("a later duplicate line is ignored", "A later line" not in text)
        check.true("extended data is cut off", "extra data" not in text)
        check.true("malformed lines are counted", "2 unreadable lines" in dump.fact("status"))

    with private_folder("e2e-") as folder:
        write_folder(folder, ["a.txt"], None)
        os.mkdir(os.path.join(folder, "descript.ion"))
        status, dump = run_host(env, ["--plugin", winpath(env.plugin), winpath(folder)], "F10")
        check.equal("exit status for an unreadable descript.ion", status, 3)
        check.true("the message names descript.ion", "descript.ion" in dump.fact("error"))


def case_host_refuses_missing_inputs(env, check):
    missing = os.path.join(env.build, "no-such-folder")
    status, dump = run_host(env, ["--plugin", winpath(env.plugin), winpath(missing)], "F10")
    check.equal("exit status for a missing folder", status, 3)
    check.true("the message names the folder", "no-such-folder" in dump.fact("error"))

    status, dump = run_host(env, ["--plugin", winpath(missing + ".dll"), winpath(EXAMPLES)], "F10")
    check.equal("exit status for a missing DLL", status, 4)
    check.true("the message names the DLL", "no-such-folder.dll" in dump.fact("error"))

    # A system DLL loads but exports none of the three entry points.
    status, dump = run_host(env, ["--plugin", "kernel32.dll", winpath(EXAMPLES)], "F10")
    check.equal("exit status for a DLL without the entry points", status, 4)
    check.true("the message names the entry point", "SetStartupInfo" in dump.fact("error"))

    status, dump = run_host(env, ["--plugin", winpath(env.plugin), winpath(EXAMPLES)], "NoSuchKey")
    check.equal("exit status for an unknown key name", status, 2)

    # Keys that run out inside the speed search leave it waiting: the host says so.
    status, dump = run_examples(env, SPEED_SEARCH + " r")
    check.equal("exit status of a stalled script", status, 6)
    check.equal("the dump of a stalled script", dump.fact("result"), "stalled")


def case_large_synthetic_panel(env, check):
    count = 1000000
    with private_folder("e2e-") as work:
        listing = os.path.join(work, "list.txt")
        with open(listing, "w") as f:
            for i in range(count - 1):
                f.write("item%07d\tdescription %d\n" % (i, i))
            f.write("last\tzz" + "x" * 65534 + "\n")
        keys = SPEED_SEARCH + " z z Enter End Ins F10"
        status, dump = run_host(env, ["--plugin", winpath(env.plugin), "--list", winpath(listing)],
                                keys, timeout=300)
    check.equal("exit status", status, 0)
    check.equal("items", dump.fact("items"), str(count))
    check.equal("the search finds the last item", dump.current, count - 1)
    check.equal("Ins on the last item", dump.selected, [count - 1])
    check.true("the host clamps the top line the plug-in asks for",
               "Control REDRAWPANEL 999999 999991 -> 999999 999982" in dump.log)
    check.true("the long description is drawn, cut to the column", "zzxxxx" in screen_text(dump))


# ---- Cases: the speed search ----------------------------------------------------------


def case_speed_search_typing_and_enter(env, check):
    status, dump = run_examples(env, SPEED_SEARCH + " r e Enter F10", ["--set-palette", "none"])
    check.equal("exit status", status, 0)
    check.equal("cursor on the first description starting with 're'", dump.current,
                RECIPE_ITEMS["cake.txt"])
    check.equal("keys the host received", dump.keys, ["F11", "Enter", "F10"])
    check.true("the ending Enter showed the found item",
               dump.fact("status").startswith("Enter: cake.txt"))
    check.true("the host clamps a negative top line",
               "Control REDRAWPANEL 4 -4 -> 4 0" in dump.log)
    check.equal("the last host call of the search", dump.log[-1], "Control REDRAWPANEL")
    check_box(check, dump, (0, 0, 79, 22), "re", FIXED_FRAME, FIXED_TEXT)


# A letter of the console's OEM code page reaches the search as that byte.
def case_speed_search_oem_letter(env, check):
    with private_folder("e2e-") as folder:
        write_folder(folder, ["apples.txt", "other.txt"],
                     b"apples.txt \x84pfel und Birnen\r\n"  # a-umlaut in code page 437
                     b"other.txt Something else\r\n")
        args = ["--plugin", winpath(env.plugin), "--set-palette", "none", winpath(folder)]
        status, dump = run_host(env, args, SPEED_SEARCH + " 0x84 p Enter F10")
        check.equal("exit status", status, 0)
        check.equal("a letter above 127 is searched for", dump.current, 0)
        check_box(check, dump, (0, 0, 79, 22), b"\x84p", FIXED_FRAME, FIXED_TEXT)


# The box sits a row higher on the console's last two rows: the buffer's
# height comes from the real console.
def case_search_box_on_the_last_rows(env, check):
    rect = (40, 2, 79, 24)
    extra = ["--set-palette", "none", "--rect", ",".join(map(str, rect))]
    status, dump = run_examples(env, SPEED_SEARCH + " w Enter F10", extra)
    check.equal("exit status", status, 0)
    check_box(check, dump, rect, "w", FIXED_FRAME, FIXED_TEXT)


# ---- Cases: selection ------------------------------------------------------------------


def case_select_and_unselect(env, check):
    recipes = sorted(RECIPE_ITEMS.values())
    keys = " ".join([
        SELECT, "R e c * Enter",
        UNSELECT, "R e c i p e : * Enter",
        SELECT, "Ctrl+Down Down Enter Enter",
        SELECT, "x Esc",
        "F10"])
    status, dump = run_examples(env, keys)
    check.equal("exit status", status, 0)
    check.equal("the selection at the end", dump.selected, recipes)
    dialogs = [line for line in dump.log if line.startswith("Dialog")]
    check.equal("the dialogs, their texts and results", dialogs, [
        "Dialog Description Select []",
        "Dialog -> 1 Description Select [Rec*]",
        "Dialog Description Unselect [Rec*]",
        "Dialog -> 1 Description Unselect [Recipe:*]",
        "Dialog Description Select [Recipe:*]",
        "Dialog -> 1 Description Select [Rec*]",
        "Dialog Description Select [Rec*]",
        "Dialog -> -1 Description Select [Rec*]",
    ])
    check.equal("SETSELECTION and a redraw after each dialog closed with Enter",
                dump.log.count("Control SETSELECTION"), 3)


def case_default_view_reads_the_description_file(env, check):
    """Items come without descriptions, as in the real host's default view:
    the plug-in reads examples/descript.ion itself."""
    no_descriptions = ["--no-descriptions"]
    status, dump = run_examples(env, SPEED_SEARCH + " r e c Ctrl+Enter Enter F10", no_descriptions)
    check.equal("exit status", status, 0)
    check.equal("typing and the next match find by the file's descriptions", dump.current,
                RECIPE_ITEMS["pizza.txt"])
    status, dump = run_examples(env, SELECT + " R e c i p e : * Enter F10", no_descriptions)
    check.equal("a mask selects by the file's descriptions", dump.selected,
                [RECIPE_ITEMS[n] for n in ("cake.txt", "pizza.txt", "soup.txt")])


CASES = {name[len("case_"):]: fn for name, fn in sorted(globals().items())
         if name.startswith("case_")}


# ---- Setup and main ---------------------------------------------------------------------


def setup(env):
    """Makes the private prefix; marks Wine unusable when it cannot start at all."""
    if os.path.exists(env.unavailable):
        os.remove(env.unavailable)
    try:
        probe = subprocess.run(env.wine + ["--version"], env=env.vars, capture_output=True,
                               timeout=60)
        usable, reason = probe.returncode == 0, probe.stderr.decode(errors="replace").strip()
    except (OSError, subprocess.TimeoutExpired) as error:
        usable, reason = False, str(error)
    if not usable:
        with open(env.unavailable, "w") as f:
            f.write("Wine cannot start on this machine (%s); a kernel without 32-bit "
                    "support (ia32_emulation off) cannot run 32-bit Wine.\n" % reason)
        print(open(env.unavailable).read(), end="")
        return SKIP
    if not os.path.exists(os.path.join(env.prefix, "system.reg")):
        subprocess.run(env.wine + ["wineboot", "-i"], env=env.vars, capture_output=True,
                       timeout=600)
    version = subprocess.run(env.wine + [env.host, "--version"], env=env.vars,
                             capture_output=True, timeout=120)
    if b"panelhost" not in version.stdout:
        print("panelhost.exe does not start under Wine: %r %r" % (version.stdout, version.stderr))
        return 1
    return 0


def main(argv, cases=None):
    """Runs setup or one case of cases (this file's own by default)."""
    cases = CASES if cases is None else cases
    if argv[1:] == ["--list"]:
        print("\n".join(cases))
        return 0
    if len(argv) != 4 or argv[1] != "--build":
        print(__doc__)
        return 2
    env, name = Env(argv[2]), argv[3]
    if name == "setup":
        return setup(env)
    if os.path.exists(env.unavailable):
        print("skipped: " + open(env.unavailable).read(), end="")
        return SKIP
    check = Check()
    try:
        cases[name](env, check)
    except (AssertionError, subprocess.SubprocessError) as error:
        check.failures.append(str(error))
    for failure in check.failures:
        print("FAILED: " + failure)
    return 1 if check.failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
