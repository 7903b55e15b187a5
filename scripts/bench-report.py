#!/usr/bin/env python3
"""Writes BENCHMARKS.md from its template and the figures kkt-bench printed.

    scripts/bench-report.py                        # BENCHMARKS.md from bench/report/results.txt
    scripts/bench-report.py --run build/kkt-bench ini files
                                                   # measure those groups first, keep their lines
    scripts/bench-report.py --check --list FILE    # the test: nothing stale, nothing hand-written
    scripts/bench-report.py --run scripts/run-windows-bench.sh windows
                                                   # the Windows build's figures, measured under Wine

The template (bench/report/BENCHMARKS.md.in) writes a figure as {{name}}; results.txt keeps the
lines "name: value unit" of the latest run of each group, so one group can be measured again alone.
"""
import argparse
import os
import re
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TEMPLATE = os.path.join(ROOT, "bench", "report", "BENCHMARKS.md.in")
RESULTS = os.path.join(ROOT, "bench", "report", "results.txt")
REPORT = os.path.join(ROOT, "BENCHMARKS.md")
PLACEHOLDER = re.compile(r"\{\{([A-Za-z0-9_]+)\}\}")
LINE = re.compile(r"^([A-Za-z0-9_]+): (-?[0-9.]+|nan|inf)(?: (.*))?$")
# A figure named in the first cell of a table row: | `name` ... |
TABLE_NAME = re.compile(r"^\|\s*`([A-Za-z0-9_]+)`")
# The groups of the Windows kkt-bench, which a Linux build cannot list: their names as the sources give them.
WINDOWS_BENCH = os.path.join(ROOT, "bench", "windows")
BENCH_MACRO = re.compile(r"KKT_BENCH\((.*?)\)\s*\{", re.S)


def read_results(text):
    figures = {}
    for line in text.splitlines():
        m = LINE.match(line.strip())
        if m:
            figures[m.group(1)] = (float(m.group(2)), (m.group(3) or "").strip())
    return figures


def format_figure(value, unit):
    """Three significant digits, whole numbers from 100 up; percentages carry their sign."""
    if abs(value) >= 100:
        text = "%.0f" % value
    elif abs(value) >= 10:
        text = "%.1f" % value
    elif abs(value) >= 1:
        text = "%.2f" % value
    else:
        text = "%.3f" % value
    if "." in text:
        text = text.rstrip("0").rstrip(".")
    if unit == "%" and value >= 0:
        text = "+" + text
    return text + (" " + unit if unit else "")


def render(template, figures):
    missing = sorted({n for n in PLACEHOLDER.findall(template) if n not in figures})
    if missing:
        raise SystemExit("bench-report: no measured value for: " + ", ".join(missing))
    return PLACEHOLDER.sub(lambda m: format_figure(*figures[m.group(1)]), template)


def named_figures(markdown):
    names = set(PLACEHOLDER.findall(markdown))
    for line in markdown.splitlines():
        m = TABLE_NAME.match(line)
        if m:
            names.add(m.group(1))
    return names


def windows_figures():
    names = set()
    for entry in sorted(os.listdir(WINDOWS_BENCH)):
        if entry.endswith(".cpp"):
            for macro in BENCH_MACRO.findall(open(os.path.join(WINDOWS_BENCH, entry), encoding="utf-8").read()):
                names.update(re.findall(r'"([A-Za-z0-9_]+)"', macro))
    return names


def run_groups(bench, groups):
    figures = read_results(open(RESULTS, encoding="utf-8").read()) if os.path.exists(RESULTS) else {}
    env = dict(os.environ, QT_QPA_PLATFORM=os.environ.get("QT_QPA_PLATFORM", "offscreen"))
    for group in groups or [""]:
        out = subprocess.run([bench] + ([group] if group else []), env=env, check=True,
                             stdout=subprocess.PIPE, text=True).stdout
        sys.stdout.write(out)
        figures.update(read_results(out))
    with open(RESULTS, "w", encoding="utf-8") as f:
        for name in sorted(figures):
            value, unit = figures[name]
            f.write("%s: %.3f %s\n" % (name, value, unit))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--run", metavar="KKT_BENCH", help="measure with this kkt-bench first")
    ap.add_argument("groups", nargs="*", help="with --run: the groups to measure (all by default)")
    ap.add_argument("--check", action="store_true", help="check BENCHMARKS.md instead of writing it")
    ap.add_argument("--list", metavar="FILE", help="with --check: the output of kkt-bench --list")
    args = ap.parse_args()

    if args.run:
        run_groups(args.run, args.groups)
    template = open(TEMPLATE, encoding="utf-8").read()
    figures = read_results(open(RESULTS, encoding="utf-8").read())
    report = render(template, figures)

    if not args.check:
        with open(REPORT, "w", encoding="utf-8") as f:
            f.write(report)
        return 0

    problems = []
    if args.list:
        printed = set(open(args.list, encoding="utf-8").read().split()) | windows_figures()
        current = open(REPORT, encoding="utf-8").read()
        for name in sorted(named_figures(template) | named_figures(current)):
            if name not in printed:
                problems.append("figure `%s` is named in BENCHMARKS.md but kkt-bench does not print it" % name)
    if open(REPORT, encoding="utf-8").read() != report:
        problems.append("BENCHMARKS.md is not what scripts/bench-report.py writes: edit the template, then run it")
    for p in problems:
        print("bench-report: " + p, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
