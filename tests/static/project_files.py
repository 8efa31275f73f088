#!/usr/bin/env python3
"""The project's own C and C++ sources in a compile_commands.json.

project_files.py <compile_commands.json> <source dir> files|compiler|<out.json>
  files      the sources of src/ and standin/, one a line
  compiler   the compiler those sources are built with
  out.json   writes a compile_commands.json holding only those sources
"""
import json
import shlex
import sys

db, src, what = sys.argv[1], sys.argv[2].rstrip("/"), sys.argv[3]
entries = [
    e for e in json.load(open(db))
    if e["file"].startswith((src + "/src/", src + "/standin/"))
    and e["file"].endswith((".c", ".cpp"))
]
if not entries:
    sys.exit(f"no sources of src/ or standin/ in {db}")
if what == "files":
    print("\n".join(e["file"] for e in entries))
elif what == "compiler":
    e = entries[0]
    print(e["arguments"][0] if "arguments" in e else shlex.split(e["command"])[0])
else:
    with open(what, "w") as out:
        json.dump(entries, out, indent=1)
