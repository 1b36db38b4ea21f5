"""Drives a real host (Far 3 x86 or x64 under Wine, or far2l natively) in tmux.

A Host makes a private copy of the host folder with the plug-in installed and
a private profile, in a short private folder (see ../scratch.py), and
(for the Windows hosts) a Wine prefix shared by every run in the same work
folder. It starts the host on a 100x30 tmux screen on a private
tmux socket, sends keys, polls the screen and reads what it shows: the item
under the cursor, the selected items (drawn in yellow) and the selection line.

Where a host cannot run here (its folder is missing, or 32-bit programs cannot
start) the constructor raises Unavailable with the reason.
"""

import os
import re
import select
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from scratch import end_process, processes_under, remove, session_folder, winpath  # noqa: E402

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
DEFAULT_REALHOST = os.path.join(os.path.dirname(SOURCE), "shared", "realhost")
KINDS = ("x86", "x64", "far2l")
WIDTH, HEIGHT = 100, 30

# The default layout on 100x30: two panels of 50 columns; in each, row 0 the
# title, row 1 the column titles, rows 2-24 the items, row 25 the separator
# (the selection line while items are selected), row 26 the item under the
# cursor, row 27 the bottom frame with the folder's totals.
PANEL_WIDTH = WIDTH // 2
FIRST_ITEM_ROW, LAST_ITEM_ROW = 2, 24
SELECTION_ROW, STATUS_ROW = 25, 26

WINE64 = "/usr/lib/wine/wine64"
WINESERVER64 = "/usr/lib/wine/wineserver64"

# A terminal's Escape is a prefix of every function key: the host (far2l's
# --ee, Wine's console) takes a lone ESC as the Escape key only after a pause.
ESCAPE_PAUSE = 0.25
POLL = 0.01
# Wine's console reads Home and End only in these forms, not in tmux's.
WINE_KEYS = {"Home": "\x1b[H", "End": "\x1b[F"}


# far2l's first start with a new profile: its help, then the clipboard question.
FAR2L_GREETINGS = ("OSC52", "Help - FAR2L", "Помощь - FAR2L")


class Unavailable(Exception):
    """The host cannot run on this machine; the message says why."""


class Timeout(AssertionError):
    pass


def realhost_root():
    return os.path.abspath(os.environ.get("VELTRANE_REALHOST", DEFAULT_REALHOST))


# ---- Screen --------------------------------------------------------------------

_SGR = re.compile(r"\x1b\[([0-9;:]*)m")
_BASIC = [(0, 0, 0), (205, 0, 0), (0, 205, 0), (205, 205, 0), (0, 0, 238), (205, 0, 205),
          (0, 205, 205), (229, 229, 229), (127, 127, 127), (255, 0, 0), (0, 255, 0),
          (255, 255, 0), (92, 92, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def _xterm256(n):
    if n < 16:
        return _BASIC[n]
    if n < 232:
        n -= 16
        steps = [0, 95, 135, 175, 215, 255]
        return (steps[n // 36], steps[n // 6 % 6], steps[n % 6])
    grey = 8 + 10 * (n - 232)
    return (grey, grey, grey)


def _apply_sgr(params, fg, bg):
    codes = [int(p) if p else 0 for p in re.split(r"[;:]", params)] if params else [0]
    i = 0
    while i < len(codes):
        c = codes[i]
        if c == 0:
            fg = bg = None
        elif 30 <= c <= 37:
            fg = _BASIC[c - 30]
        elif 90 <= c <= 97:
            fg = _BASIC[c - 90 + 8]
        elif 40 <= c <= 47:
            bg = _BASIC[c - 40]
        elif 100 <= c <= 107:
            bg = _BASIC[c - 100 + 8]
        elif c == 39:
            fg = None
        elif c == 49:
            bg = None
        elif c in (38, 48) and i + 1 < len(codes):
            if codes[i + 1] == 5 and i + 2 < len(codes):
                colour, i = _xterm256(codes[i + 2]), i + 2
            elif codes[i + 1] == 2 and i + 4 < len(codes):
                colour, i = tuple(codes[i + 2 : i + 5]), i + 4
            else:
                colour = None
            if c == 38:
                fg = colour
            else:
                bg = colour
        i += 1
    return fg, bg


def is_yellow(rgb):
    return rgb is not None and rgb[0] >= 200 and rgb[1] >= 200 and rgb[2] <= 100


def is_cyan(rgb):
    return rgb is not None and rgb[0] <= 60 and rgb[1] >= 100 and rgb[2] >= 100


class Screen:
    """One capture: rows of text and, per cell, the foreground and background
    as RGB (None for the terminal's default)."""

    def __init__(self, captured):
        self.rows, self.fg, self.bg = [], [], []
        for line in captured.split("\n")[:HEIGHT]:
            text, fgs, bgs = [], [], []
            fg = bg = None
            pos = 0
            for m in _SGR.finditer(line):
                for ch in line[pos : m.start()]:
                    text.append(ch), fgs.append(fg), bgs.append(bg)
                fg, bg = _apply_sgr(m.group(1), fg, bg)
                pos = m.end()
            for ch in re.sub(r"\x1b\[[0-9;?]*[A-Za-z]", "", line[pos:]):
                text.append(ch), fgs.append(fg), bgs.append(bg)
            self.rows.append("".join(text))
            self.fg.append(fgs)
            self.bg.append(bgs)
        while len(self.rows) < HEIGHT:
            self.rows.append(""), self.fg.append([]), self.bg.append([])

    @property
    def text(self):
        return "\n".join(self.rows)

    def __contains__(self, needle):
        return needle in self.text

    def row(self, y):
        return self.rows[y] if 0 <= y < len(self.rows) else ""

    def cells(self, y, x0, x1):
        """Text of row y, columns x0..x1-1."""
        return self.row(y)[x0:x1]

    def panel(self, y, side=0):
        """The inside of the left (0) or right (1) panel on row y."""
        x0 = side * PANEL_WIDTH
        return self.cells(y, x0 + 1, x0 + PANEL_WIDTH - 1)

    def find(self, needle):
        """(row, column) of the first occurrence, or None."""
        for y, text in enumerate(self.rows):
            x = text.find(needle)
            if x >= 0:
                return y, x
        return None

    def yellow_at(self, y, x):
        return x < len(self.fg[y]) and is_yellow(self.fg[y][x])

    def __str__(self):
        return "\n".join(f"{y:2} |{r}" for y, r in enumerate(self.rows))


def name_key(text):
    """What is left of an item name in any view mode: the Descriptions mode
    shows the extension in a column of its own, far2l adds a mark column."""
    return re.sub(r"[\s.]", "", text).lower()


# ---- tmux ----------------------------------------------------------------------


class TmuxSilent(OSError):
    """tmux itself stopped answering: seen a few times in some hundred runs,
    with the host and the plug-in still drawing; the terminal, not what is
    tested."""


class Control:
    """One tmux client in control mode: a command and its output cost about
    0.2 ms, where starting a tmux process per command costs about 8 ms. That
    is what lets the benchmark poll the screen tightly."""

    def __init__(self, argv, env, timeout=30):
        self.proc = subprocess.Popen(argv + ["-C", "attach-session", "-t", "host"], env=env,
                                     stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     stderr=subprocess.DEVNULL, bufsize=0)
        self.fd, self.buffer, self.timeout = self.proc.stdout.fileno(), b"", timeout
        deadline = time.monotonic() + timeout
        while not self._attached():
            if time.monotonic() > deadline:
                raise OSError("the tmux control client does not attach")
            time.sleep(0.01)

    def _attached(self):
        """Commands may run before the client is attached, and the attach's
        own reply comes at a time of its own: a marker after a command that
        needs the client tells both where the replies stand and whether it
        is attached. The command keeps pane output from this client."""
        marker = f"veltrane-{os.getpid()}-{time.monotonic_ns()}"
        self.proc.stdin.write(f"refresh-client -f no-output\ndisplay-message -p {marker}\n"
                              .encode())
        attached = True
        while True:
            ok, lines = self._read_block()
            if lines == [marker]:
                return attached
            attached = attached and ok

    def command(self, line):
        """Runs one command; returns its output lines, or raises OSError on
        a tmux error or when tmux does not answer."""
        self.proc.stdin.write(line.encode() + b"\n")
        ok, lines = self._read_block()
        if not ok:
            raise OSError("\n".join(lines))
        return lines

    def _readline(self):
        while b"\n" not in self.buffer:
            ready, _, _ = select.select([self.fd], [], [], self.timeout)
            chunk = os.read(self.fd, 65536) if ready else None
            if not chunk:
                if chunk is None:
                    raise TmuxSilent(f"tmux does not answer in {self.timeout} s")
                raise OSError("tmux ended")
            self.buffer += chunk
        line, _, self.buffer = self.buffer.partition(b"\n")
        return line

    def _read_block(self):
        """(succeeded, output lines) of the next command; notifications
        between the blocks are skipped."""
        lines, inside = [], False
        while True:
            raw = self._readline()
            if raw.startswith((b"%end", b"%error")) and inside:
                text = [x.decode("utf-8", errors="replace") for x in lines]
                return raw.startswith(b"%end"), text
            if raw.startswith(b"%begin"):
                lines, inside = [], True
            elif inside:
                lines.append(raw)

    def close(self):
        try:
            self.proc.stdin.close()
            self.proc.wait(timeout=5)
        except (OSError, subprocess.TimeoutExpired):
            self.proc.kill()


def _quote(arg):
    return '"' + arg.replace("\\", "\\\\").replace('"', '\\"').replace("$", "\\$") + '"'


# ---- Host ----------------------------------------------------------------------


class Host:
    """One run of a host. Use as a context manager: leaving it quits the host
    and ends everything it started."""

    def __init__(self, kind, plugin, work, language="English", macro_engine=False):
        """kind: x86, x64 or far2l. plugin: files and folders (whose files)
        to install as the plug-in, or None. work: a folder of our own where
        the Wine prefix lives between runs (its path may be of any length).
        macro_engine: the Windows hosts get their macro engine (LuaMacro) from
        ../macro-engine beside them; far2l has its own built in."""
        if kind not in KINDS:
            raise ValueError(f"unknown host kind {kind!r}")
        self.kind, self.language = kind, language
        self.work = os.path.abspath(work)
        self.source = os.path.join(realhost_root(), kind)
        self._check_available()
        engine = os.path.join(realhost_root(), "macro-engine", kind)
        if macro_engine and kind != "far2l" and not os.path.isdir(engine):
            raise Unavailable(f"no macro engine for the {kind} host at {engine}")
        os.makedirs(self.work, exist_ok=True)
        self.tmp = session_folder(f"realhost-{kind}-")
        self.copy = os.path.join(self.tmp, "host")
        self.profile = os.path.join(self.tmp, "profile")
        self.socket = os.path.join(self.tmp, "tmux.sock")
        self.prefix = os.path.join(self.work, f"wineprefix-{kind}")
        self.pid, self.control = None, None
        self.env = dict(os.environ, LC_ALL="C.UTF-8", LANG="C.UTF-8", TERM="xterm-256color")
        self.env.pop("TMUX", None)
        if kind != "far2l":
            self.env.update(WINEPREFIX=self.prefix, WINEDEBUG="-all")
            if kind == "x64":
                self.env.update(WINEARCH="win64", WINELOADER=WINE64, WINESERVER=WINESERVER64)
            else:
                self.env.update(WINEARCH="win32")
        try:
            shutil.copytree(self.source, self.copy, symlinks=True)
            if macro_engine and kind != "far2l":
                shutil.copytree(engine, self.copy, symlinks=True, dirs_exist_ok=True)
            os.makedirs(self.profile)
            if plugin:
                self.install(plugin)
        except BaseException:
            remove(self.tmp)
            raise

    # -- Availability and setup --

    def _check_available(self):
        exe = "far2l" if self.kind == "far2l" else "Far.exe"
        if not os.path.isfile(os.path.join(self.source, exe)):
            raise Unavailable(
                f"no host at {self.source} (set VELTRANE_REALHOST to a folder holding "
                f"x86/Far.exe, x64/Far.exe or far2l/far2l)")
        if not shutil.which("tmux"):
            raise Unavailable("tmux is not installed")
        if self.kind == "x64" and not os.access(WINE64, os.X_OK):
            raise Unavailable(f"64-bit Wine ({WINE64}) is not installed")
        if self.kind == "x86":
            self._check_wine32()

    def write_profile(self, path, data):
        """Puts a file into the host's private settings before it starts:
        far2l keeps its settings under .config/ in the -u folder."""
        full = os.path.join(self.profile, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "wb") as f:
            f.write(data)

    @staticmethod
    def _check_wine32():
        if not shutil.which("wine"):
            raise Unavailable("Wine is not installed")
        try:
            run = subprocess.run(["wine", "--version"], capture_output=True, text=True,
                                 timeout=60, env=dict(os.environ, WINEDEBUG="-all"))
        except (OSError, subprocess.TimeoutExpired) as e:
            raise Unavailable(f"32-bit Wine does not start: {e}")
        if run.returncode != 0:
            why = (run.stderr.strip().splitlines() or ["exit status %d" % run.returncode])[-1]
            raise Unavailable(f"32-bit Wine cannot run on this machine (no 32-bit programs "
                              f"on this kernel?): {why}")

    def install(self, plugin):
        """Copies the plug-in where the host looks for it: Plugins/Veltrane/
        beside Far.exe, Plugins/Veltrane/plug/ beside far2l."""
        dest = os.path.join(self.copy, "Plugins", "Veltrane")
        if self.kind == "far2l":
            dest = os.path.join(dest, "plug")
        os.makedirs(dest, exist_ok=True)
        for path in [plugin] if isinstance(plugin, str) else plugin:
            if os.path.isdir(path):
                files = [os.path.join(path, f) for f in sorted(os.listdir(path))]
                files = [f for f in files if os.path.isfile(f)]
            elif os.path.isfile(path):
                files = [path]
            else:
                raise Unavailable(f"no plug-in at {path}")
            for f in files:
                shutil.copy2(f, dest)
        self.plugin_dir = dest

    def install_macros(self, name, text):
        """A macro file the host loads at its start: into the profile's
        Macros\\scripts for the macro engine of the Windows hosts, as
        settings/key_macros.ini of the profile for far2l."""
        if self.kind == "far2l":
            path = os.path.join(self.profile, ".config", "settings", "key_macros.ini")
        else:
            path = os.path.join(self.profile, "Macros", "scripts", name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)

    def _prepare_prefix(self):
        """A new Wine prefix takes 10 s or more: make it once, outside any
        timing, and mark it done."""
        stamp = os.path.join(self.prefix, ".veltrane-ready")
        if os.path.exists(stamp):
            return
        wine = WINE64 if self.kind == "x64" else "wine"
        run = subprocess.run([wine, "wineboot", "-i"], env=self.env, capture_output=True,
                             timeout=600)
        if run.returncode != 0:
            raise Unavailable(f"wineboot failed: {run.stderr.decode(errors='replace')[-300:]}")
        subprocess.run([self.env.get("WINESERVER", "wineserver"), "-w"], env=self.env,
                       timeout=120)
        open(stamp, "w").close()

    # -- Starting and ending --

    def _command(self, left, right, extra):
        options = list(extra)
        if self.language != "English":
            options += [f"-set:Language.Main={self.language}",
                        f"-set:Language.Help={self.language}"]
        q = lambda s: "'" + s.replace("'", "'\\''") + "'"
        if self.kind == "far2l":
            args = ["./far2l", "--tty", "--mortal", "--nodetect", "-u", self.profile]
            args += options + [left, right]
            return f"cd {q(self.copy)} && exec " + " ".join(map(q, args)) + " 2>/dev/null"
        wine = WINE64 if self.kind == "x64" else "wine"
        profile = winpath(self.profile)
        args = [wine, "Far.exe", "-ro", *options, "-s", profile, profile,
                winpath(left), winpath(right)]
        return (f"stty susp undef; cd {q(self.copy)} && exec " + " ".join(map(q, args))
                + " 2>/dev/null")

    def tmux(self, *args, check=True):
        return subprocess.run(["tmux", "-u", "-S", self.socket, *args], env=self.env,
                              capture_output=True, text=True, check=check)

    def start(self, left, right=None, extra=(), timeout=120):
        """Starts the host with the left panel (active) on `left` and waits
        until the panels are up and no first-start window is left."""
        if self.kind != "far2l":
            self._prepare_prefix()
        right = right or os.path.join(self.tmp, "empty")
        os.makedirs(right, exist_ok=True)
        self.left = os.path.abspath(left)
        self.tmux("new-session", "-d", "-s", "host", "-x", str(WIDTH), "-y", str(HEIGHT),
                  self._command(self.left, right, extra))
        self.pid = int(self.tmux("display-message", "-p", "-t", "host", "#{pane_pid}").stdout)
        self.control = Control(["tmux", "-u", "-S", self.socket], self.env)
        self._settle(timeout)
        return self

    def _settle(self, timeout):
        """Waits for both panels. far2l greets a new profile with its help
        and a question about the clipboard: Escape closes both."""
        deadline = time.monotonic() + timeout
        while True:
            s = self.screen()
            framed = s.row(0).startswith("╔") and s.row(HEIGHT - 3).startswith("╚")
            greeting = next((g for g in FAR2L_GREETINGS if g in s), None)
            if greeting:
                self.key("Escape")
                try:  # an Escape sent while far2l still starts up is lost: send another
                    self.wait(lambda s: greeting not in s, 3, f"{greeting!r} to go")
                except Timeout:
                    pass
            elif framed and self._panel_drawn(s):
                return
            elif time.monotonic() > deadline:
                raise Timeout(f"{self.kind}: the panels did not come up\n{s}")
            if not self.alive():
                raise Timeout(f"{self.kind}: the host ended at start\n{s}")
            time.sleep(0.05)

    @staticmethod
    def _panel_drawn(s):
        return bool(s.panel(STATUS_ROW).strip()) and not s.row(1).startswith("╔")

    def alive(self):
        return self.tmux("has-session", "-t", "host", check=False).returncode == 0

    def quit(self, timeout=30):
        """F10 and Enter, as a user quits; True if the host ended."""
        if not self.control or not self.alive():
            return True
        self.key("F10")
        try:
            # "Do you want to quit Far?", "... FAR?"; in Russian too it ends so.
            self.wait(lambda s: "Far?" in s or "FAR?" in s, 10, "the quit question")
        except Timeout:
            return False
        self.key("Enter")
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if not self.alive():
                return True
            time.sleep(0.05)
        return False

    def close(self):
        """Ends whatever is left: the tmux server, the host's process and,
        for Wine, the private prefix's wineserver."""
        if self.control:
            self.control.close()
        self.tmux("kill-server", check=False)
        if self.pid:
            end_process(self.pid)
        for pid in processes_under(self.tmp):
            end_process(pid)
        if self.kind != "far2l" and os.path.isdir(self.prefix):
            subprocess.run([self.env.get("WINESERVER", "wineserver"), "-k"], env=self.env,
                           capture_output=True, timeout=60)
        remove(self.tmp)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        try:
            self.quit()
        finally:
            self.close()

    # -- Keys --

    def key(self, *names):
        """tmux key names, one send each (Enter, Escape, F11, Down, BSpace, IC,
        C-j for the character 10: a terminal has no Ctrl+Enter, M-z for Alt+Z)."""
        for name in names:
            if self.kind != "far2l" and name in WINE_KEYS:
                self.type(WINE_KEYS[name])
                continue
            self.control.command(f"send-keys -t host {_quote(name)}")
            if name in ("Escape", "Esc"):
                time.sleep(ESCAPE_PAUSE)

    def type(self, text):
        """Text as typed, any characters (sent as UTF-8)."""
        self.control.command(f"send-keys -t host -l {_quote(text)}")

    # -- Reading the screen --

    def screen(self):
        return Screen("\n".join(self.control.command("capture-pane -p -e -t host")))

    def rows(self, first, last):
        """The text of rows first..last alone: the cheapest look."""
        return self.control.command(f"capture-pane -p -t host -S {first} -E {last}")

    def wait(self, predicate, timeout=10, what="the screen to change"):
        """Polls until predicate(text) or predicate(Screen) holds; returns the
        Screen; `needle in screen` tests the text."""
        deadline = time.monotonic() + timeout
        while True:
            s = self.screen()
            if predicate(s):
                return s
            if time.monotonic() > deadline:
                raise Timeout(f"{self.kind}: timed out waiting for {what}\n{s}")
            time.sleep(POLL)

    def wait_text(self, needle, timeout=10):
        return self.wait(lambda s: needle in s.text, timeout, repr(needle))

    def wait_gone(self, needle, timeout=10):
        return self.wait(lambda s: needle not in s.text, timeout, f"{needle!r} to go")

    def cursor_name(self, names, screen=None):
        """The item under the cursor as the status row names it, picked from
        `names` (longest first, since one name may begin another)."""
        text = (screen or self.screen()).panel(STATUS_ROW).strip()
        for name in sorted(names, key=len, reverse=True):
            if text == name or text.startswith(name + " "):
                return name
        return None

    def wait_cursor(self, name, names, timeout=10):
        return self.wait(lambda s: self.cursor_name(names, s) == name, timeout,
                         f"the cursor on {name!r}")

    def selection(self, screen=None):
        """(bytes, files) from the active panel's selection line, or None
        while nothing is selected."""
        return parse_selection((screen or self.screen()).panel(SELECTION_ROW))

    def selected(self, names, screen=None):
        """The names among `names` drawn in yellow in the left panel."""
        s = screen or self.screen()
        keys = {name_key(n): n for n in names}
        found = set()
        for y in range(FIRST_ITEM_ROW, LAST_ITEM_ROW + 1):
            cells = s.panel(y)
            column = re.split(r"[│║]", cells)[0]
            name = keys.get(name_key(column))
            start = len(column) - len(column.lstrip())
            if name and any(s.yellow_at(y, 1 + x) for x in range(start, len(column.rstrip()))):
                found.add(name)
        return found

    def descriptions_shown(self, screen=None):
        s = screen or self.screen()
        return any(w in s.panel(1) for w in ("Description", "Описание"))

    # -- View modes --

    def view_mode(self, descriptions):
        """Picks the left panel's view mode from its menu (F9, Enter): the
        Descriptions mode (6th item) or the default Medium one (2nd). The
        items are reached by position, so this works in any language."""
        if self.descriptions_shown() == descriptions:
            return
        self.key("F9")
        self.wait(lambda s: s.row(0).lstrip().startswith(("Left", "Левая", "Лев")) or
                  "Files" in s.row(0), 10, "the menu bar")
        self.key("Enter")
        self.wait(lambda s: "Ctrl+6" in s.text, 10, "the Left menu")
        self.key("PPage")
        for _ in range(5 if descriptions else 1):
            self.key("Down")
        self.key("Enter")
        self.wait(lambda s: self.descriptions_shown(s) == descriptions and "Ctrl+6" not in s.text,
                  10, "the view mode to change")


_SELECTION_PATTERNS = [
    re.compile(r"Bytes: ([\d ,.\u00a0]+)\w*, files: (\d+)"),       # Far 3, English
    re.compile(r"Байт: ([\d ,.\u00a0]+)\w*, файлов: (\d+)"),       # Far 3, Russian
    re.compile(r"([\d ,.\u00a0]+) bytes? in (\d+) files?"),         # far2l, English
    re.compile(r"([\d ,.\u00a0]+) байт\w* в (\d+) файл"),           # far2l, Russian
]


def parse_selection(line):
    for pattern in _SELECTION_PATTERNS:
        m = pattern.search(line)
        if m:
            return int(re.sub(r"\D", "", m.group(1))), int(m.group(2))
    return None
