#!/usr/bin/env python3
"""Lines of C++ (.cpp and .h) in the tests against the code they test.

For each system folder X, tests/X against X/; then the whole of tests/ against every other
tracked C++ file of the project. The tests of a folder should stay within half of its code, and
the whole test tree within a third of the project's code.
"""
import os
import subprocess

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FOLDERS = ["about", "control", "transfer", "connections", "dialogs"]


def lines(files):
    total = 0
    for name in files:
        with open(os.path.join(ROOT, name), encoding="utf-8", errors="replace") as f:
            total += sum(1 for _ in f)
    return total


files = subprocess.run(["git", "ls-files", "-co", "--exclude-standard", "*.cpp", "*.h"], cwd=ROOT, check=True,
                       capture_output=True, text=True).stdout.split()
files = [f for f in files if os.path.isfile(os.path.join(ROOT, f)) and not f.startswith("build/")]
for folder in FOLDERS:
    tests = lines(f for f in files if f.startswith(f"tests/{folder}/"))
    code = lines(f for f in files if f.startswith(f"{folder}/"))
    print(f"{folder:12} tests {tests:6} code {code:6}  {tests / code:4.0%} (at most 50%)")
tests = lines(f for f in files if f.startswith("tests/"))
code = lines(f for f in files if not f.startswith("tests/"))
print(f"{'everything':12} tests {tests:6} code {code:6}  {tests / code:4.0%} (at most 33%)")
