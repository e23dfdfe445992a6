#!/usr/bin/env python3
# tools/text/convert_codepage.py --codepage N [--crlf] IN OUT
# Converts a UTF-8 source text to the ANSI code page a Windows program reads it in (950 Big5 for
# Traditional Chinese, 936 GBK for Simplified, 1252 for Western). A character the code page
# cannot hold fails the conversion instead of turning into a question mark.
import argparse
import sys

CODECS = {"950": "cp950", "BIG5": "cp950", "936": "gbk", "GBK": "gbk", "1252": "cp1252", "65001": "utf-8"}


def convert(text, codepage, crlf):
    if text.startswith("\ufeff"):
        text = text[1:]
    if crlf:
        text = text.replace("\r\n", "\n").replace("\n", "\r\n")
    return text.encode(CODECS[codepage.upper()], errors="strict")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--codepage", required=True, choices=sorted(CODECS, key=str))
    parser.add_argument("--crlf", action="store_true", help="end every line in CR LF")
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
    with open(args.output, "wb") as f:
        f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
