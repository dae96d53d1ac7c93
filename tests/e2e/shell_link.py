#!/usr/bin/env python3
"""Reads a Windows shortcut (.lnk, the Shell Link Binary File Format) and
prints the fields a user's start of the program depends on, one per line:

    target C:\\...\\bin\\tembrel.exe
    working-dir C:\\users\\...\\Documents\\Tembrel

    shell_link.py FILE.lnk"""

import struct
import sys

HEADER_SIZE = 0x4C
HAS_TARGET_ID_LIST = 0x01
HAS_LINK_INFO = 0x02
HAS_NAME = 0x04
HAS_RELATIVE_PATH = 0x08
HAS_WORKING_DIR = 0x10
HAS_ARGUMENTS = 0x20
HAS_ICON_LOCATION = 0x40
IS_UNICODE = 0x80
VOLUME_ID_AND_LOCAL_BASE_PATH = 0x01


class NotAShortcut(ValueError):
    pass


def _unpack(form, data, at):
    size = struct.calcsize(form)
    if at + size > len(data):
        raise NotAShortcut(f"cut short at byte {at}")
    return struct.unpack_from(form, data, at)


def _c_string(data, at, wide):
    if wide:
        end = at
        while end + 1 < len(data) and data[end:end + 2] != b"\0\0":
            end += 2
        return data[at:end].decode("utf-16-le")
    end = data.find(b"\0", at)
    if end < 0:
        raise NotAShortcut("an unterminated path")
    return data[at:end].decode("latin-1")


def read(data):
    """The shortcut's target path and working folder (None where absent)."""
    (header_size,) = _unpack("<I", data, 0)
    if header_size != HEADER_SIZE or data[4:20] != bytes.fromhex(
            "0114020000000000c000000000000046"):
        raise NotAShortcut("no shell link header")
    (flags,) = _unpack("<I", data, 20)
    at = HEADER_SIZE
    if flags & HAS_TARGET_ID_LIST:
        (id_list_size,) = _unpack("<H", data, at)
        at += 2 + id_list_size
    target = None
    if flags & HAS_LINK_INFO:
        info_size, info_header_size, info_flags, _, base_offset = _unpack("<5I", data, at)
        if info_flags & VOLUME_ID_AND_LOCAL_BASE_PATH:
            if info_header_size >= 0x24:
                (wide_offset,) = _unpack("<I", data, at + 0x1C)
                target = _c_string(data, at + wide_offset, True)
            else:
                target = _c_string(data, at + base_offset, False)
        at += info_size
    strings = {}
    for flag, name in ((HAS_NAME, "name"), (HAS_RELATIVE_PATH, "relative-path"),
                       (HAS_WORKING_DIR, "working-dir"), (HAS_ARGUMENTS, "arguments"),
                       (HAS_ICON_LOCATION, "icon")):
        if flags & flag:
            (count,) = _unpack("<H", data, at)
            at += 2
            width = 2 if flags & IS_UNICODE else 1
            if at + count * width > len(data):
                raise NotAShortcut(f"the {name} string is cut short")
            raw = data[at:at + count * width]
            # Some writers count the terminating NUL as one of the characters.
            strings[name] = raw.decode("utf-16-le" if width == 2 else "latin-1").rstrip("\0")
            at += count * width
    return target, strings.get("working-dir")


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    with open(sys.argv[1], "rb") as f:
        data = f.read()
    try:
        target, working_dir = read(data)
    except NotAShortcut as error:
        print(f"{sys.argv[1]}: {error}", file=sys.stderr)
        return 1
    print(f"target {target or ''}")
    print(f"working-dir {working_dir or ''}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
