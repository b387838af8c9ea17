"""The menu configuration encoder and decoder (tools/menucfg.py), and the
layout that becomes payload 101.

With TREVOLO_MENU_CFG naming a built cdrmenu.cfg, that file is checked too.
"""

import os
import struct
import sys
import unittest
from pathlib import Path

TOP = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(TOP / "tools"))

import menucfg  # noqa: E402

LAYOUT = TOP / "payloads" / "menu" / "cdrmenu.txt"

HEADER = (b"\x09CorelDRAW\x046.00\x17Menu Configuration File"
          b"\x02\xa4\xbc\x0b\xfe\x01")


def entry(text, number):
    data = text.encode("gbk")
    return b"\x0b\x00" + bytes([len(data)]) + data + struct.pack("<I", number)


def counted(text):
    data = text.encode("gbk")
    return bytes([len(data)]) + data


SEPARATOR = entry("<<分隔线>>", 0)

ADDED_MENU = """\
【Quendra 〖Varo条码荣誉出品〗】
    ---
    ◆   启动 Quendra -> Autobar.csb | 应用程序 Scripts
    ---
    ◆   批量自动输出点阵图 -> Autoexp.csb | 应用程序 Scripts
    ---
    ★   Quendra 相关信息 -> About.csc | 应用程序 Scripts
"""

TOP_MENUS = ["文件(&F)", "编辑(&E)", "查看(&V)", "版面(&L)", "排列(&A)", "效果(&C)",
             "位图(&B)", "文本(&T)", "工具(&O)", "窗口(&W)", "帮助(&H)"]


def layout_text():
    return LAYOUT.read_text(encoding="utf-8")


def without_comments(text):
    return "".join(line + "\n" for line in text.splitlines()
                   if line.strip() and not line.lstrip().startswith("#"))


class EncoderLayout(unittest.TestCase):
    def test_every_kind_of_entry_in_the_bytes_of_the_file_format(self):
        source = """\
[menubar]
文件(&F)
    新建(&N) = 21001
    ---
    发送到(&D)
        我的文档(&O) = 258
◆   启动 -> Autobar.csb | 应用程序 Scripts
[context]
页面
    粘贴(&P) = 22006
"""
        expected = (HEADER
                    + entry("文件(&F)", 0)
                    + entry("新建(&N)", 21001)
                    + SEPARATOR
                    + entry("发送到(&D)", 0) + entry("我的文档(&O)", 258) + b"\x0d\x00"
                    + b"\x0d\x00"
                    + entry("◆   启动", 0xFFFFFFFF) + counted("Autobar.csb") + counted("应用程序 Scripts")
                    + b"\x0f\x00"
                    + entry("页面", 0) + entry("粘贴(&P)", 22006) + b"\x0d\x00"
                    + b"\x0d\x00")
        data = menucfg.encode(menucfg.parse_layout(source))
        self.assertEqual(data.hex(" "), expected.hex(" "))
        self.assertEqual(menucfg.format_layout(menucfg.decode(data)), source)

    def test_layouts_that_the_format_cannot_hold_are_refused(self):
        cases = {
            "text over 255 bytes": "[menubar]\n" + "字" * 128 + " = 5\n[context]\n",
            "character outside GBK": "[menubar]\n😀 = 5\n[context]\n",
            "command number 0": "[menubar]\n新建 = 0\n[context]\n",
            "command number of a script": "[menubar]\n新建 = 4294967295\n[context]\n",
            "indented under a command": "[menubar]\n新建 = 5\n    打开 = 6\n[context]\n",
            "odd indentation": "[menubar]\n文件\n  新建 = 5\n[context]\n",
            "context entry that is no menu": "[menubar]\n[context]\n粘贴 = 5\n",
            "no context section": "[menubar]\n新建 = 5\n",
        }
        for label, source in cases.items():
            with self.subTest(label), self.assertRaises(menucfg.LayoutError):
                menucfg.encode(menucfg.parse_layout(source))

    def test_damaged_files_are_refused(self):
        good = menucfg.encode(menucfg.parse_layout("[menubar]\n文件\n    新建 = 5\n[context]\n页面\n"))
        cases = {
            "cut short": good[:-3],
            "trailing bytes": good + b"\x00",
            "unknown record": good.replace(b"\x0f\x00", b"\x0e\x00"),
            "other header": good.replace(b"6.00", b"7.00"),
        }
        for label, data in cases.items():
            with self.subTest(label), self.assertRaises(menucfg.LayoutError):
                menucfg.decode(data)


class MenuPayload(unittest.TestCase):
    """The layout of payload 101, from its source or as built."""

    def layouts(self):
        data = menucfg.encode(menucfg.parse_layout(layout_text()))
        yield "encoded from the source", data
        built = os.environ.get("TREVOLO_MENU_CFG")
        if built:
            yield built, Path(built).read_bytes()

    def test_decodes_back_to_its_source(self):
        for label, data in self.layouts():
            with self.subTest(label):
                self.assertEqual(menucfg.format_layout(menucfg.decode(data)), without_comments(layout_text()))

    def test_has_the_eleven_menus_then_the_added_menu_then_24_context_menus(self):
        for label, data in self.layouts():
            with self.subTest(label):
                layout = menucfg.decode(data)
                self.assertEqual([m.text for m in layout.menubar[:11]], TOP_MENUS)
                self.assertEqual(len(layout.menubar), 12)
                self.assertTrue(all(m.is_menu and m.children for m in layout.menubar + layout.context))
                self.assertEqual(len(layout.context), 24)
                added = menucfg.Layout([layout.menubar[-1]], [])
                self.assertEqual(menucfg.format_layout(added), "[menubar]\n" + ADDED_MENU + "[context]\n")

    def test_the_added_menu_closes_the_bar_in_these_bytes(self):
        title = "【Quendra 〖Varo条码荣誉出品〗】"
        expected = (entry(title, 0) + SEPARATOR
                    + entry("◆   启动 Quendra", 0xFFFFFFFF) + counted("Autobar.csb") + counted("应用程序 Scripts")
                    + SEPARATOR
                    + entry("◆   批量自动输出点阵图", 0xFFFFFFFF) + counted("Autoexp.csb")
                    + counted("应用程序 Scripts")
                    + SEPARATOR
                    + entry("★   Quendra 相关信息", 0xFFFFFFFF) + counted("About.csc") + counted("应用程序 Scripts")
                    + b"\x0d\x00\x0f\x00")
        for label, data in self.layouts():
            with self.subTest(label):
                start = data.find(entry(title, 0))
                self.assertEqual(data[start:start + len(expected)].hex(" "), expected.hex(" "))
                self.assertTrue(data.startswith(HEADER))

    def test_command_numbers_are_those_of_the_menu_bar(self):
        def commands(entries):
            for e in entries:
                if e.is_menu:
                    yield from commands(e.children)
                elif not e.is_separator and e.number != menucfg.SCRIPT_NUMBER:
                    yield e

        layout = menucfg.parse_layout(layout_text())
        bar = [e.number for e in commands(layout.menubar)]
        self.assertEqual(sorted(n for n in set(bar) if bar.count(n) > 1), [], "numbers given twice in the menu bar")
        # Context menus offer commands of the bar, or their own from 32001 on.
        strays = {e.text: e.number for e in commands(layout.context) if e.number < 32001 and e.number not in bar}
        self.assertEqual(strays, {})


if __name__ == "__main__":
    unittest.main()
