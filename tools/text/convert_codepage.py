#!/usr/bin/env python3
# tools/text/convert_codepage.py --codepage N [--crlf] [--max-line BYTES] IN OUT
# Converts a UTF-8 source text to the ANSI code page a Windows program reads it in (950 Big5 for
# Traditional Chinese, 936 GBK for Simplified, 1252 for Western). A character the code page
# cannot hold fails the conversion instead of turning into a question mark. So does, in a
# resource script (OUT ending in .rc), a double-byte character whose second byte is 0x5C: the
# resource compiler takes that byte for a backslash and reads an escape into the string.
# --max-line fails the conversion when a line, with its line end, is not shorter than BYTES.
import argparse
import sys

CODECS = {"950": "cp950", "BIG5": "cp950", "936": "gbk", "GBK": "gbk", "1252": "cp1252", "65001": "utf-8"}


def convert(text, codepage, crlf):
    if text.startswith("\ufeff"):
        text = text[1:]
    if crlf:
        text = text.replace("\r\n", "\n").replace("\n", "\r\n")
    return text.encode(CODECS[codepage.upper()], errors="strict")


def backslash_trails(text, codepage):
    """Characters (other than the backslash) whose code page form holds the byte 0x5C."""
    codec = CODECS[codepage.upper()]
    return sorted({ch for ch in text if ch != "\\" and b"\\" in ch.encode(codec, errors="ignore")})


def long_lines(data, limit):
    """1-based numbers of the lines that, with their line end, take `limit` bytes or more."""
    return [n for n, line in enumerate(data.splitlines(keepends=True), 1) if len(line) >= limit]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--codepage", required=True, choices=sorted(CODECS, key=str))
    parser.add_argument("--crlf", action="store_true", help="end every line in CR LF")
    parser.add_argument("--max-line", type=int, help="every line with its end must be shorter")
    parser.add_argument("source")
    parser.add_argument("output")
    args = parser.parse_args()
    with open(args.source, encoding="utf-8") as f:
        text = f.read()
    try:
        data = convert(text, args.codepage, args.crlf)
    except UnicodeEncodeError as error:
        line = text.count("\n", 0, error.start) + 1
        sys.stderr.write("%s:%d: %r has no code page %s form\n"
                         % (args.source, line, text[error.start:error.end], args.codepage))
        return 1
    if args.output.lower().endswith(".rc"):
        for ch in backslash_trails(text, args.codepage):
            line = text.count("\n", 0, text.index(ch)) + 1
            sys.stderr.write("%s:%d: %r ends in the byte 0x5C in code page %s, which the resource "
                             "compiler reads as a backslash\n" % (args.source, line, ch, args.codepage))
            return 1
    if args.max_line:
        for line in long_lines(data, args.max_line):
            sys.stderr.write("%s:%d: %d bytes or more in code page %s\n"
                             % (args.source, line, args.max_line, args.codepage))
            return 1
    with open(args.output, "wb") as f:
        f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
