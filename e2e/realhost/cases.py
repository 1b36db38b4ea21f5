"""The real-host cases: the plug-in driven by keys, checked on the screen.

Each group runs in one host session, step after step; a step waits for what
it expects (the cursor on an item, a box, a dialog) and fails with the
screen when it does not come. The same groups run for every build and in
both view modes; the Unicode and Russian groups need a Unicode build.
"""

import re
import time

from fixture import BIG_FOLDERS, BOX_TITLE, NAMES, SIZES, TREE
from hostdriver import PANEL_WIDTH, STATUS_ROW, Timeout

SPEED_SEARCH, SELECT, UNSELECT, FIND = 0, 1, 2, 3


class Failure(AssertionError):
    pass


class Session:
    """One group's view of the host: the plug-in's commands as a user picks
    them, and what the screen says about them."""

    def __init__(self, host, texts, log=print):
        self.host, self.texts, self.log = host, texts, log

    def ok(self, what):
        self.log(f"ok - {what}")

    def check(self, condition, what, screen=None):
        if not condition:
            raise Failure(f"{what}\n{screen or self.host.screen()}")
        self.ok(what)

    # -- Reaching the commands --

    def plugins_menu(self):
        self.host.key("F11")
        return self.host.wait(lambda s: self.texts["title"] in s, 10, "the plug-ins menu")

    def command(self, index):
        """F11, Enter on the plug-in's entry (the only one), then the
        command by its place in the menu, so that any language works."""
        self.plugins_menu()
        self.host.key("Enter")
        self.host.wait(lambda s: all(c in s for c in self.texts["commands"]), 10,
                       "the command menu")
        self.host.key("PPage")
        for _ in range(index):
            self.host.key("Down")
        self.host.key("Enter")

    def open_search(self):
        self.command(SPEED_SEARCH)
        return self.host.wait(lambda s: BOX_TITLE in s, 10, "the search box")

    def open_mask_dialog(self, index):
        title = self.texts["select_title" if index == SELECT else "unselect_title"]
        self.command(index)
        return self.host.wait(lambda s: title in s, 10, f"the dialog {title!r}")

    def apply_mask(self, index, mask):
        """Opens the dialog, types the mask over the kept one, Enter."""
        self.open_mask_dialog(index)
        self.host.type(mask)
        self.host.wait(lambda s: mask in s, 10, f"the mask {mask!r} in the field")
        self.host.key("Enter")
        return self.dialog_closed()

    def dialog_closed(self):
        titles = (self.texts["select_title"], self.texts["unselect_title"])
        return self.settle(lambda s: not any(t in s for t in titles))

    # -- Reading --

    @staticmethod
    def box_text(screen):
        """The search text, from the row under the box's title; None when
        no box is shown."""
        at = screen.find(BOX_TITLE)
        if not at:
            return None
        y, x = at
        left = screen.row(y).rfind("╔", 0, x)
        return screen.row(y + 1)[left + 1 : left + 21].strip()

    def cursor(self, screen=None):
        return self.host.cursor_name(NAMES, screen)

    def selected(self, screen=None):
        return self.host.selected(NAMES, screen)

    def settle(self, predicate=lambda s: True, quiet=0.4, timeout=10):
        """Waits for predicate, then until the screen stops changing for
        `quiet` seconds: for steps whose effect is that nothing happens, the
        only proof the key was handled is a screen that stays as it was.
        The clock in the top row is left out."""
        s = self.host.wait(predicate, timeout)
        last, since = s.rows[1:], time.monotonic()
        deadline = since + timeout
        while time.monotonic() - since < quiet:
            if time.monotonic() > deadline:
                raise Timeout(f"the screen kept changing\n{s}")
            time.sleep(0.02)
            s = self.host.screen()
            if s.rows[1:] != last:
                last, since = s.rows[1:], time.monotonic()
        return s

    def wait_search(self, text, cursor):
        """Waits for the box to show `text` with the cursor on `cursor`."""
        return self.host.wait(lambda s: self.box_text(s) == text and self.cursor(s) == cursor,
                              10, f"search text {text!r} with the cursor on {cursor}")

    def expect_selection(self, names, screen):
        self.check(self.selected(screen) == set(names),
                   f"selected in yellow: {sorted(names)}", screen)
        line = self.host.selection(screen)
        want = (sum(SIZES[n] for n in names), len(names)) if names else None
        self.check(line == want, f"selection line reads {want}", screen)


# ---- Groups --------------------------------------------------------------------


def group_menu(t):
    s = t.plugins_menu()
    row = next(r for r in s.rows if t.texts["title"] in r)
    entry = next(cell for cell in row.split("║") if t.texts["title"] in cell)
    t.ok(f"F11 lists the plug-in: {entry.strip()!r}")
    t.host.key("Enter")
    s = t.host.wait(lambda s: all(c in s for c in t.texts["commands"]), 10, "the command menu")
    t.ok("the command menu lists " + ", ".join(t.texts["commands"]))
    t.host.key("Escape")
    s = t.settle(lambda s: t.texts["commands"][0] not in s)
    t.check(t.cursor(s) == "..", "Esc closes the command menu and leaves the panel as it was", s)


def group_speed_search(t):
    s = t.open_search()
    t.check(t.box_text(s) == "" and t.cursor(s) == "..", "the box opens empty", s)
    t.host.type("a")
    t.wait_search("a", "bravo.txt")
    t.ok("typing 'a' moves the cursor to the first description starting with it")
    t.host.type("p")
    t.wait_search("ap", "bravo.txt")
    t.ok("a second letter that still matches keeps the item")
    for target in ("charlie.txt", "hotel.txt", "bravo.txt"):
        t.host.key("C-j")
        t.wait_search("ap", target)
        t.ok(f"the next match (character 10) moves on to {target}")
    t.ok("the next match wraps from the last match to the first")
    t.host.type("x")
    s = t.settle()
    t.check(t.box_text(s) == "ap" and t.cursor(s) == "bravo.txt",
            "a letter no description continues with is refused", s)
    t.host.key("BSpace")
    t.wait_search("a", "bravo.txt")
    t.ok("Backspace takes the last letter back and the cursor stays")
    t.host.key("Escape")
    s = t.settle(lambda s: BOX_TITLE not in s)
    t.check(t.cursor(s) == "bravo.txt", "Esc closes the box and the cursor stays", s)
    t.open_search()
    t.host.type("ban")
    t.wait_search("ban", "delta.txt")
    t.host.key("Down")
    s = t.settle(lambda s: BOX_TITLE not in s)
    t.check(t.cursor(s) == "descript.ion",
            "Down ends the search and reaches the panel: the cursor moves on from delta.txt", s)


def group_select(t):
    s = t.apply_mask(SELECT, "*recipe")
    t.expect_selection(["bravo.txt", "charlie.txt"], s)
    t.open_mask_dialog(SELECT)
    s = t.host.wait(lambda s: "*recipe" in s, 10, "the kept mask")
    t.ok("the dialog opens with the last mask")
    t.host.type("apricot*")
    t.host.wait(lambda s: "apricot*" in s and "*recipe" not in s, 10, "the new mask")
    t.ok("typing replaces the kept mask")
    t.host.key("Enter")
    s = t.dialog_closed()
    t.expect_selection(["bravo.txt", "charlie.txt", "hotel.txt"], s)
    t.open_mask_dialog(UNSELECT)
    t.host.wait(lambda s: "apricot*" in s, 10, "the kept mask in the unselect dialog")
    t.ok("the unselect dialog opens with the select dialog's last mask")
    t.host.key("Enter")
    s = t.dialog_closed()
    t.expect_selection(["bravo.txt", "charlie.txt"], s)
    t.ok("unselect with the kept mask takes out only its items")
    t.open_mask_dialog(SELECT)
    t.host.type("zebra*")  # begins no earlier mask: no history list drops down
    t.host.wait(lambda s: "zebra*" in s, 10, "the mask 'zebra*'")
    t.host.key("Escape")
    s = t.dialog_closed()
    t.expect_selection(["bravo.txt", "charlie.txt"], s)
    t.ok("Esc in the dialog changes nothing")
    group_help(t)


def group_help(t):
    title = t.texts["help_title"]
    if not title:
        raise Failure("no help file with the DescSel topic in the plug-in's folder")
    t.open_mask_dialog(SELECT)
    t.host.key("F1")
    t.host.wait(lambda s: title in s, 10, f"the help topic {title!r}")
    t.ok(f"F1 in the mask dialog opens the help topic {title!r}")
    t.host.key("Escape")
    t.host.wait(lambda s: title not in s and t.texts["select_title"] in s, 10,
                "the dialog again")
    t.ok("Esc leaves the help for the dialog")
    t.host.key("Escape")
    t.dialog_closed()


def group_unicode(t):
    t.open_search()
    t.host.type("Кир")
    t.wait_search("Кир", "foxtrot.txt")
    t.ok("a Cyrillic prefix typed into the search finds its item")
    t.host.key("Escape")
    t.settle(lambda s: BOX_TITLE not in s)
    t.open_search()
    t.host.type("Éla")
    t.wait_search("Éla", "golf.txt")
    t.ok("an accented prefix finds its item")
    t.host.key("Escape")
    t.settle(lambda s: BOX_TITLE not in s)
    s = t.apply_mask(SELECT, "*café*")
    t.expect_selection(["golf.txt"], s)
    s = t.apply_mask(SELECT, "Кириллица*")
    t.expect_selection(["golf.txt", "foxtrot.txt"], s)
    s = t.apply_mask(UNSELECT, "*отпуск*")
    t.expect_selection(["golf.txt"], s)
    t.ok("masks in any script select and unselect")


def group_russian(t):
    s = t.plugins_menu()
    t.ok(f"F11 lists {t.texts['title']!r} in Russian")
    t.host.key("Enter")
    t.host.wait(lambda s: all(c in s for c in t.texts["commands"]), 10,
                "the command menu in Russian")
    t.ok("the command menu reads " + ", ".join(t.texts["commands"]))
    t.host.key("Escape")
    t.settle(lambda s: t.texts["commands"][0] not in s)
    t.open_search()
    t.host.type("Кир")
    t.wait_search("Кир", "foxtrot.txt")
    t.host.key("Escape")
    t.settle(lambda s: BOX_TITLE not in s)
    t.ok("the search works with the Russian interface")
    s = t.apply_mask(SELECT, "*recipe")
    t.expect_selection(["bravo.txt", "charlie.txt"], s)
    group_help(t)
    t.open_search()
    search_help(t)
    t.host.wait(lambda s: BOX_TITLE in s, 10, "the search box again")
    t.host.key("Escape")
    t.settle(lambda s: BOX_TITLE not in s)
    expect_mask_refused(t, UNSELECT, "/x(")


def search_help(t):
    """F1 in the search box: the speed search's help topic, in the
    interface's language; Esc then closes it."""
    title = t.texts["search_help_title"]
    t.host.key("F1")
    t.host.wait(lambda s: title in s, 10, f"the help topic {title!r}")
    t.ok(f"F1 in the speed search opens its help topic {title!r}")
    t.host.key("Escape")
    t.host.wait(lambda s: title not in s, 10, "the help to close")


def copy_to_clipboard(t, text):
    """The host's own way: typed on the command line, selected, Ctrl+Ins;
    Esc then empties the command line."""
    t.host.type(text)
    t.host.wait(lambda s: text in s.row(28), 10, f"{text!r} on the command line")
    t.host.key("S-Home", "C-Insert", "Escape")
    t.settle(lambda s: text not in s.row(28))


def group_keys(t):
    """The host's quick-search keys. Ctrl+Shift+Enter, the previous match,
    cannot come through a terminal: the stand-in and unit tests drive it."""
    copy_to_clipboard(t, "apple stew pot")
    t.open_search()
    t.host.key("C-v")
    t.wait_search("apple st", "charlie.txt")
    t.ok("Ctrl+V pastes the clipboard and drops characters from its end until a description "
         "begins with it")
    t.host.key("C-y")
    t.wait_search("", "charlie.txt")
    t.host.key("S-IC")
    t.wait_search("apple st", "charlie.txt")
    t.ok("Shift+Ins pastes as Ctrl+V does")
    search_help(t)
    t.wait_search("apple st", "charlie.txt")
    t.ok("Esc leaves the help for the search, with its text")
    t.host.key("C-y")
    t.host.type("*jam")
    t.wait_search("*jam", "hotel.txt")
    t.ok("a leading * finds the text anywhere in a description")
    t.host.type("**")
    t.wait_search("*jam*", "hotel.txt")
    t.ok("** is taken as one *")
    t.host.key("Escape")
    t.settle(lambda s: BOX_TITLE not in s)


def expect_mask_refused(t, index, mask):
    """An unreadable mask: the host's message, then the dialog again with
    the mask kept; Esc there changes nothing."""
    before = t.selected()
    t.open_mask_dialog(index)
    t.host.type(mask)
    t.host.wait(lambda s: mask in s, 10, f"the mask {mask!r} in the field")
    t.host.key("Enter")
    s = t.host.wait(lambda s: t.texts["incorrect_mask"] in s, 10, "the host's message")
    t.ok(f"the mask {mask!r} gets the host's message {t.texts['incorrect_mask']!r}")
    t.host.key("Enter")
    title = t.texts["select_title" if index == SELECT else "unselect_title"]
    t.host.wait(lambda s: title in s and mask in s and t.texts["incorrect_mask"] not in s, 10,
                "the dialog again with the mask")
    t.ok("then the dialog again, with the mask kept")
    t.host.key("Escape")
    s = t.dialog_closed()
    t.check(t.selected(s) == before, "Esc there leaves the selection as it was", s)


def group_masks(t):
    s = t.apply_mask(SELECT, "*pie*;*jam")
    t.expect_selection(["bravo.txt", "hotel.txt"], s)
    t.ok("a list of masks selects what any of them matches")
    s = t.apply_mask(UNSELECT, "*|apricot*")
    t.expect_selection(["hotel.txt"], s)
    t.ok("an exclusion after | keeps its items out")
    s = t.apply_mask(SELECT, "/^(zebra|banana)/i")
    t.expect_selection(["alpha.txt", "delta.txt", "hotel.txt"], s)
    t.ok("a regular expression selects what it finds")
    expect_mask_refused(t, SELECT, "/draft(")


PLUGIN_GUID = "BF22E90B-517C-4865-99E2-60AF8B157421"
SYS_ID = "0x564C5452"  # "VLTR"

# Calls beside the package's sample, on keys of their own in far2l, whose
# macros are key macros only.
FAR2L_TEST_MACROS = f"""
[KeyMacros/Shell/AltShiftU]
Sequence=callplugin({SYS_ID},"Unselect:/^draft/i")

[KeyMacros/Shell/AltShiftA]
Sequence=callplugin({SYS_ID},"Search apricot pie")
"""


def shows_answer(screen, answer):
    """A message box whose one line is answer."""
    return any(re.search(rf"║\s+{re.escape(answer)}\s+║", row) for row in screen.rows)


def lua(t, chunk):
    """Runs Lua typed on the command line, as the macro engine takes it."""
    line = "lua:" + chunk
    t.host.type(line)
    t.host.wait(lambda s: line[-24:] in s.row(28), 20, "the Lua line typed")
    t.host.key("Enter")


def group_macros(t):
    """The package's sample macros on their keys, and the commands as a
    macro calls them. The sample binds Alt+Shift+D to the speed search and
    Alt+Shift+S to selecting the items described as drafts."""
    t.host.key("M-D")
    t.host.wait(lambda s: t.box_text(s) == "", 10, "the search box from Alt+Shift+D")
    t.host.type("apr")
    t.wait_search("apr", "hotel.txt")
    t.ok("the sample's Alt+Shift+D opens the speed search")
    t.host.key("Escape")
    t.settle(lambda s: BOX_TITLE not in s)
    t.host.key("M-S")
    s = t.settle(lambda s: t.selected(s) == {"india.txt"})
    t.expect_selection(["india.txt"], s)
    t.ok("the sample's Alt+Shift+S selects the drafts")
    if t.host.kind == "far2l":
        t.host.key("M-U")
        s = t.settle(lambda s: not t.selected(s))
        t.expect_selection([], s)
        t.ok("callplugin with Unselect and a regular expression")
        t.host.key("M-A")
        t.wait_search("apricot", "hotel.txt")
        t.ok("callplugin with Search and a starting text: as much as a description begins with")
        t.host.key("Escape")
        t.settle(lambda s: BOX_TITLE not in s)
        return
    call = f'Plugin.Call("{PLUGIN_GUID}", '
    lua(t, f'far.Message(tostring({call}"Unselect", "/^draft/i")), "answer")')
    t.host.wait(lambda s: "answer" in s and shows_answer(s, "1"), 20, "the answer 1")
    t.host.key("Enter")
    s = t.settle(lambda s: not t.selected(s))
    t.expect_selection([], s)
    t.ok("Plugin.Call Unselect with a regular expression answers the number of items matched")
    lua(t, f'far.Message(tostring({call}"Select", "apple*|*strudel*")), "answer")')
    t.host.wait(lambda s: "answer" in s and shows_answer(s, "1"), 20, "the answer 1")
    t.host.key("Enter")
    s = t.settle(lambda s: t.selected(s) == {"bravo.txt"})
    t.expect_selection(["bravo.txt"], s)
    t.ok("Plugin.Call Select with a list and an exclusion")
    lua(t, f'{call}"Search", "apricot pie")')
    t.wait_search("apricot", "hotel.txt")
    t.ok("Plugin.Call Search with a starting text: as much as a description begins with")
    t.host.key("Escape")
    t.settle(lambda s: BOX_TITLE not in s)


# ---- Find in a folder tree ----------------------------------------------------


class Find:
    """The find command as a user gives it, and its results panel as the
    screen shows it."""

    def __init__(self, t):
        self.t, self.host = t, t.host
        self.sep = "/" if self.host.kind == "far2l" else "\\"
        self.paths = [rel.rstrip("/").replace("/", self.sep) for rel, _, _ in TREE]

    def run(self, mask, then=()):
        t = self.t
        t.command(FIND)
        s = self.host.wait(lambda s: t.texts["subfolders"] in s, 10, "the find dialog")
        self.host.type(mask)
        self.host.wait(lambda s: mask in s, 10, f"the mask {mask!r} in the field")
        self.host.key("Enter", *then)
        return s

    def results(self, mask):
        return self.host.wait(
            lambda s: f"{mask} " in s.row(0)[:PANEL_WIDTH] and self.t.texts["find_title"] not in s,
            60, f"the results panel for {mask!r}")

    def row_of(self, s, path):
        """The left panel's row listing path (cut to its column, as the host
        cuts it), as (name column, description column), or None."""
        for y in range(2, STATUS_ROW):
            cells = s.panel(y).split("│")
            if len(cells) < 2:
                continue
            name = cells[0].rstrip().rstrip("}»")
            if name and (name == path or (len(name) >= 20 and path.startswith(name))):
                return name, cells[1].strip()
        return None

    def cursor(self, s):
        """The result under the cursor: the status row shows the end of its
        full path, as much as fits."""
        shown = s.panel(STATUS_ROW).split()
        if not shown:
            return None
        tail = shown[0].lstrip("{«…")
        found = [p for p in self.paths if (self.sep + p).endswith(tail) or
                 tail.endswith(self.sep + p)]
        return max(found, key=len) if found else None

    def move_to(self, path):
        """Home, then Down item by item, each time waiting for the status row
        to change, until the cursor is on path."""
        self.host.key("Home")
        s = self.host.wait(lambda s: s.panel(STATUS_ROW).lstrip().startswith(".."), 10,
                           "the cursor on ..")
        for _ in range(len(self.paths) + 1):
            if self.cursor(s) == path:
                return s
            before = s.panel(STATUS_ROW)
            self.host.key("Down")
            s = self.host.wait(lambda s: s.panel(STATUS_ROW) != before, 10, "the cursor to move")
        raise Failure(f"no result {path!r} to put the cursor on\n{s}")


def group_find(t):
    f = Find(t)
    s = f.run("*cake*")
    t.check("[x]" in s and t.texts["subfolders"] in s,
            "the find dialog opens with Search subfolders on", s)
    s = f.results("*cake*")
    want = {p.rstrip("/").replace("/", f.sep): d for p, d, _ in TREE if d and "cake" in d.lower()}
    for path, description in want.items():
        row = f.row_of(s, path)
        t.check(row is not None and description.startswith(row[1].rstrip("»}")),
                f"the results list {path!r} with its description {description!r}", s)
    t.check(f.row_of(s, "notes.txt") is None and f.row_of(s, f"kitchen{f.sep}pie.txt") is None,
            "items whose description does not match are not listed", s)

    f.move_to("top.txt")
    t.host.key("F3")
    t.host.wait(lambda s: "TOP FILE CONTENT" in s, 10, "the viewer on the real file")
    t.ok("F3 on a result views the real file")
    t.host.key("F10")
    f.results("*cake*")

    sponge = f.sep.join(["kitchen", "baking", "sponge.txt"])
    f.move_to(sponge)
    t.host.key("C-PPage")
    s = t.host.wait(lambda s: t.host.cursor_name(["sponge.txt", ".."], s) == "sponge.txt", 10,
                    "the panel on the item's own folder")
    t.check("baking" in s.row(0), "Ctrl+PgUp leaves the results for the item's folder, "
            "with the cursor on the item", s)

    t.host.key("C-PPage")
    t.host.key("C-PPage")
    t.host.wait(lambda s: "kitchen" not in s.row(0), 10, "the tree's top folder")
    s = f.run("*торт*")
    s = f.results("*торт*")
    row = f.row_of(s, f.sep.join(["photos", "торт.jpg"]))
    t.check(row is not None and row[1].startswith("Лимонный торт"),
            "a Russian mask finds the Russian description", s)

    t.command(FIND)
    t.host.wait(lambda s: t.texts["folder_needed"] in s, 10, "the message on a plug-in panel")
    t.ok("on the results panel, itself a plug-in's, the command says it needs a folder")
    t.host.key("Enter")
    t.host.key("Home", "Enter")  # ".." leaves the results
    t.host.wait(lambda s: "*торт*" not in s.row(0), 10, "the results closed")

    t.host.key("C-PPage")  # beside the tree: the big folders
    t.host.wait(lambda s: "home" not in s.row(0)[:PANEL_WIDTH], 10, "the tree's own folder")
    names = ["..", "big", "home", "shared.ion"]
    t.host.wait_cursor("home", names)
    t.host.key("Home")
    t.host.wait_cursor("..", names)
    t.host.key("Down")
    t.host.wait_cursor("big", names)
    t.host.key("Enter")
    t.host.wait(lambda s: "big" in s.row(0)[:PANEL_WIDTH], 20, "the big folders")
    f.run("*cake*", then=("Escape",))
    s = t.host.wait(lambda s: t.texts["interrupted"] in s, 60, "the question on Esc")
    t.ok("Esc during the search asks whether to stop, in the host's words")
    t.host.key("Enter")
    s = f.results("*cake*")
    t.host.key("C-l")
    s = t.host.wait(lambda s: t.texts["stopped"] in s, 10, "the information panel")
    info = [s.panel(y, 1) for y in range(len(s.rows))]
    found = next((int("".join(ch for ch in r if ch.isdigit()) or 0) for r in info
                  if r.strip().startswith("Found")), 0)
    t.check(0 < found < BIG_FOLDERS, f"a stop keeps the {found} items found so far", s)
    t.host.key("C-l")


GROUPS = {
    "menu": (group_menu, {}),
    "speed_search": (group_speed_search, {}),
    "select": (group_select, {}),
    "unicode": (group_unicode, {"unicode": True}),
    "russian": (group_russian, {"unicode": True, "language": "Russian"}),
    "find": (group_find, {"unicode": True, "tree": True}),
    "keys": (group_keys, {"unicode": True}),
    "masks": (group_masks, {"unicode": True}),
    "macros": (group_macros, {"unicode": True, "macros": FAR2L_TEST_MACROS}),
}
