#!/usr/bin/env python3
"""Converts a UTF-8 text file to GBK with CR LF line ends, as Corel SCRIPT
sources on the Chinese edition are stored.

    gbktext.py IN.txt OUT
"""

import sys


def convert(text):
    return "\r\n".join(text.split("\n")).encode("gbk")


def main(argv):
    if len(argv) != 3:
        print(__doc__.split("\n\n")[1], file=sys.stderr)
        return 2
    with open(argv[1], encoding="utf-8") as f:
        data = convert(f.read())
    with open(argv[2], "wb") as f:
        f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
