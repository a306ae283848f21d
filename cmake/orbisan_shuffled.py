#!/usr/bin/env python3
"""Writes, after a test program is linked, the GoogleTest flag file of each
of its test files: orbisan_shuffled.py <program> <folder> <suite> <test file>...

The program holds the tests of several files; GoogleTest's JSON listing says
which file defines each test. <folder>/<suite>_<file stem>.flags selects the
tests of that file (the "Shuffled.<suite>_<file stem>" test runs the program
with --gtest_flagfile=<it>). A file without a test gets no flag file (and one
left from an earlier build is removed), so its shuffled run fails, naming
the missing file.
"""
import json
import os
import subprocess
import sys
import tempfile


def tests_by_file(program):
    with tempfile.TemporaryDirectory() as scratch:
        listing = os.path.join(scratch, "tests.json")
        subprocess.run([program, "--gtest_list_tests", "--gtest_output=json:" + listing],
                       check=True, stdout=subprocess.DEVNULL)
        with open(listing, encoding="utf-8") as f:
            suites = json.load(f)["testsuites"]
    found = {}
    for suite in suites:
        for test in suite["testsuite"]:
            found.setdefault(test.get("file"), []).append(suite["name"] + "." + test["name"])
    return found


def write_if_changed(path, text):
    try:
        with open(path, encoding="utf-8") as f:
            if f.read() == text:
                return
    except FileNotFoundError:
        pass
    with open(path + ".new", "w", encoding="utf-8") as f:
        f.write(text)
    os.replace(path + ".new", path)


def main():
    program, folder, suite, sources = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]
    os.makedirs(folder, exist_ok=True)
    found = tests_by_file(program)
    for source in sources:
        stem = os.path.basename(source).split(".")[0]
        path = os.path.join(folder, suite + "_" + stem + ".flags")
        names = found.get(source)
        if not names:
            print(f"{program} holds no test of {source}", file=sys.stderr)
            if os.path.exists(path):
                os.remove(path)
            continue
        write_if_changed(path, "--gtest_filter=" + ":".join(names) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
