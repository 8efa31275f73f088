#!/usr/bin/env python3
"""Writes THIRD-PARTY-NOTICES.txt for rapporta.exe.

rapporta.exe is linked statically, so parts of the MinGW-w64 runtime,
winpthreads, libgcc and libstdc++ travel inside it. The notices are taken at
build time from the Debian copyright files of the packages that provided
those libraries on the build machine, and from libstdc++'s own headers, so
they cannot drift from what was linked. Each is named by its package and
version, which a reader can look up; the build machine's paths mean nothing
to them.

  notices.py --mingw COPYRIGHT --mingw-package "NAME VERSION"
             --gcc COPYRIGHT [--gcc ...]
             --stl HEADER --stl-package "NAME VERSION" -o OUTPUT
"""
import argparse
import re
import sys

# Which sources of the mingw-w64 package end up in a program: the C runtime
# (libmingw32, libmingwex, libmsvcrt's extras) and winpthreads. "*" is the
# package's catch-all stanza, which covers the runtime files no other stanza
# names. Profiling support is linked only with -pg, and tests never.
RUNTIME_SOURCES = ("mingw-w64-crt/", "mingw-w64-libraries/winpthreads/")
NOT_LINKED = ("mingw-w64-crt/profile/", "mingw-w64-crt/testcases/",
              "mingw-w64-libraries/winpthreads/tests_pthread/")

# Licences that ask for their notice to accompany copies in binary form
# ("in the documentation and/or other materials", "in all copies",
# "provided that this notice is preserved").
NOTICE_REQUIRED = {"ZPL-2.1", "Lucent", "David-Gay", "Permissive-Sun", "expat",
                   "BSD-2-clause-NetBSD", "ISC", "BSD-3-clause", "BSD-3-clause-Lockless"}
# Licences that ask for nothing.
NO_NOTICE = {"public-domain", "Keith-Marshall"}


def paragraphs(text):
    """The paragraphs of a machine-readable Debian copyright file, each a
    dict of field name to (first line, continuation lines)."""
    result, fields, name = [], {}, None
    for line in text.splitlines() + [""]:
        if not line.strip():
            if fields:
                result.append(fields)
            fields, name = {}, None
        elif line[0] in " \t" and name:
            # One leading space marks a continuation; the rest is layout.
            fields[name][1].append("" if line.strip() == "." else line[1:].rstrip())
        elif ":" in line:
            name, _, value = line.partition(":")
            fields[name] = (value.strip(), [])
    return result


def linked(pattern):
    return pattern == "*" or (pattern.startswith(RUNTIME_SOURCES)
                              and not pattern.startswith(NOT_LINKED))


def licence_names(expression):
    return expression.replace(" or ", " and ").split(" and ")


def mingw_notices(text):
    stanzas = paragraphs(text)
    standalone = {p["License"][0]: p["License"][1] for p in stanzas
                  if "License" in p and "Files" not in p}
    notices = []
    for p in stanzas:
        if "Files" not in p:
            continue
        first, more = p["Files"]
        files = [f for f in [first] + more if linked(f)]
        if not files:
            continue
        expression, body = p["License"]
        names = licence_names(expression)
        unknown = [n for n in names if n not in NOTICE_REQUIRED | NO_NOTICE]
        if unknown:
            sys.exit(f"notices.py: decide whether {unknown} asks for a notice")
        if all(n in NO_NOTICE for n in names):
            continue
        texts = [body] if body else [standalone[n] for n in names]
        copyright_lines = [p["Copyright"][0]] + p["Copyright"][1]
        notices.append((files, copyright_lines, expression, texts))
    return notices


def check_runtime_exception(text, path):
    # libgcc and libstdc++ ask for no notice only because of this exception;
    # if a toolchain's copyright no longer says so, the decision is to be
    # made again.
    for needed in ("GCC RUNTIME LIBRARY EXCEPTION", "Version 3.1", " - libgcc (", " - libstdc++-v3"):
        if needed not in text:
            sys.exit(f"notices.py: {path} no longer puts libgcc and libstdc++ under "
                     "the GCC Runtime Library Exception 3.1")


def stl_notices(text, path):
    """The Hewlett-Packard (1994) and Silicon Graphics (1996) permission
    notices of the STL, as a libstdc++ header's opening comment carries
    them: the template code under them is compiled into the program, and
    they ask to appear in its supporting documentation."""
    for comment in re.findall(r"/\*(.*?)\*/", text, re.S):
        if "Hewlett-Packard" in comment:
            lines = [re.sub(r"^\s*\*? ?", "", line).rstrip() for line in comment.splitlines()]
            notice = re.sub(r"\n{3,}", "\n\n", "\n".join(lines)).strip("\n")
            if "Silicon Graphics" in notice and "Permission to use" in notice:
                return notice
    sys.exit(f"notices.py: {path} no longer carries the Hewlett-Packard and Silicon "
             "Graphics notices")


HEADER = """\
Third-party notices for rapporta.exe
====================================

rapporta.exe is a single program with nothing installed beside it: its build
links parts of the MinGW-w64 runtime and of winpthreads into it, and compiles
template code of libstdc++ into it. Their licences ask for the notices below
to accompany every copy of the program.

rapporta.exe also contains parts of GCC's runtime libraries, libgcc and
libstdc++. They are licensed under the GNU General Public License version 3
with the GCC Runtime Library Exception, version 3.1, which allows a program
compiled by GCC to be distributed under terms of its own choice; apart from
the older notices that parts of libstdc++'s template code carry (below), they
ask for no notice in copies of such a program.

----------------------------------------------------------------------------
libstdc++ template code (from the Debian package {stl_package})

{stl}

----------------------------------------------------------------------------
The MinGW-w64 runtime and winpthreads (from the Debian package
{mingw_package})
"""


def render(mingw_package, stl_package, stl, notices):
    out = [HEADER.format(mingw_package=mingw_package, stl_package=stl_package, stl=stl)]
    for files, copyright_lines, expression, texts in notices:
        out.append("-" * 76)
        out.append("Files: " + "\n       ".join(files))
        out.append("Copyright: " + "\n           ".join(copyright_lines))
        out.append(f"License: {expression}\n")
        for body in texts:
            out.append("\n".join(body) + "\n")
    return "\n".join(out)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--mingw", required=True)
    parser.add_argument("--mingw-package", required=True)
    parser.add_argument("--gcc", action="append", required=True)
    parser.add_argument("--stl", required=True)
    parser.add_argument("--stl-package", required=True)
    parser.add_argument("-o", "--output", required=True)
    args = parser.parse_args()
    for path in args.gcc:
        with open(path, encoding="utf-8") as f:
            check_runtime_exception(f.read(), path)
    with open(args.mingw, encoding="utf-8") as f:
        notices = mingw_notices(f.read())
    if not notices:
        sys.exit(f"notices.py: nothing of the runtime found in {args.mingw}")
    with open(args.stl, encoding="utf-8") as f:
        stl = stl_notices(f.read(), args.stl)
    # CR LF: the file is read in Notepad.
    with open(args.output, "w", encoding="utf-8", newline="\r\n") as f:
        f.write(render(args.mingw_package, args.stl_package, stl, notices))


if __name__ == "__main__":
    main()
