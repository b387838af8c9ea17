#!/usr/bin/env python3
"""CorelDRAW 9 menu configuration files (cdrmenu.cfg): encoder and decoder.

    menucfg.py encode LAYOUT.txt OUT.cfg   # readable layout -> binary file
    menucfg.py decode FILE.cfg             # binary file -> layout text on stdout

Binary layout, all texts in GBK:

    header    09 "CorelDRAW" 04 "6.00" 17 "Menu Configuration File"
              02 A4 BC 0B FE 01
    entry     0B 00, text length (1 byte), text, command number (u32 LE);
              number 0xFFFFFFFF is followed by the script's file name and its
              category, each with a one-byte length
              number 0 with the text "<<分隔线>>" is a separator line;
              number 0 with any other text opens a sub-menu, whose entries
              follow it up to 0D 00
    0F 00     ends the main menu bar; the context menus follow, one sub-menu
              each, and a last 0D 00 ends the file

Layout text, UTF-8: a section line "[menubar]", then its entries, then
"[context]" and the context menus. Four spaces of indentation per level nest
entries under the sub-menu above them. An entry is one of

    ---                              separator
    TEXT = NUMBER                    CorelDRAW command
    TEXT -> SCRIPT FILE | CATEGORY   script
    TEXT                             sub-menu

Lines starting with "#" and blank lines are ignored. decode prints the same
form, so decoding an encoded layout gives the layout back less its comments.
"""

import re
import struct
import sys
from dataclasses import dataclass, field

HEADER_TEXTS = ("CorelDRAW", "6.00", "Menu Configuration File")
HEADER_TAIL = bytes([0x02, 0xA4, 0xBC, 0x0B, 0xFE, 0x01])
ENTRY = b"\x0b\x00"
MENU_END = b"\x0d\x00"
BAR_END = b"\x0f\x00"
SEPARATOR_TEXT = "<<分隔线>>"
SCRIPT_NUMBER = 0xFFFFFFFF
INDENT = "    "
ENCODING = "gbk"


class LayoutError(ValueError):
    pass


@dataclass
class Entry:
    text: str
    number: int = 0
    script: str = ""
    category: str = ""
    children: list = field(default_factory=list)
    is_menu: bool = False

    @property
    def is_separator(self):
        return not self.is_menu and self.number == 0


@dataclass
class Layout:
    menubar: list
    context: list


def separator():
    return Entry(SEPARATOR_TEXT)


# ---- layout text ------------------------------------------------------------

_COMMAND = re.compile(r"^(.*\S) = (\d+)$")
_SCRIPT = re.compile(r"^(.*\S) -> (.+) \| (.+)$")


def parse_entry(line, where):
    if line == "---":
        return separator()
    m = _SCRIPT.match(line)
    if m:
        return Entry(m.group(1), SCRIPT_NUMBER, m.group(2), m.group(3))
    m = _COMMAND.match(line)
    if m:
        number = int(m.group(2))
        if number == 0 or number >= SCRIPT_NUMBER:
            raise LayoutError(f"{where}: command number {number} is reserved")
        return Entry(m.group(1), number)
    if line == SEPARATOR_TEXT:
        raise LayoutError(f"{where}: a sub-menu cannot be named {SEPARATOR_TEXT}; write --- for a separator")
    return Entry(line, is_menu=True)


def parse_layout(text):
    sections = {}
    stack = None  # entry lists from the section down to the deepest open menu
    for lineno, raw in enumerate(text.splitlines(), 1):
        where = f"line {lineno}"
        if not raw.strip() or raw.lstrip().startswith("#"):
            continue
        if raw in ("[menubar]", "[context]"):
            name = raw[1:-1]
            if name in sections:
                raise LayoutError(f"{where}: section [{name}] given twice")
            sections[name] = []
            stack = [sections[name]]
            continue
        if stack is None:
            raise LayoutError(f"{where}: entry before the first section")
        body = raw.lstrip(" ")
        indent = len(raw) - len(body)
        if indent % len(INDENT) or "\t" in raw[:indent + 1]:
            raise LayoutError(f"{where}: indent by multiples of four spaces")
        level = indent // len(INDENT)
        if level >= len(stack):
            raise LayoutError(f"{where}: indented deeper than the entry above can take")
        del stack[level + 1:]
        entry = parse_entry(body, where)
        stack[level].append(entry)
        if entry.is_menu:
            stack.append(entry.children)
    if set(sections) != {"menubar", "context"}:
        raise LayoutError("the layout needs a [menubar] and a [context] section")
    return Layout(sections["menubar"], sections["context"])


def format_entries(entries, level, out):
    for e in entries:
        pad = INDENT * level
        if e.is_menu:
            out.append(pad + e.text)
            format_entries(e.children, level + 1, out)
        elif e.number == SCRIPT_NUMBER:
            out.append(f"{pad}{e.text} -> {e.script} | {e.category}")
        elif e.number == 0:
            out.append(pad + "---")
        else:
            out.append(f"{pad}{e.text} = {e.number}")


def format_layout(layout):
    out = ["[menubar]"]
    format_entries(layout.menubar, 0, out)
    out.append("[context]")
    format_entries(layout.context, 0, out)
    return "\n".join(out) + "\n"


# ---- binary file ------------------------------------------------------------

def counted(text):
    try:
        data = text.encode(ENCODING)
    except UnicodeEncodeError as e:
        raise LayoutError(f"{text!r} has a character outside GBK") from e
    if len(data) > 255:
        raise LayoutError(f"{text!r} is {len(data)} bytes in GBK, more than a length byte holds")
    return bytes([len(data)]) + data


def encode_entries(entries, out):
    for e in entries:
        out += ENTRY + counted(e.text) + struct.pack("<I", e.number)
        if e.number == SCRIPT_NUMBER:
            out += counted(e.script) + counted(e.category)
        elif e.is_menu:
            encode_entries(e.children, out)
            out += MENU_END


def encode(layout):
    for menu in layout.context:
        if not menu.is_menu:
            raise LayoutError(f"context menu {menu.text!r} is not a sub-menu")
    out = bytearray()
    for text in HEADER_TEXTS:
        out += counted(text)
    out += HEADER_TAIL
    encode_entries(layout.menubar, out)
    out += BAR_END
    encode_entries(layout.context, out)
    out += MENU_END
    return bytes(out)


class _Reader:
    def __init__(self, data):
        self.data = data
        self.pos = 0

    def take(self, n):
        if self.pos + n > len(self.data):
            raise LayoutError(f"file ends inside a record at offset {self.pos}")
        chunk = self.data[self.pos:self.pos + n]
        self.pos += n
        return chunk

    def text(self):
        raw = self.take(self.take(1)[0])
        try:
            return raw.decode(ENCODING)
        except UnicodeDecodeError as e:
            raise LayoutError(f"text at offset {self.pos - len(raw)} is not GBK") from e


def decode_entries(r, ends):
    """Entries up to a tag in `ends`; returns them and the tag."""
    entries = []
    while True:
        at = r.pos
        tag = r.take(2)
        if tag in ends:
            return entries, tag
        if tag != ENTRY:
            raise LayoutError(f"unexpected bytes {tag.hex(' ')} at offset {at}")
        text = r.text()
        (number,) = struct.unpack("<I", r.take(4))
        if number == SCRIPT_NUMBER:
            entries.append(Entry(text, number, r.text(), r.text()))
        elif number == 0 and text != SEPARATOR_TEXT:
            children, _ = decode_entries(r, (MENU_END,))
            entries.append(Entry(text, children=children, is_menu=True))
        else:
            entries.append(Entry(text, number))


def decode(data):
    r = _Reader(data)
    for expected in HEADER_TEXTS:
        if r.text() != expected:
            raise LayoutError("not a CorelDRAW menu configuration file")
    if r.take(len(HEADER_TAIL)) != HEADER_TAIL:
        raise LayoutError("unknown header")
    menubar, _ = decode_entries(r, (BAR_END,))
    context, _ = decode_entries(r, (MENU_END,))
    if r.pos != len(data):
        raise LayoutError(f"{len(data) - r.pos} bytes after the end of the file")
    return Layout(menubar, context)


def main(argv):
    if len(argv) == 4 and argv[1] == "encode":
        with open(argv[2], encoding="utf-8") as f:
            data = encode(parse_layout(f.read()))
        with open(argv[3], "wb") as f:
            f.write(data)
        return 0
    if len(argv) == 3 and argv[1] == "decode":
        with open(argv[2], "rb") as f:
            text = format_layout(decode(f.read()))
        sys.stdout.buffer.write(text.encode("utf-8"))
        return 0
    print(__doc__.split("\n\n")[1], file=sys.stderr)
    return 2


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv))
    except LayoutError as e:
        print(f"menucfg: {e}", file=sys.stderr)
        sys.exit(1)
