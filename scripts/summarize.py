#!/usr/bin/env python3
"""Adds up the results of both builds: GoogleTest cases from their XML files, and each
CTest entry that wrote no GoogleTest XML (a crashed test executable counts as failed).
A folder without CTest results may hold a junit.xml of its own (scripts/fuzz, scripts/lint):
its test cases count the same way. `--note DIR TEXT` adds "(TEXT)" to DIR's line, e.g. which
of a build's tests could run on this machine."""
import os
import sys
import xml.etree.ElementTree as ET


def build_counts(build_dir):
    passed = failed = skipped = 0
    lines = []
    results = os.path.join(build_dir, "test-results")
    junit = os.path.join(build_dir, "ctest-junit.xml")
    if not os.path.exists(junit):
        junit = os.path.join(build_dir, "junit.xml")
    if not os.path.exists(junit):
        return 0, 1, 0, [f"{build_dir}: no CTest results (not built or not run)"]
    for case in ET.parse(junit).getroot().iter("testcase"):
        name = case.get("name")
        ctest_failed = case.find("failure") is not None or case.get("status") == "fail"
        gxml = os.path.join(results, name + ".xml")
        if os.path.exists(gxml):
            try:
                root = ET.parse(gxml).getroot()
            except ET.ParseError:
                root = None
            if root is not None:
                p = f = s = 0
                for t in root.iter("testcase"):
                    if t.find("failure") is not None or t.find("error") is not None:
                        f += 1
                        lines.append(f"FAILED {os.path.basename(build_dir)}: {name}: {t.get('classname')}.{t.get('name')}")
                    elif t.get("result") == "skipped" or t.find("skipped") is not None or t.get("status") == "notrun":
                        s += 1
                    else:
                        p += 1
                if ctest_failed and f == 0:
                    f = 1  # the executable failed outside any case (crash, leak report, time-out)
                    lines.append(f"FAILED {os.path.basename(build_dir)}: {name} (outside its test cases)")
                passed, failed, skipped = passed + p, failed + f, skipped + s
                continue
        if ctest_failed:
            failed += 1
            lines.append(f"FAILED {os.path.basename(build_dir)}: {name}")
        elif case.get("status") == "notrun" or case.find("skipped") is not None:
            skipped += 1
        else:
            passed += 1
    return passed, failed, skipped, lines


def main():
    args = sys.argv[1:]
    notes = {}
    while args and args[0] == "--note" and len(args) >= 3:
        notes[args[1]] = args[2]
        args = args[3:]
    total_p = total_f = total_s = 0
    for build_dir in args:
        p, f, s, lines = build_counts(build_dir)
        for line in lines:
            print(line)
        note = f" ({notes[build_dir]})" if build_dir in notes else ""
        print(f"{os.path.basename(build_dir)}: {p} passed, {f} failed, {s} skipped{note}")
        total_p, total_f, total_s = total_p + p, total_f + f, total_s + s
    print(f"{total_p} passed, {total_f} failed, {total_s} skipped")
    return 1 if total_f else 0


if __name__ == "__main__":
    sys.exit(main())
