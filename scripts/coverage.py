#!/usr/bin/env python3
"""Line and branch coverage of the project's code, from the data files the coverage builds'
tests leave (run by `make coverage`).

  scripts/coverage.py clear    removes the data of earlier runs from both coverage builds
  scripts/coverage.py report   per-file figures, the current list of unrun lines
                               (build/coverage/uncovered.txt) compared with tests/uncovered.txt,
                               and last the two summary lines:
                                 portable: lines NN.N% branches NN.N%
                                 shell: lines NN.N% branches NN.N%
  scripts/coverage.py update   rewrites tests/uncovered.txt from the current list, keeping the
                               reasons already written; a line with no reason yet gets "?"

The portable code (core/, history/, shell/model/) is measured by the native tests
(build/coverage), the Win32 shell (the .cpp files directly in shell/) by its Wine tests
(build/coverage-win). Only those .cpp files count: not headers, tests or libraries.

Lines are gcov's, less those holding only a brace or `else` (a closing brace carries the
implicit return and the clean-up when an exception passes, which no test can aim at).
Branches are gcov's on the lines that count, less those taken only by a thrown exception.
Percentages are cut, not rounded, to one decimal: 100.0% means every one.
"""

import json
import os
import re
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LIST = os.path.join(ROOT, "tests", "uncovered.txt")
CURRENT = os.path.join(ROOT, "build", "coverage", "uncovered.txt")
NO_REASON = "?"

# (name, build folder, gcov of its compiler, the sources it measures)
PARTS = [
    ("portable", "build/coverage", "gcov", re.compile(r"^(core|history|shell/model)/[^/]+\.cpp$")),
    ("shell", "build/coverage-win", "x86_64-w64-mingw32-gcov-posix",
     re.compile(r"^shell/[^/]+\.cpp$")),
]

HEADER = """\
# Lines that no test runs, one a line: <file>:<line> | <the line's text> | <why no test runs it>
# Written by `make coverage-update` (or scripts/coverage.py update after `make coverage`) from
# the latest measurement; the reasons are people's, kept when the list is rewritten, and a
# line with no reason yet gets "?". Lines are matched by file and text: the number is for
# reading.
"""


def is_code(text):
    text = re.sub(r"//.*", "", text).strip()
    return text not in ("", "{", "}", "else")


def measure(build, gcov, wanted):
    """{file: {line: (runs, [branch taken?, ...])}} for the wanted sources of one build."""
    folder = os.path.join(ROOT, build)
    notes = []
    for directory, subdirectories, files in os.walk(folder):
        subdirectories[:] = [d for d in subdirectories if d not in ("googletest", "tests", "bench")]
        notes += [os.path.join(directory, f) for f in files if f.endswith(".gcno")]
    if not notes:
        sys.exit(f"coverage.py: no coverage notes in {build}: build it first")
    output = subprocess.run([gcov, "--json-format", "--stdout", "--branch-probabilities"] +
                            sorted(notes), cwd=folder, check=True, capture_output=True,
                            text=True).stdout
    lines = {}
    for document in output.splitlines():
        for source in json.loads(document)["files"]:
            path = os.path.relpath(source["file"], ROOT)
            if not wanted.match(path):
                continue
            counts = lines.setdefault(path, {})
            # A line in several functions (a lambda, a constructor's variants) adds up.
            for entry in source["lines"]:
                runs, taken = counts.get(entry["line_number"], (0, []))
                branches = [b["count"] > 0 for b in entry["branches"] if not b["throw"]]
                taken = [a or b for a, b in zip(taken, branches)] + \
                    (taken[len(branches):] or branches[len(taken):])
                counts[entry["line_number"]] = (runs + entry["count"], taken)
    for path in sorted(p for p in tracked_sources() if wanted.match(p)):
        if path not in lines:
            sys.exit(f"coverage.py: no coverage notes for {path} in {build}")
    return lines


def tracked_sources():
    listed = subprocess.run(["git", "ls-files", "*.cpp"], cwd=ROOT, check=True,
                            capture_output=True, text=True).stdout
    return listed.split()


def percent(part, whole):
    return f"{int(part * 1000 / whole) / 10 if whole else 100:.1f}%"


def read_list(path):
    """[(file, line, text, reason)] from a list file; [] when it does not exist."""
    if not os.path.exists(path):
        return []
    entries = []
    with open(path, encoding="utf-8") as f:
        for number, row in enumerate(f, 1):
            row = row.rstrip("\n")
            if not row.strip() or row.startswith("#"):
                continue
            try:
                place, rest = row.split(" | ", 1)
                text, reason = rest.rsplit(" | ", 1)
                file, line = place.rsplit(":", 1)
                entries.append((file, int(line), text, reason.strip()))
            except ValueError:
                sys.exit(f"{path}:{number}: not <file>:<line> | <text> | <reason>")
    return entries


def write_list(path, entries, header=""):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as f:
        f.write(header)
        for file, line, text, reason in entries:
            f.write(f"{file}:{line} | {text} | {reason}\n")


def pair(listed, current):
    """Pairs the listed and current line numbers of one text in one file, in order, so that
    the lines moved least: [(listed or None, current or None)]."""
    n, m = len(listed), len(current)
    # cost[i][j]: the best pairing of listed[i:] with current[j:]
    cost = [[0] * (m + 1) for _ in range(n + 1)]
    for i in range(n, -1, -1):
        for j in range(m, -1, -1):
            options = []
            if i < n:
                options.append(cost[i + 1][j] + 10**6)
            if j < m:
                options.append(cost[i][j + 1] + 10**6)
            if i < n and j < m:
                options.append(cost[i + 1][j + 1] + abs(listed[i] - current[j]))
            cost[i][j] = min(options) if options else 0
    pairs, i, j = [], 0, 0
    while i < n or j < m:
        if i < n and j < m and cost[i][j] == cost[i + 1][j + 1] + abs(listed[i] - current[j]):
            pairs.append((listed[i], current[j]))
            i, j = i + 1, j + 1
        elif i < n and cost[i][j] == cost[i + 1][j] + 10**6:
            pairs.append((listed[i], None))
            i += 1
        else:
            pairs.append((None, current[j]))
            j += 1
    return pairs


def compare(listed, unrun):
    """The current list with the listed reasons, the newly unrun, and the listed now run."""
    groups = {}
    for file, line, text, reason in listed:
        groups.setdefault((file, text), ([], []))[0].append((line, reason))
    for file, line, text in unrun:
        groups.setdefault((file, text), ([], []))[1].append(line)
    current, new, gone = [], [], []
    for (file, text), (old, now) in groups.items():
        reasons = dict(old)
        for was, line in pair(sorted(reasons), sorted(now)):
            if line is None:
                gone.append((file, was, text, reasons[was]))
            elif was is None:
                new.append((file, line, text, NO_REASON))
                current.append(new[-1])
            else:
                current.append((file, line, text, reasons[was]))
    order = lambda entry: (entry[0], entry[1])
    return sorted(current, key=order), sorted(new, key=order), sorted(gone, key=order)


def report():
    summaries, unrun = [], []
    for name, build, gcov, wanted in PARTS:
        total = [0, 0, 0, 0]  # lines, lines run, branches, branches taken
        for path, counts in sorted(measure(build, gcov, wanted).items()):
            with open(os.path.join(ROOT, path), encoding="utf-8") as f:
                source = f.read().splitlines()
            figures = [0, 0, 0, 0]
            for number, (runs, taken) in sorted(counts.items()):
                text = source[number - 1].strip()
                if not is_code(text):
                    continue
                figures = [figures[0] + 1, figures[1] + (runs > 0), figures[2] + len(taken),
                           figures[3] + sum(taken)]
                if runs == 0:
                    unrun.append((path, number, text))
            total = [a + b for a, b in zip(total, figures)]
            print(f"{path:32} {figures[0]:4} lines {percent(figures[1], figures[0]):>6}"
                  f"  {figures[2]:4} branches {percent(figures[3], figures[2]):>6}")
        summaries.append(f"{name}: lines {percent(total[1], total[0])} "
                         f"branches {percent(total[3], total[2])}")

    current, new, gone = compare(read_list(LIST), unrun)
    write_list(CURRENT, current)
    relative = os.path.relpath(LIST, ROOT)
    print(f"\n{len(unrun)} lines unrun: {os.path.relpath(CURRENT, ROOT)}")
    if new:
        print(f"Newly unrun, not in {relative} (each needs a reason):")
        for file, line, text, _ in new:
            print(f"  {file}:{line} | {text}")
    if gone:
        print(f"In {relative} but now run:")
        for file, line, text, _ in gone:
            print(f"  {file}:{line} | {text}")
    unexplained = sum(1 for entry in current if entry[3] == NO_REASON) - len(new)
    if unexplained:
        print(f"{unexplained} lines of {relative} have no reason yet (\"{NO_REASON}\")")
    if new or gone:
        print(f"`make coverage-update` (or scripts/coverage.py update) rewrites {relative}")
    else:
        print(f"{relative} lists exactly these")
    print()
    for summary in summaries:
        print(summary)


def update():
    if not os.path.exists(CURRENT):
        sys.exit("coverage.py: no current list: run `make coverage` first")
    write_list(LIST, read_list(CURRENT), HEADER)
    print(f"{os.path.relpath(LIST, ROOT)}: {len(read_list(LIST))} lines")


def clear():
    for _, build, _, _ in PARTS:
        for directory, _, files in os.walk(os.path.join(ROOT, build)):
            for f in files:
                if f.endswith(".gcda"):
                    os.remove(os.path.join(directory, f))


if __name__ == "__main__":
    commands = {"report": report, "update": update, "clear": clear}
    if len(sys.argv) != 2 or sys.argv[1] not in commands:
        sys.exit(__doc__)
    commands[sys.argv[1]]()
