#!/usr/bin/env python3
"""Installs a build into a temporary prefix and checks that a desktop would find
Tembrel there: the programs, a valid desktop entry whose Exec and Icon resolve,
and the icon in each hicolor size at that size.

    check_install.py --cmake CMAKE --build BUILD_DIR"""

import argparse
import configparser
import os
import shutil
import struct
import subprocess
import sys
import tempfile

ICON_SIZES = (16, 32, 48, 64, 128, 256)


def png_size(path):
    with open(path, "rb") as f:
        header = f.read(24)
    if header[:8] != b"\x89PNG\r\n\x1a\n" or header[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", header[16:24])


def check(prefix):
    problems = []
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
    options = parser.parse_args()
    prefix = tempfile.mkdtemp(prefix="tembrel-install-")
    try:
        result = subprocess.run([options.cmake, "--install", options.build, "--prefix", prefix],
                                capture_output=True, text=True)
        if result.returncode != 0:
            print(result.stdout + result.stderr)
            return 1
        problems = check(prefix)
    finally:
        shutil.rmtree(prefix, ignore_errors=True)
    for problem in problems:
        print(problem)
    print("install layout:", "FAILED" if problems else "as a desktop expects it")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
