#!/usr/bin/env python3
"""Runs the same simulations through two builds of tembrel-sim and compares
their exit status and output byte for byte: every case under tests/tools/cases
and COUNT generated ones (both decimal separators, one area, Multiple Areas,
Scattered Points, actions and estimates). Meant for the Linux build against
the Windows one under Wine.

    sim_compare.py --reference SIM --candidate 'wine SIM.exe' [--count N] WORK
"""
import argparse
import random
import shlex
import shutil
import subprocess
import sys
from pathlib import Path

CASES = Path(__file__).resolve().parent / "cases"


def number(rng, low, high, separator, digits=4):
    text = f"{rng.uniform(low, high):.{rng.randint(0, digits)}f}"
    form = rng.random()
    if form < 0.05:
        text = f"{float(text):.2e}"  # an exponent
    elif form < 0.08:
        text = "  " + text  # leading spaces pass
    elif form < 0.10:
        text = text + "x"  # refused
    return text.replace(".", separator)


def area_args(rng, separator):
    n = lambda low, high, digits=4: number(rng, low, high, separator, digits)
    return ["--lat", n(-85, 85), "--lon", n(-179, 179), "--width", n(0.05, 1.5),
            "--height", n(0.05, 1.0), "--snap-width", n(0.1, 0.5), "--snap-height", n(0.1, 0.5)]


def generated(rng, index, work):
    separator = rng.choice(".,")
    args = ["--decimal-separator", separator] if separator == "," else []
    tab = rng.choice(["area", "areas", "points"])
    if tab == "area":
        args += area_args(rng, separator)
    elif tab == "areas":
        grid = work / f"case{index}.grid"
        rows = []
        for _ in range(rng.randint(1, 5)):
            rows.append("\t".join(number(rng, low, high, separator, 3) for low, high in
                                  [(-80, 80), (-170, 170), (0.05, 0.6), (0.05, 0.6)]))
        ending = rng.choice(["\n", "\r\n"])
        grid.write_bytes((ending.join(rows) + ending).encode())
        args += ["--tab", "areas", "--grid", str(grid), "--snap-width",
                 number(rng, 0.1, 0.4, separator), "--snap-height", number(rng, 0.1, 0.4, separator)]
    else:
        memo = work / f"case{index}.memo"
        lines = []
        for _ in range(rng.randint(1, 12)):
            lat, lon = number(rng, -80, 80, separator), number(rng, -170, 170, separator)
            lines.append(rng.choice([f"{lat}, {lon}", f"{lat} {lon}", f"{lat};{lon}", "x", ""]))
        memo.write_bytes("\r\n".join(lines).encode())
        args += ["--tab", "points", "--memo", str(memo)]
    args += ["--altitude", str(rng.choice([250, 1000, 5000, 0])),
             "--refresh", str(rng.choice([1, 3, 10, 30]))]
    if rng.random() < 0.15:
        return args + ["--estimate"]
    until = rng.randint(20, 400)
    moments = sorted(rng.uniform(0, until) for _ in range(rng.randint(0, 5)))
    actions = ["0:start"]
    for moment in moments:
        action = rng.choice(["start", "pause", "stop", "stop-no", "tab=area", "tab=areas",
                             "tab=points", f"refresh={rng.choice(['5', '0', 'x', '2'])}"])
        actions.append(f"{moment:.2f}:{action}")
    for action in actions:
        args += ["--do", action]
    return args + ["--until", str(until)]


def run(command, args, folder):
    folder.mkdir(parents=True, exist_ok=True)
    result = subprocess.run(command + args, cwd=folder, capture_output=True, timeout=120)
    return result.returncode, result.stdout


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--reference", required=True)
    parser.add_argument("--candidate", required=True)
    parser.add_argument("--count", type=int, default=300)
    parser.add_argument("--seed", type=int, default=5)
    parser.add_argument("work", type=Path)
    options = parser.parse_args()
    reference, candidate = shlex.split(options.reference), shlex.split(options.candidate)
    shutil.rmtree(options.work, ignore_errors=True)
    options.work.mkdir(parents=True)

    cases = []
    for args_file in sorted(CASES.glob("*.args")):
        args = [line.replace("@CASES@", str(CASES))
                for line in args_file.read_text().splitlines()]
        cases.append((args_file.stem, args))
    rng = random.Random(options.seed)
    for index in range(options.count):
        cases.append((f"generated{index}", generated(rng, index, options.work)))

    passed = failed = 0
    for name, args in cases:
        expected = run(reference, args, options.work / name / "reference")
        actual = run(candidate, args, options.work / name / "candidate")
        if expected == actual:
            passed += 1
            continue
        failed += 1
        print(f"{name}: differs; arguments: {shlex.join(args)}")
        print(f"  reference exit {expected[0]}, candidate exit {actual[0]}")
        for i, (a, b) in enumerate(zip(expected[1].splitlines(True), actual[1].splitlines(True))):
            if a != b:
                print(f"  line {i + 1}: {a!r} != {b!r}")
                break
        else:
            print(f"  {len(expected[1])} bytes against {len(actual[1])}")
    print(f"{passed} passed, {failed} failed")
    return 0 if failed == 0 and passed > 0 else 1


if __name__ == "__main__":
    sys.exit(main())
