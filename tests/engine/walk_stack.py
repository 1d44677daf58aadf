#!/usr/bin/env python3
"""walk_stack.py COMPILER HANDHELD_DIR SOURCE...: the tree walks fit a handheld's stack.

A handheld thread has 64 KiB of stack, and Wine gives every thread at least
1 MiB, so running a deep tree under Wine cannot show an overflow. The compiler's
call graph can: each source is compiled with -fcallgraph-info=su, and the test
fails when a function of these files calls itself (directly or round a cycle),
since then the stack grows with the depth of the tree, or when one frame alone
passes FRAME_LIMIT bytes.
"""
import os
import re
import subprocess
import sys
import tempfile

FRAME_LIMIT = 4096

compiler, handheld, sources = sys.argv[1], sys.argv[2], sys.argv[3:]
nodes, edges = {}, []
with tempfile.TemporaryDirectory() as work:
    for source in sources:
        base = os.path.join(work, os.path.basename(source))
        subprocess.run([compiler, "-std=c++17", "-Os", "-DUNICODE", "-D_UNICODE", "-I" + handheld,
                        "-fcallgraph-info=su", "-c", os.path.abspath(source), "-o", base + ".o"], check=True, cwd=work)
        graph = open(base + ".ci").read()
        for title, label in re.findall(r'node: \{ title: "([^"]+)" label: "([^"]+)"', graph):
            frame = re.search(r"\\n(\d+) bytes", label)
            if frame:
                nodes[title] = (label.split("\\n")[0], int(frame.group(1)))
        edges += re.findall(r'edge: \{ sourcename: "([^"]+)" targetname: "([^"]+)"', graph)

calls = {}
for caller, callee in edges:
    if caller in nodes and callee in nodes:
        calls.setdefault(caller, set()).add(callee)

failed = False
for title, (name, frame) in sorted(nodes.items()):
    print("%6d bytes  %s" % (frame, name))
    if frame > FRAME_LIMIT:
        print("  frame over %d bytes" % FRAME_LIMIT)
        failed = True

def reaches(start, goal, seen):
    for callee in calls.get(start, ()):
        if callee == goal:
            return True
        if callee not in seen:
            seen.add(callee)
            if reaches(callee, goal, seen):
                return True
    return False

for title, (name, frame) in nodes.items():
    if reaches(title, title, set()):
        print("recursive: %s (%d bytes a level)" % (name, frame))
        failed = True

if not nodes:
    print("no functions found")
    failed = True
sys.exit(1 if failed else 0)
