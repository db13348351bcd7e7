#!/usr/bin/env python3
"""One test executable's results, for tools/run-tests.

Usage: count-results.py XML LOG EXIT_CODE
Prints "passed failed skipped disabled note": from the executable's GoogleTest XML
report (the root <testsuites> attributes), else from the "[  PASSED  ] N tests" /
"[  FAILED  ] N tests" lines of its output; a run that died counts the tests that
finished as passed and the crash as one failure.
"""
import os, re, sys
import xml.etree.ElementTree as ET

xml_path, log_path, rc = sys.argv[1], sys.argv[2], int(sys.argv[3])
passed = failed = skipped = disabled = 0
note = ""
root = None
if os.path.isfile(xml_path) and os.path.getsize(xml_path) > 0:
    try:
        root = ET.parse(xml_path).getroot()
    except ET.ParseError:
        note = "unreadable XML report"
if root is not None and root.tag == "testsuites":
    n = lambda e, k: int(e.get(k) or 0)
    # GoogleTest puts "skipped" on each <testsuite>, not always on the root;
    # "tests" includes the disabled and the skipped ones.
    skipped = n(root, "skipped") if "skipped" in root.attrib else sum(
        n(s, "skipped") for s in root.iter("testsuite"))
    disabled = n(root, "disabled")
    failed = n(root, "failures") + n(root, "errors")
    passed = n(root, "tests") - failed - disabled - skipped
else:
    try:
        text = open(log_path, encoding="utf-8", errors="replace").read()
    except OSError:
        text = ""
    p = re.search(r"^\[  PASSED  \] (\d+) tests?\b", text, re.M)
    f = re.search(r"^\[  FAILED  \] (\d+) tests?, listed below", text, re.M)
    s = re.search(r"^\[  SKIPPED \] (\d+) tests?\b", text, re.M)
    if p or f:
        passed = int(p.group(1)) if p else 0
        failed = int(f.group(1)) if f else 0
        skipped = int(s.group(1)) if s else 0
        note = note or "no XML report, counted from the output"
    else:
        # Died mid-run: the tests that finished still count as passed, the
        # crash counts as one failure.
        passed = len(re.findall(r"^\[       OK \] ", text, re.M))
        failed = 1
        note = "no result (crashed? exit code %d)" % rc
if rc != 0 and failed == 0:
    # e.g. LeakSanitizer reports at exit, after the XML was written.
    failed = 1
    note = "exit code %d although no test failed" % rc
if rc == 124:
    note = "timed out"
print(passed, failed, skipped, disabled, note)
