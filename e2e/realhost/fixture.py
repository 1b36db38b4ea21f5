"""The folder the real-host cases work on, and the plug-in's texts as the
installed language and help files give them."""

import os
import re

# (name, description or None, size in bytes). Names run in another order than
# the descriptions, so that a search by name would land elsewhere; "ap" begins
# three descriptions, for the next match and its wrap.
ITEMS = [
    ("alpha.txt", "Zebra crossing photo", 11),
    ("bravo.txt", "Apple pie recipe", 22),
    ("charlie.txt", "Apple strudel recipe", 33),
    ("delta.txt", "Banana bread", 44),
    ("echo.txt", None, 55),
    ("foxtrot.txt", "Кириллица: отпуск в горах", 66),
    ("golf.txt", "Élan vital, café notes", 77),
    ("hotel.txt", "Apricot jam", 88),
    ("my notes.txt", "Quoted name with a space", 99),
    ("india.txt", "Draft letter to the bank", 110),
]
UNICODE_ITEMS = {"foxtrot.txt", "golf.txt"}
NAMES = ["..", "descript.ion"] + [name for name, _, _ in ITEMS]
SIZES = {name: size for name, _, size in ITEMS}


def make_folder(path, unicode):
    """Writes the items and their descript.ion: UTF-8 with a byte-order mark
    for the Unicode builds; for the 1.x build, in its OEM code page and
    without the descriptions that code page cannot hold."""
    os.makedirs(path, exist_ok=True)
    lines = []
    for name, description, size in ITEMS:
        with open(os.path.join(path, name), "wb") as f:
            f.write(b"x" * size)
        if description is None or (not unicode and name in UNICODE_ITEMS):
            continue
        quoted = f'"{name}"' if " " in name else name
        lines.append(f"{quoted} {description}\r\n")
    data = "".join(lines)
    with open(os.path.join(path, "descript.ion"), "wb") as f:
        f.write(data.encode("utf-8-sig") if unicode else data.encode("cp866"))
    return path


# The three-level tree the find cases search: (relative path, description or
# None, content); a folder ends in "/".
TREE = [
    ("top.txt", "Lemon cake, the family recipe", "TOP FILE CONTENT\r\n"),
    ("notes.txt", "Shopping list", "notes\r\n"),
    ("kitchen/", "Everything about the kitchen", None),
    ("kitchen/pie.txt", "Apple pie", "pie\r\n"),
    ("kitchen/choc.txt", "Chocolate cake", "chocolate\r\n"),
    ("kitchen/baking/", "Baking, cakes and bread", None),
    ("kitchen/baking/sponge.txt", "Sponge cake for birthdays", "sponge\r\n"),
    ("kitchen/baking/tarts/", "Lemon tarts, no cake", None),
    ("photos/", None, None),
    ("photos/торт.jpg", "Лимонный торт на день рождения", "jpeg\r\n"),
]
# Beside it, "big/" holds folders whose description file is a hard link to
# one of nearly 16 MiB (a cake and 350,000 lines for items not there): a
# search long enough to stop with Esc, made in a moment.
BIG_FOLDERS = 40


def _describe(folder, lines):
    with open(os.path.join(folder, "descript.ion"), "wb") as f:
        f.write("".join(lines).encode("utf-8-sig"))


def make_tree(path):
    """Writes TREE under path/home, each folder with its descript.ion, and
    the big folders under path/big. Returns path/home."""
    home = os.path.join(path, "home")
    lines = {}
    for rel, description, content in TREE:
        full = os.path.join(home, rel)
        if rel.endswith("/"):
            os.makedirs(full, exist_ok=True)
        else:
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, "w", encoding="utf-8") as f:
                f.write(content)
        if description:
            parent, name = os.path.split(rel.rstrip("/"))
            lines.setdefault(os.path.join(home, parent), []).append(f"{name} {description}\r\n")
    for folder, folder_lines in lines.items():
        _describe(folder, folder_lines)
    big = os.path.join(path, "big")  # its own cake is found before any stop
    os.makedirs(big)
    with open(os.path.join(big, "first.txt"), "w") as f:
        f.write("first")
    _describe(big, ["first.txt the first cake\r\n"])
    shared = os.path.join(path, "shared.ion")
    with open(shared, "wb") as f:
        f.write(b"a.txt cake in a big folder\r\n")
        f.write(b"".join(b"absent-%06d.txt filler line for no item\r\n" % i
                         for i in range(350000)))
    for i in range(BIG_FOLDERS):
        folder = os.path.join(big, f"f{i:02}")
        os.makedirs(folder)
        with open(os.path.join(folder, "a.txt"), "w") as f:
            f.write("a")
        os.link(shared, os.path.join(folder, "descript.ion"))
    return home


# ---- Texts -------------------------------------------------------------------

ENGLISH = {
    "title": "Veltrane",
    "commands": ["Description Speed Search", "Select by description...",
                 "Unselect by description..."],
    "select_title": "Description Select",
    "unselect_title": "Description Unselect",
}
# The host's own message about a mask it cannot read, in its languages.
INCORRECT_MASK = {"English": "File-mask string contains errors",
                  "Russian": "Некорректная маска файлов"}
BOX_TITLE = "Desc. Search"


def _language_of(path):
    with open(path, encoding="utf-8-sig", errors="replace") as f:
        first = f.readline()
    m = re.match(r"\s*\.Language\s*=\s*([^,\s]+)", first)
    return m.group(1) if m else None


def _files(folder, suffix, language):
    return [os.path.join(folder, f) for f in sorted(os.listdir(folder))
            if f.lower().endswith(suffix) and _language_of(os.path.join(folder, f)) == language]


def is_unicode_build(plugin_dir):
    """The current-generation builds carry language files; the 1.x DLL has
    its texts built in."""
    return any(f.lower().endswith(".lng") for f in os.listdir(plugin_dir))


def texts(plugin_dir, language):
    """The menu and dialog texts in `language`, from the plug-in's .lng file
    (messages in order: title, three commands, two dialog titles), and the
    mask dialog's help topic title from its .hlf."""
    result = dict(ENGLISH, incorrect_mask=INCORRECT_MASK[language])
    lng = _files(plugin_dir, ".lng", language)
    if lng:
        with open(lng[0], encoding="utf-8-sig") as f:
            messages = [m.group(1) for m in (re.match(r'\s*"(.*)"\s*$', line) for line in f)
                        if m]
        messages = [m.replace("&", "") for m in messages]
        result.update(title=messages[0], commands=messages[1:4], select_title=messages[4],
                      unselect_title=messages[5])
        if len(messages) > 29:  # the find command's texts
            result.update(find_command=messages[6], find_title=messages[7],
                          subfolders=messages[9], folder_needed=messages[12],
                          interrupted=messages[15], stopped=messages[29])
    hlf = _files(plugin_dir, ".hlf", language)
    result["help_title"] = _topic_title(hlf[0], "DescSel") if hlf else None
    result["search_help_title"] = _topic_title(hlf[0], "SpeedSearch") if hlf else None
    return result


def sample_macros(plugin_dir):
    """The sample macro file the package ships: (name, text), or None."""
    for name in sorted(os.listdir(plugin_dir)):
        if name.endswith(".lua") or name == "key_macros.ini":
            with open(os.path.join(plugin_dir, name), encoding="utf-8") as f:
                return name, f.read()
    return None


def _topic_title(path, topic):
    data = open(path, "rb").read()
    try:
        text = data.decode("utf-8-sig")
    except UnicodeDecodeError:
        text = data.decode("cp866")  # a 1.x help file, in the OEM code page
    lines = text.splitlines()
    for i, line in enumerate(lines):
        if line.strip() == "@" + topic:
            for header in lines[i + 1 :]:
                m = re.match(r"\$\s*#(.*)#", header)
                if m:
                    return m.group(1).replace("##", "#")
                if not header.startswith("$"):
                    break
    return None
