#!/usr/bin/env python3
"""Checks that each library of src/ declares exactly the project libraries its code includes from.

    scripts/check-deps.py          # prints what is wrong, exits 1 when anything is

Each folder src/NAME declares, in its CMakeLists.txt, `kkt_subsystem(NAME DEPS ... UI_DEPS ...)`:
its core code (the folder itself, posix/, win/) is library kkt_NAME, its widgets (ui/) kkt_NAME_ui.
An include "OTHER/file.h" in core code needs kkt_OTHER among DEPS, and "OTHER/ui/file.h" in widget
code needs kkt_OTHER_ui among UI_DEPS ("OTHER/file.h" there is covered by kkt_OTHER among DEPS, or
among UI_DEPS by kkt_OTHER or by kkt_OTHER_ui, which carries it). Core code never includes widgets.
A declared library that no file includes from is reported as well: the build graph should say what
the code uses, no more.
"""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SRC = os.path.join(ROOT, "src")
CALL = re.compile(r"kkt_subsystem\((\w+)(.*?)\)", re.S)
INCLUDE = re.compile(r'^\s*#\s*include\s+"(\w+)/(ui/)?[^"]+"', re.M)
KEYWORDS = {"DEPS", "UI_DEPS", "LIBS", "POSIX", "WINDOWS", "POSIX_LIBS", "WINDOWS_LIBS"}


def declared(cmake_text):
    """name -> {"DEPS": set, "UI_DEPS": set} for every kkt_subsystem call."""
    out = {}
    for name, args in CALL.findall(cmake_text):
        lists = {"DEPS": set(), "UI_DEPS": set()}
        current = None
        for word in args.split():
            if word in KEYWORDS:
                current = word
            elif current in lists and word.startswith("kkt_"):
                lists[current].add(word)
        out[name] = lists
    return out


def sources(folder, widgets):
    """The files of a library: ui/ for the widgets, the rest (folder, posix/, win/) for the core."""
    subfolders = ["ui"] if widgets else ["", "posix", "win"]
    for sub in subfolders:
        path = os.path.join(folder, sub)
        if not os.path.isdir(path):
            continue
        for entry in sorted(os.listdir(path)):
            if entry.endswith((".cpp", ".h")) and entry != "main.cpp":
                yield os.path.join(path, entry)


def included(files, own):
    """(library, widgets?) -> first file that includes from it, for other subsystems' headers."""
    found = {}
    for path in files:
        text = open(path, encoding="utf-8").read()
        for other, ui in INCLUDE.findall(text):
            if other != own and os.path.isdir(os.path.join(SRC, other)):
                found.setdefault((other, bool(ui)), os.path.relpath(path, ROOT))
    return found


def check():
    problems = []
    subsystems = {}
    for entry in sorted(os.listdir(SRC)):
        cmake = os.path.join(SRC, entry, "CMakeLists.txt")
        if os.path.isfile(cmake):
            subsystems.update(declared(open(cmake, encoding="utf-8").read()))
    for name, deps in sorted(subsystems.items()):
        folder = os.path.join(SRC, name)
        core = included(sources(folder, False), name)
        ui = included(sources(folder, True), name)
        own_ui = any(True for _ in sources(folder, True))

        needed = set()
        for (other, widgets), where in sorted(core.items()):
            if widgets:
                problems.append("%s: core code includes widgets of %s (%s)" % (name, other, where))
            else:
                needed.add("kkt_" + other)
                if "kkt_" + other not in deps["DEPS"]:
                    problems.append("kkt_%s includes from kkt_%s without declaring it (%s)" % (name, other, where))
        for dep in sorted(deps["DEPS"] - needed):
            problems.append("kkt_%s declares kkt_%s, which none of its core files includes from" % (name, dep[4:]))

        ui_needed = set()
        for (other, widgets), where in sorted(ui.items()):
            lib = "kkt_%s_ui" % other
            if widgets:
                ui_needed.add(lib)
                if lib not in deps["UI_DEPS"]:
                    problems.append("kkt_%s_ui includes from %s without declaring it (%s)" % (name, lib, where))
            elif "kkt_" + other in deps["DEPS"]:
                pass
            elif "kkt_" + other in deps["UI_DEPS"]:
                ui_needed.add("kkt_" + other)  # a widget library that needs only another's rules
            elif lib in deps["UI_DEPS"]:
                ui_needed.add(lib)
            else:
                problems.append("kkt_%s_ui includes from kkt_%s without declaring it (%s)" % (name, other, where))
        if own_ui:
            for dep in sorted(deps["UI_DEPS"] - ui_needed):
                problems.append("kkt_%s_ui declares %s, which none of its widget files includes from" % (name, dep))
    return problems


def main():
    problems = check()
    for p in problems:
        print("check-deps: " + p, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
