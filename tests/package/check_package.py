#!/usr/bin/env python3
"""Builds the release zip with CPack and reads it back as a user receives it.

  check_package.py --cpack CPACK --build BUILD --zip NAME --folder NAME --source SRC
                   --guide NAME --wine-run RUN_SH STATE
                   --identity-tests EXE --e2e-tests EXE
"""
import argparse
import os
import re
import shutil
import struct
import subprocess
import sys
import zipfile

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAILED:", what)
    return condition


def pe_header(exe):
    """(machine, optional-header magic, subsystem) of a PE image."""
    if exe[:2] != b"MZ":
        return None
    (offset,) = struct.unpack_from("<I", exe, 0x3C)
    if exe[offset:offset + 4] != b"PE\0\0":
        return None
    (machine,) = struct.unpack_from("<H", exe, offset + 4)
    optional = offset + 24
    (magic,) = struct.unpack_from("<H", exe, optional)
    (subsystem,) = struct.unpack_from("<H", exe, optional + 68)
    return machine, magic, subsystem


# Comments are matched too, so that quotes inside them are passed over.
LITERAL = re.compile(r'//[^\n]*|/\*.*?\*/|(?:\b(?:u8|u|L))?"((?:[^"\\\n]|\\.)*)"', re.S)
NAMED_TEXT = re.compile(r'\bk\w*(?:Text|Title)\b[^=;]*=\s*$')


def shown_texts(source):
    """The texts of the program a user can read: every literal with
    characters beyond ASCII, and whole constants named ...Text or ...Title,
    each cut at its escapes (line breaks, NULs) into the pieces a user sees."""
    texts = set()
    for folder, _, files in os.walk(os.path.join(source, "src")):
        for name in files:
            if not name.endswith((".h", ".cpp")):
                continue
            with open(os.path.join(folder, name), encoding="utf-8") as f:
                code = f.read()
            for match in LITERAL.finditer(code):
                if match.group(1) is None:
                    continue
                named = NAMED_TEXT.search(code[max(0, match.start() - 80):match.start()])
                for piece in re.split(r"\\.", match.group(1)):
                    piece = piece.strip()
                    if piece and (named or not piece.isascii()):
                        texts.add(piece)
    return texts


# Where the code names an operation that can fail: the calls that turn a
# failed call into a Failure, and a host call's running operation.
REPORTER = re.compile(r'\b(?:CheckHr|CheckWin|ThrowLastError|Failure|Run|Required<[^;]*?>|'
                      r'CheckedLength)\s*\(|\boperation\s*=\s*(?=")')
NARROW = re.compile(r'(?<![\w"])"([A-Za-z][\w.() ]*)"')
TABLE_ENTRY = re.compile(r'\{"([^"]+)",\s*Situation::k\w+\}')


def up_to_its_end(code, start):
    """The text of a call from its opening parenthesis to the closing one,
    or of a statement to its semicolon."""
    depth = 0
    for i in range(start, len(code)):
        if code[i] == "(":
            depth += 1
        elif code[i] == ")":
            depth -= 1
            if depth == 0:
                return code[start:i]
        elif code[i] == ";" and depth == 0:
            return code[start:i]
    return code[start:]


def failing_operations(source):
    """The operation names the program can report a failure of."""
    names = set()
    for folder, _, files in os.walk(os.path.join(source, "src")):
        for name in files:
            if name.endswith((".h", ".cpp")):
                with open(os.path.join(folder, name), encoding="utf-8") as f:
                    code = f.read()
                for match in REPORTER.finditer(code):
                    names.update(NARROW.findall(up_to_its_end(code, match.end() - 1)))
    return names


def main():
    parser = argparse.ArgumentParser()
    for option in ("cpack", "build", "zip", "folder", "source", "guide", "identity-tests",
                   "e2e-tests"):
        parser.add_argument("--" + option, required=True)
    parser.add_argument("--wine-run", nargs=2, required=True)
    args = parser.parse_args()
    work = os.path.join(args.build, "package-test")
    shutil.rmtree(work, ignore_errors=True)
    subprocess.run([args.cpack, "--config", os.path.join(args.build, "CPackConfig.cmake"),
                    "-B", work], check=True, stdout=subprocess.DEVNULL)
    archive = zipfile.ZipFile(os.path.join(work, args.zip))

    # One folder holds everything, so that extracting the zip where it lies
    # leaves no loose files.
    files = [name for name in archive.namelist() if not name.endswith("/")]
    inside = [name[len(args.folder) + 1:] for name in files
              if name.startswith(args.folder + "/")]
    expected = ["rapporta.exe", args.guide, "README.txt", "LICENSE.txt", "THIRD-PARTY-NOTICES.txt"]
    check(len(inside) == len(files) and sorted(inside) == sorted(expected),
          f"the zip holds {files}, not {expected} in {args.folder}/")
    expected = {name: f"{args.folder}/{name}" for name in expected}
    # Without the flag, Windows' own "Extract All" reads the Japanese name in
    # the OEM code page; with it, zipfile has decoded it as UTF-8.
    check(archive.getinfo(expected[args.guide]).flag_bits & 0x800,
          "the guide's name is not marked as UTF-8")

    header = pe_header(archive.read(expected["rapporta.exe"]))
    check(header == (0x14C, 0x10B, 2),
          f"rapporta.exe is not an i686 (PE32) GUI program: {header}")

    for name in list(expected)[1:]:
        text = archive.read(expected[name])
        check(b"\n" not in text.replace(b"\r\n", b""), f"{name} has line ends other than CR LF")
    guide = archive.read(expected[args.guide])
    check(guide.startswith(b"\xef\xbb\xbf"), "the guide has no UTF-8 byte-order mark")
    try:
        guide_text = guide.decode("utf-8-sig")
    except UnicodeDecodeError as error:
        check(False, f"the guide is not UTF-8: {error}")
        guide_text = ""
    # The failure reports' first lines are among these texts.
    missing = sorted(t for t in shown_texts(args.source) if t not in guide_text)
    check(not missing, f"the guide does not show these texts of the program: {missing}")
    with open(os.path.join(args.source, "src", "ui", "failure_lines.cpp"), encoding="utf-8") as f:
        with_a_line = set(TABLE_ENTRY.findall(f.read()))
    without = sorted(failing_operations(args.source) - with_a_line)
    check(not without, f"these operations can fail but have no line in failure_lines.cpp: {without}")
    check("MIT License" in archive.read(expected["LICENSE.txt"]).decode(),
          "LICENSE.txt is not the MIT licence")
    notices = archive.read(expected["THIRD-PARTY-NOTICES.txt"]).decode()
    for owner in ("Hewlett-Packard Company", "Silicon Graphics Computer Systems"):
        check(owner in notices, f"the notices leave out {owner}'s")
    check("/usr/" not in notices, "the notices name a path of the build machine")

    # As a user runs it: the program taken out of the zip, under Wine.
    unpacked = os.path.join(work, "unpacked")
    archive.extractall(unpacked)
    environment = dict(os.environ, RAPPORTA_EXE="Z:" + os.path.join(unpacked,
                                                                  expected["rapporta.exe"]))
    for suite, cases in ((args.identity_tests, "*"),
                         (args.e2e_tests, "EndToEnd.APersonChatsThroughTheHostsWindow")):
        run = subprocess.run([*args.wine_run, suite, f"--gtest_filter={cases}"],
                             env=environment, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                             text=True, errors="replace")
        passed = run.returncode == 0 and "[  PASSED  ] " in run.stdout
        if check(passed, f"{os.path.basename(suite)} on the unpacked program"):
            print(run.stdout[run.stdout.rfind("[  PASSED  ]"):].strip(), os.path.basename(suite))
        else:
            print(run.stdout)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
