#!/usr/bin/env python3
"""Checks the release zip as a Windows user receives it.

usage: check_release_zip.py ZIP EXE LICENSE VERSION

ZIP is the zip the build packed, EXE the Kestrune.exe the tests exercise,
LICENSE the repository's licence and VERSION the project's version. Every
place the version shows must agree with it; the packer run again must give
the same bytes.
"""
import os
import subprocess
import sys
import tempfile
import unittest
import zipfile

ZIP, EXE, LICENSE, VERSION = sys.argv[1:5]
PACKER = os.path.join(os.path.dirname(__file__), "..", "..", "tools", "make_release_zip.py")
FOLDER = "Kestrune-%s/" % VERSION
SECTIONS = ["概要", "動作環境", "使い方", "キーボードでの操作", "英語表示", "設定ファイル",
            "結果の記録", "結果の推移", "アンインストール", "注意", "ライセンス", "更新履歴"]
# The English read-me's, one for each of the Japanese one's, in the same order.
SECTIONS_EN = ["Overview", "Requirements", "How to use", "Using the keyboard", "Language",
               "Settings file", "Results file", "Results over time", "Uninstalling", "Notes",
               "Licence", "Version history"]


def member(name):
    with zipfile.ZipFile(ZIP) as archive:
        return archive.read(FOLDER + name)


def windows_text(data):
    """The text after its byte-order mark; fails unless it is UTF-8 with CRLF line ends."""
    assert data.startswith(b"\xef\xbb\xbf"), "no UTF-8 byte-order mark"
    body = data[3:]
    assert b"\n" not in body.replace(b"\r\n", b""), "a line ends without CR"
    assert b"\r" not in body.replace(b"\r\n", b""), "a CR without LF"
    return body.decode("utf-8")


class ReleaseZip(unittest.TestCase):
    def test_name_and_entries(self):
        self.assertEqual(os.path.basename(ZIP), "Kestrune-%s-win-x64.zip" % VERSION)
        with zipfile.ZipFile(ZIP) as archive:
            infos = archive.infolist()
            self.assertEqual([i.filename for i in infos],
                             [FOLDER, FOLDER + "Kestrune.exe", FOLDER + "ReadMe.txt",
                              FOLDER + "ReadMe-en.txt", FOLDER + "LICENSE.txt"])
            self.assertIsNone(archive.testzip())
            # One fixed time for all, as the reproducible build needs.
            self.assertEqual(len({i.date_time for i in infos}), 1)
            self.assertTrue(infos[0].is_dir())

    def test_the_exe_is_the_one_the_tests_exercise(self):
        with open(EXE, "rb") as f:
            self.assertEqual(member("Kestrune.exe"), f.read())

    def test_the_exe_carries_the_version(self):
        data = member("Kestrune.exe")
        quad = VERSION + ".0"
        # The version record's strings are UTF-16; the manifest is UTF-8.
        self.assertIn(quad.encode("utf-16-le"), data)
        self.assertIn(('name="Kestrune" version="%s"' % quad).encode(), data)

    def test_readmes_read_in_notepad_on_any_locale(self):
        for name, sections, history_mark, needed_words in (
                ("ReadMe.txt", SECTIONS, VERSION + "（", ("「詳細情報」", "「実行」", "Language=en")),
                ("ReadMe-en.txt", SECTIONS_EN, VERSION + " (",
                 ("More info", "Run anyway", "Language=ja", "Date and time"))):
            with self.subTest(name):
                text = windows_text(member(name))
                positions = [text.find("■ " + s) for s in sections]
                self.assertNotIn(-1, positions, "a section is missing")
                self.assertEqual(positions, sorted(positions), "sections out of order")
                history = text[text.find("■ " + sections[-1]):]
                self.assertIn(history_mark, history)
                for needed in ("Settings.ini", "Results.csv", "Results=0", "SmartScreen",
                               "Windows 10", "Windows 11", "Windows Server 2022", "Wine",
                               "LICENSE.txt", "ReadMe-en.txt") + needed_words:
                    self.assertIn(needed, text)
                self.assertNotIn("@", text, "a template field was left unfilled")

    def test_licence_is_mit_with_our_copyright(self):
        text = windows_text(member("LICENSE.txt"))
        with open(LICENSE, encoding="utf-8") as f:
            self.assertEqual(text, f.read().replace("\r\n", "\n").replace("\n", "\r\n"))
        self.assertTrue(text.startswith("MIT License"))
        self.assertIn("Copyright (c) 2026 The Kestrune authors", text)

    def test_packing_again_gives_the_same_bytes_and_honours_the_time(self):
        with zipfile.ZipFile(ZIP) as archive:
            readme = archive.read(FOLDER + "ReadMe.txt")[3:].decode("utf-8").replace("\r\n", "\n")
        with tempfile.TemporaryDirectory() as scratch:
            source = os.path.join(scratch, "ReadMe.txt")
            with open(source, "w", encoding="utf-8") as f:
                f.write(readme)
            source_en = os.path.join(scratch, "ReadMe-en.txt")
            with open(source_en, "w", encoding="utf-8") as f:
                f.write("English\n")

            def pack(name, epoch):
                out = os.path.join(scratch, name)
                subprocess.run([sys.executable, PACKER, "--version", VERSION, "--epoch",
                                str(epoch), "--exe", EXE, "--readme", source, "--readme-en",
                                source_en, "--license", LICENSE, "--out", out], check=True)
                with open(out, "rb") as f:
                    return f.read()

            first = pack("a.zip", 1765000000)
            self.assertEqual(first, pack("b.zip", 1765000000))
            self.assertNotEqual(first, pack("c.zip", 1765003600))
            with zipfile.ZipFile(os.path.join(scratch, "a.zip")) as archive:
                # 1765000000 is 2025-12-06 05:46:40 UTC.
                self.assertEqual(archive.infolist()[1].date_time, (2025, 12, 6, 5, 46, 40))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
