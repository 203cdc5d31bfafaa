#!/usr/bin/env python3
"""Fails when a test file reads pixels off the screen without a display of its own.

The screen shows every window on the display: on the one ctest -j shares, the windows
of tests run beside a screen reader land in its pictures now and then, and it fails
only under load. A test file calling on_screen() is therefore listed under OWN_DISPLAY
in the korvex_test of its folder's CMakeLists.txt.

Usage: check_screen_readers.py SOURCE_ROOT
"""
import re
import sys
from pathlib import Path

SCREEN_READ = re.compile(r"\bon_screen\s*\(")
# OWN_DISPLAY's files run up to the next keyword of korvex_test or its closing bracket.
OWN_DISPLAY = re.compile(r"\bOWN_DISPLAY\b([^)]*?)(?=\b(?:SOURCES|LIBS|ENVIRONMENT|PLAIN)\b|\))")


def own_display_files(cmake_lists):
    if not cmake_lists.exists():
        return set()
    listed = OWN_DISPLAY.findall(cmake_lists.read_text())
    return {name for files in listed for name in files.split()}


def main(root):
    unlisted = [
        source.relative_to(root)
        for source in sorted((root / "tests").rglob("tst_*.cpp"))
        if SCREEN_READ.search(source.read_text())
        and source.name not in own_display_files(source.parent / "CMakeLists.txt")
    ]
    for source in unlisted:
        print(f"{source} reads the screen: list it under OWN_DISPLAY in its korvex_test")
    return 1 if unlisted else 0


if __name__ == "__main__":
    sys.exit(main(Path(sys.argv[1])))
