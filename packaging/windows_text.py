#!/usr/bin/env python3
"""Turns a text of the repository into one a Windows user opens in Notepad:
CR LF line ends, optionally a UTF-8 byte-order mark (without it, Notepad
before Windows 10 1903 reads UTF-8 as the system code page), and optionally
Markdown made plain.

  windows_text.py INPUT OUTPUT [--bom] [--markdown]
"""
import argparse
import re
import unicodedata


def columns(text):
    # Notepad's Japanese fonts give wide characters two columns.
    return sum(2 if unicodedata.east_asian_width(c) in "WF" else 1 for c in text)


def plain(markdown):
    """The little Markdown the guide uses, as plain text: pictures left out
    (their place is described in the text), headings and list items marked
    as Japanese plain texts mark them, code quotes dropped."""
    out = []
    for line in markdown.splitlines():
        if re.fullmatch(r"!\[[^\]]*\]\([^)]*\)", line.strip()):
            continue
        line = line.replace("`", "")
        if line.startswith("# "):
            out += [line[2:], "=" * columns(line[2:])]
        elif line.startswith("## "):
            out.append("■ " + line[3:])
        elif line.startswith("### "):
            out.append("◇ " + line[4:])
        elif line.startswith("#### "):
            out.append("□ " + line[5:])
        elif line.lstrip().startswith("- "):
            # The wide bullet takes the two columns of "- ", so continued
            # lines stay aligned.
            indent = len(line) - len(line.lstrip())
            out.append(line[:indent] + "・" + line[indent + 2:])
        else:
            out.append(line)
    text = "\n".join(out)
    # A dropped picture leaves two blank lines behind.
    return re.sub(r"\n{3,}", "\n\n", text).strip("\n") + "\n"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("input")
    parser.add_argument("output")
    parser.add_argument("--bom", action="store_true")
    parser.add_argument("--markdown", action="store_true")
    args = parser.parse_args()
    with open(args.input, encoding="utf-8-sig") as f:
        text = f.read()
    if args.markdown:
        text = plain(text)
    with open(args.output, "w", encoding="utf-8-sig" if args.bom else "utf-8",
              newline="\r\n") as f:
        f.write(text)


if __name__ == "__main__":
    main()
