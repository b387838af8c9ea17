#!/usr/bin/env python3
r"""Builds the add-on's compiled scripts (autobar.csb, autoexp.csb).

    csbgen.py SOURCE OUT.csb

The add-on carries its own small compiled-script format. A file is a fixed
image: a header, the program's instructions, then zero bytes up to the image
size. Numbers are little-endian.

    offset  size  field
    0       8     marker "|SCRIPT" and a zero byte
    8       2     format version, 1
    10      2     offset of the first instruction, 20
    12      4     image size, the whole file (250 for both scripts)
    16      4     CRC-32 (the zlib polynomial) of bytes 20 to the end
    20      ...   instructions, then zero bytes

Instructions, one opcode byte and its operands; a text is a one-byte length
and that many bytes of GBK, with no NUL:

    01 root:u32 key:text name:text   REGREAD: read the REG_SZ value `name` of
                                     key `key` under the predefined key `root`
                                     into the path register
    02 show:u16                      RUN: start the program at the path
                                     register with that window state
    00                               END

Two scripts that differ only in a value name of the same length therefore
differ in those bytes and in the checksum at 16 to 19.

SOURCE is text, one instruction per line, "#" starting a comment:

    size 250
    regread HKEY_LOCAL_MACHINE "software\corel\VORLAN" "ST1"
    run 1
    end
"""

import shlex
import struct
import sys
import zlib

MARKER = b"|SCRIPT\x00"
VERSION = 1
CODE_OFFSET = 20
ROOTS = {"HKEY_CURRENT_USER": 0x80000001, "HKEY_LOCAL_MACHINE": 0x80000002}
OP_END, OP_REGREAD, OP_RUN = 0x00, 0x01, 0x02


class ScriptError(ValueError):
    pass


def text(value, where):
    try:
        data = value.encode("gbk")
    except UnicodeEncodeError as e:
        raise ScriptError(f"{where}: {value!r} has a character outside GBK") from e
    if len(data) > 255:
        raise ScriptError(f"{where}: text longer than 255 bytes")
    return bytes([len(data)]) + data


def assemble(source):
    size = None
    code = bytearray()
    ended = False
    for lineno, line in enumerate(source.splitlines(), 1):
        where = f"line {lineno}"
        words = shlex.split(line, comments=True)
        if not words:
            continue
        op, args = words[0], words[1:]
        if ended:
            raise ScriptError(f"{where}: instruction after end")
        if op == "size" and len(args) == 1:
            size = int(args[0])
        elif op == "regread" and len(args) == 3 and args[0] in ROOTS:
            code += bytes([OP_REGREAD]) + struct.pack("<I", ROOTS[args[0]]) + text(args[1], where) + text(args[2], where)
        elif op == "run" and len(args) == 1:
            code += bytes([OP_RUN]) + struct.pack("<H", int(args[0]))
        elif op == "end" and not args:
            code += bytes([OP_END])
            ended = True
        else:
            raise ScriptError(f"{where}: cannot read {line.strip()!r}")
    if size is None or not ended:
        raise ScriptError("a script needs a size and an end")
    if CODE_OFFSET + len(code) > size:
        raise ScriptError(f"{CODE_OFFSET + len(code)} bytes do not fit an image of {size}")
    body = bytes(code) + bytes(size - CODE_OFFSET - len(code))
    header = MARKER + struct.pack("<HHI", VERSION, CODE_OFFSET, size)
    return header + struct.pack("<I", zlib.crc32(body)) + body


def main(argv):
    if len(argv) != 3:
        print(__doc__.split("\n\n")[1], file=sys.stderr)
        return 2
    with open(argv[1], encoding="utf-8") as f:
        image = assemble(f.read())
    with open(argv[2], "wb") as f:
        f.write(image)
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv))
    except ScriptError as e:
        print(f"csbgen: {e}", file=sys.stderr)
        sys.exit(1)
