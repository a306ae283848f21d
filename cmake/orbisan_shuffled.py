#!/usr/bin/env python3
"""Runs the tests of one test file of a GoogleTest program in one process,
in shuffled order: orbisan_shuffled.py <program> <test file>.

The program holds the tests of several files; GoogleTest's JSON listing says
which file defines each test. Exits with the program's status; fails when the
program has no test of that file.
"""
import json
import os
import subprocess
import sys
import tempfile


def tests_of(program, source):
    with tempfile.TemporaryDirectory() as scratch:
        listing = os.path.join(scratch, "tests.json")
        subprocess.run([program, "--gtest_list_tests", "--gtest_output=json:" + listing],
                       check=True, stdout=subprocess.DEVNULL)
        with open(listing, encoding="utf-8") as f:
            suites = json.load(f)["testsuites"]
    return [suite["name"] + "." + test["name"]
            for suite in suites for test in suite["testsuite"] if test.get("file") == source]


def main():
    program, source = sys.argv[1], sys.argv[2]
    names = tests_of(program, source)
    if not names:
        print(f"{program} holds no test of {source}", file=sys.stderr)
        return 1
    sys.stdout.flush()
    status = subprocess.run([program, "--gtest_shuffle", "--gtest_filter=" + ":".join(names)]).returncode
    return status if status >= 0 else 128 - status


if __name__ == "__main__":
    sys.exit(main())
