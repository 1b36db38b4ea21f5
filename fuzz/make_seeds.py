#!/usr/bin/env python3
"""Writes the fuzz target's seed corpus: a few small panels and operations in
the input format described at the top of description_fuzzer.cpp. Rerun it
when that format changes."""
import os
import struct

KEY, KEY_UP, OTHER = 0, 2, 0x43  # event kinds; the key table index sits in bits 2-5
VK = {"none": 0, "shift": 1, "ctrl": 2, "numlock": 6, "enter": 9, "esc": 10}


def panel(items, rect=(0, 1, 39, 20), cursor=0, pool=(), stride=1, offset=0,
          type_=0, seed=0x1234):
    out = struct.pack("<BH4iiI", type_, items, *rect, cursor, seed)
    out += bytes([len(pool) - 1])
    for entry in pool:
        if entry is None:
            out += b"\0"
        elif isinstance(entry, tuple):  # (length, two pattern bytes)
            out += struct.pack("<BH", 2, entry[0]) + entry[1]
        else:
            out += bytes([3, len(entry)]) + entry
    return out + bytes([stride, offset])


def find(text, step=0, cursor=None):
    out = bytes([0, len(text) << 1 | step]) + text
    return out + (b"\1" + struct.pack("<i", cursor) if cursor is not None else b"\0")


def keys(chars):
    return bytes([1, len(chars)]) + chars


def event(char, kind=KEY, vk="none"):
    return bytes([kind | VK[vk] << 2, char])


def speed_search(events, palette=None, rows=150, flags=0):
    out = b"\2" + (b"\xff" if palette is None else bytes([len(palette)]) + palette)
    return out + struct.pack("<hBB", rows, flags, len(events)) + b"".join(events)


def select(mask, unselect=False, result=0):
    return bytes([3, result << 1 | unselect]) + struct.pack("<H", len(mask)) + mask


def menu(choice, command=b""):
    return bytes([4, choice & 0xFF]) + command


def typed(text):
    return [event(c) for c in text]


DESCRIPTIONS = (b"apple pie", b"banana", None, b"", b"berry *tart*", (300, b"ab"))
SEEDS = {
    "typing-and-next-match": panel(6, cursor=2, pool=DESCRIPTIONS) + speed_search(
        [event(0, vk="shift"), *typed(b"be"), event(ord("e"), KEY_UP), event(10),
         event(8), event(0, OTHER), event(0, vk="numlock"), event(13, vk="enter")],
        palette=bytes(range(80))),
    "escape-ends-search": panel(6, pool=DESCRIPTIONS) + speed_search(
        [*typed(b"ab?"), event(27, vk="esc"), event(13, vk="enter")],
        palette=bytes(26), rows=21),
    "select-then-unselect": panel(12, pool=DESCRIPTIONS, stride=5)
    + select(b"b*") + select(b"*an*", unselect=True) + select(b"*", result=2),
    "wildcard-finds": panel(40, cursor=-3, pool=DESCRIPTIONS, stride=3, offset=1)
    + find(b"?a") + find(b"*", step=1) + find(b"[a-c]*", cursor=39) + find(b"", cursor=7),
    "full-text-beeps": panel(3, pool=((40, b"ab"),)) + keys(b"abababababababababab\x08\x19ab"),
    "empty-panel": panel(0, pool=(b"x",)) + speed_search(typed(b"x"))
    + select(b"x") + find(b"x"),
    "big-odd-panel": panel(3000, rect=(-2**31, 2**31 - 1, 2**31 - 1, -2**31),
                           cursor=2**31 - 1, pool=(*DESCRIPTIONS, b"\xff\x80 z"), stride=7)
    + speed_search([*typed(b"\xff\x80"), event(10), event(10)], rows=-5, flags=1),
    "menu-commands": panel(8, cursor=7, pool=DESCRIPTIONS)
    + menu(0, speed_search(typed(b"ban") + [event(9)])[1:]) + menu(2, select(b"*")[1:])
    + menu(-1) + menu(1, select(b"?an*", result=2)[1:]),
    "not-a-file-panel": panel(5, type_=0x13, pool=DESCRIPTIONS)
    + speed_search(typed(b"b")) + select(b"*"),
}

here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
os.makedirs(here, exist_ok=True)
for name, data in SEEDS.items():
    with open(os.path.join(here, name), "wb") as f:
        f.write(data)
