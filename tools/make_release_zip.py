#!/usr/bin/env python3
"""Packs the release zip: one folder Kestrune-<version>/ holding Kestrune.exe,
ReadMe.txt (Japanese), ReadMe-en.txt (English) and LICENSE.txt.

The zip is reproducible: the entries always come in the same order, with the
same permissions and one fixed time (the commit's), and with the same
compression, so one commit gives one zip, byte for byte.

usage: make_release_zip.py --version V --epoch SECONDS --exe PATH --readme PATH
                           --readme-en PATH --license PATH --out ZIP
"""
import argparse
import time
import zipfile


def windows_text(text):
    """The text files go out as UTF-8 with a byte-order mark and CRLF line ends:
    Notepad on a Windows that is not set to Japanese would otherwise guess the
    code page from the locale and show the Japanese ReadMe as garbage, and only
    recent versions of Notepad break lines at a bare LF."""
    lines = text.replace("\r\n", "\n").split("\n")
    return b"\xef\xbb\xbf" + "\r\n".join(lines).encode("utf-8")


def add(archive, name, data, stamp, executable=False):
    info = zipfile.ZipInfo(name, date_time=stamp)
    info.compress_type = zipfile.ZIP_DEFLATED
    info.create_system = 3  # Unix, so that the permissions below are read back
    mode = 0o755 if executable else 0o644
    info.external_attr = (0o100000 | mode) << 16
    archive.writestr(info, data, compress_type=zipfile.ZIP_DEFLATED, compresslevel=9)


def main():
    parser = argparse.ArgumentParser()
    for option in ("--version", "--epoch", "--exe", "--readme", "--readme-en", "--license",
                   "--out"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()

    # Zip times have no zone and a two-second step, and cannot go before 1980.
    seconds = max(int(args.epoch), 315532800)
    stamp = time.gmtime(seconds - seconds % 2)[:6]
    folder = "Kestrune-%s/" % args.version
    with open(args.exe, "rb") as f:
        exe = f.read()
    with open(args.readme, encoding="utf-8") as f:
        readme = windows_text(f.read())
    with open(args.readme_en, encoding="utf-8") as f:
        readme_en = windows_text(f.read())
    with open(args.license, encoding="utf-8") as f:
        licence = windows_text(f.read())

    with zipfile.ZipFile(args.out, "w") as archive:
        folder_info = zipfile.ZipInfo(folder, date_time=stamp)
        folder_info.create_system = 3
        folder_info.external_attr = ((0o040000 | 0o755) << 16) | 0x10  # also MS-DOS directory
        archive.writestr(folder_info, b"")
        add(archive, folder + "Kestrune.exe", exe, stamp, executable=True)
        add(archive, folder + "ReadMe.txt", readme, stamp)
        add(archive, folder + "ReadMe-en.txt", readme_en, stamp)
        add(archive, folder + "LICENSE.txt", licence, stamp)


if __name__ == "__main__":
    main()
