#!/usr/bin/env python3
"""Installs a build into a temporary prefix and checks that a desktop would find
Tembrel there: the programs, a valid desktop entry whose Exec and Icon resolve,
the icon in each hicolor size at that size, and the licence in Debian's
machine-readable copyright format, naming the licence that COPYING holds.

    check_install.py --cmake CMAKE --build BUILD_DIR --source SOURCE_DIR"""

import argparse
import configparser
import os
import shutil
import struct
import subprocess
import sys
import tempfile

ICON_SIZES = (16, 32, 48, 64, 128, 256)
COPYRIGHT_FORMAT = "https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"
SYSTEM_GPL3 = "/usr/share/common-licenses/GPL-3"


def png_size(path):
    with open(path, "rb") as f:
        header = f.read(24)
    if header[:8] != b"\x89PNG\r\n\x1a\n" or header[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", header[16:24])


def control_paragraphs(text):
    """The paragraphs of a Debian control-style file, each a dict of its fields;
    a continuation line (one that starts with a blank) belongs to the field
    above it."""
    paragraphs, fields, name = [], {}, None
    for line in text.split("\n") + [""]:
        if not line.strip():
            if fields:
                paragraphs.append(fields)
            fields, name = {}, None
        elif line[0] in " \t":
            if name is None:
                raise ValueError(f"a continuation line before any field: {line!r}")
            fields[name] += "\n" + line[1:]
        else:
            name, colon, value = line.partition(":")
            if not colon:
                raise ValueError(f"not a field: {line!r}")
            fields[name] = value.strip()
    return paragraphs


def check_copyright(prefix, source):
    path = os.path.join(prefix, "share", "doc", "tembrel", "copyright")
    if not os.path.isfile(path):
        return [f"no copyright file {path}"]
    try:
        with open(path, encoding="utf-8") as f:
            paragraphs = control_paragraphs(f.read())
    except ValueError as error:
        return [f"{path}: {error}"]
    problems = []
    if not paragraphs or paragraphs[0].get("Format") != COPYRIGHT_FORMAT:
        problems.append(f"{path} does not start with Format: {COPYRIGHT_FORMAT}")
    everything = [p for p in paragraphs if p.get("Files") == "*"]
    if len(everything) != 1 or everything[0].get("License") != "GPL-3+":
        problems.append(f"{path} has no one 'Files: *' paragraph under License: GPL-3+")
    texts = [p["License"] for p in paragraphs if "Files" not in p
             and p.get("License", "").split("\n")[0] == "GPL-3+"]
    if len(texts) != 1:
        problems.append(f"{path} has no stand-alone License: GPL-3+ paragraph")
    else:
        words = " ".join(texts[0].split())
        for wanted in ("either version 3 of the License, or (at your option) any later version",
                       SYSTEM_GPL3):
            if wanted not in words:
                problems.append(f"{path}'s GPL-3+ paragraph does not say '{wanted}'")
    # The licence it names is the one the repository carries, word for word.
    with open(os.path.join(source, "COPYING"), "rb") as ours, open(SYSTEM_GPL3, "rb") as gpl:
        if ours.read() != gpl.read():
            problems.append(f"COPYING is not the text of {SYSTEM_GPL3}")
    return problems


def check(prefix, source):
    problems = check_copyright(prefix, source)
    for program in ("tembrel", "tembrel-sim"):
        path = os.path.join(prefix, "bin", program)
        if not os.access(path, os.X_OK):
            problems.append(f"{path} is missing or not executable")

    desktop = os.path.join(prefix, "share", "applications", "tembrel.desktop")
    if not os.path.isfile(desktop):
        return problems + [f"no desktop entry {desktop}"]
    validation = subprocess.run(["desktop-file-validate", desktop], capture_output=True,
                                text=True)
    if validation.returncode != 0 or validation.stdout.strip():
        problems.append(f"desktop-file-validate: {validation.stdout.strip()}")
    entry = configparser.ConfigParser(interpolation=None)
    entry.optionxform = str
    entry.read(desktop)
    fields = entry["Desktop Entry"]
    for key, wanted in (("Type", "Application"), ("Name", "Tembrel"), ("Exec", "tembrel"),
                        ("Icon", "tembrel"), ("Terminal", "false")):
        if fields.get(key) != wanted:
            problems.append(f"the desktop entry's {key} is {fields.get(key)!r}, not {wanted!r}")

    for size in ICON_SIZES:
        icon = os.path.join(prefix, "share", "icons", "hicolor", f"{size}x{size}", "apps",
                            f"{fields.get('Icon')}.png")
        if not os.path.isfile(icon):
            problems.append(f"no icon {icon}")
        elif png_size(icon) != (size, size):
            problems.append(f"{icon} is {png_size(icon)}, not {size} x {size}")
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cmake", required=True)
    parser.add_argument("--build", required=True)
    parser.add_argument("--source", required=True)
    options = parser.parse_args()
    prefix = tempfile.mkdtemp(prefix="tembrel-install-")
    try:
        result = subprocess.run([options.cmake, "--install", options.build, "--prefix", prefix],
                                capture_output=True, text=True)
        if result.returncode != 0:
            print(result.stdout + result.stderr)
            return 1
        problems = check(prefix, options.source)
    finally:
        shutil.rmtree(prefix, ignore_errors=True)
    for problem in problems:
        print(problem)
    print("install layout:", "FAILED" if problems else "as a desktop expects it")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
