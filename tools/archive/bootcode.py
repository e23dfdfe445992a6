#!/usr/bin/env python3
# tools/archive/bootcode.py OUT [--list]
# Writes Brimlet's packed firmware archive "BootCode.r": the 65 controller images in their
# order, each entry name + marker + 32-bit little-endian length + one gzip member exactly as
# zlib's gzip writer makes it on Windows (mode "wb": default level and strategy, header
# 1F 8B 08 00 00 00 00 00 00 0B). The images are our own, made deterministically: an 8051-style
# code area, constant tables and strings, erased (0xFF) flash, the 8-character tag at 0xEFF0
# whose characters 3-8 are the firmware version Brimlet shows, and a checksum in the last two
# bytes of the first 64 KiB. BCD\font.bin is a small bitmap font, not an image.
# --list prints name, size and tag of each entry instead of writing.
import struct
import sys
import zlib

MARKER = b" \\~#$&* "
GZIP_HEADER = bytes((0x1F, 0x8B, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x0B))
BANK = 65536
TAG_OFFSET = 0xEFF0
FONT_SIZE = 1052

ENTRIES = [
    "A1\\ur.bin", "A1\\us.bin", "A1\\us1.bin", "A1\\us2.bin", "A1\\us3.bin", "A1\\us4.bin",
    "A1\\us5.bin", "A1\\us6.bin", "A1\\us7.bin", "A1\\usin.bin", "A1\\usin1.bin", "A1\\ust.bin",
    "A2C\\ur.bin", "A2C\\us.bin", "A2C\\us1.bin", "A2C\\us2.bin", "A2C\\us4.bin", "A2C\\us5.bin",
    "A2C\\us6.bin", "A2C\\usin.bin", "A2C\\usin1.bin", "A2C\\usin2.bin", "A2C\\ust.bin",
    "A2D\\us.bin", "A2D\\us1.bin", "A2D\\us4.bin", "A2D\\usin.bin", "A2D\\usin1.bin", "A2D\\ust.bin",
    "BCD\\font.bin", "BCD\\ur.bin", "BCD\\us.bin", "BCD\\us1.bin", "BCD\\usin.bin", "BCD\\usin1.bin",
    "BCD\\ust.bin",
    "FP\\A2C\\ur.bin", "FP\\A2C\\us.bin", "FP\\A2C\\us1.bin", "FP\\A2C\\us2.bin", "FP\\A2C\\us3.bin",
    "FP\\A2C\\us4.bin", "FP\\A2C\\us5.bin", "FP\\A2C\\us6.bin", "FP\\A2C\\usin.bin",
    "FP\\A2C\\usin1.bin", "FP\\A2C\\usin2.bin", "FP\\A2C\\ust.bin",
    "FP\\us.bin", "FP\\us1.bin", "FP\\usin.bin", "FP\\usin1.bin", "FP\\ust.bin",
    "MRevert\\U163S.bin", "Spansion\\U163S.BIN",
    "U65\\A0\\us.bin", "U65\\A0\\us1.bin", "U65\\A0\\us4.bin", "U65\\A0\\us5.bin", "U65\\A0\\us6.bin",
    "U65\\A0\\us7.bin", "U65\\A0\\usin.bin", "U65\\A0\\usin1.bin", "U65\\A0\\usin2.bin",
    "U65\\A0\\ust.bin",
]
DOUBLE_BANK = {"BCD\\us.bin", "BCD\\us1.bin", "BCD\\usin.bin", "BCD\\usin1.bin"}

# Tag = family prefix (2) + version (6): two letters of the folder, one of the image kind, and
# the folder's release number. A1\ur.bin gives "A1BAR665", A2C\us.bin "A2CS0677", BCD\us.bin
# "A2Q00667" and U65\A0\us.bin "A0AS0678".
FOLDERS = {
    "A1": ("A1", "BA", 665), "A2C": ("A2", "CS", 677), "A2D": ("A2", "DS", 671),
    "BCD": ("A2", "Q0", 667), "FP": ("A2", "FS", 652), "FP\\A2C": ("A2", "CF", 679),
    "MRevert": ("U1", "MR", 630), "Spansion": ("U1", "SP", 641), "U65\\A0": ("A0", "AS", 678),
}
KINDS = {"ur": "R", "us": "0", "usin": "N", "usin1": "P", "usin2": "Q", "ust": "T", "u163s": "U"}


def tag_of(name):
    folder, _, file_name = name.rpartition("\\")
    prefix, letters, number = FOLDERS[folder]
    stem = file_name.rsplit(".", 1)[0].lower()
    kind = KINDS.get(stem) or stem[-1]  # us1 .. us7: the digit
    return ("%s%s%s%03d" % (prefix, letters, kind, number)).encode("ascii")


class XorShift:
    """xorshift32: the same numbers on every host."""

    def __init__(self, seed):
        self.state = seed or 0x2545F491

    def next(self):
        s = self.state
        s ^= (s << 13) & 0xFFFFFFFF
        s ^= s >> 17
        s ^= (s << 5) & 0xFFFFFFFF
        self.state = s
        return s

    def below(self, n):
        return self.next() % n


# (opcode, operand kinds): i immediate, d direct address, r relative jump, a absolute address.
INSTRUCTIONS = [
    (0x74, "i"), (0xF5, "d"), (0xE5, "d"), (0xF0, ""), (0xE0, ""), (0xA3, ""), (0x90, "aa"),
    (0x12, "aa"), (0x22, ""), (0x80, "r"), (0xDF, "r"), (0xB4, "ir"), (0x60, "r"), (0x70, "r"),
    (0x54, "i"), (0x44, "i"), (0x24, "i"), (0xC3, ""), (0x7F, "i"), (0x7E, "i"), (0xE4, ""),
    (0x75, "di"), (0x85, "dd"), (0xD2, "d"), (0xC2, "d"), (0x30, "dr"), (0x20, "dr"), (0x32, ""),
]
DIRECT = [0x20, 0x21, 0x22, 0x30, 0x31, 0x32, 0x33, 0x40, 0x41, 0x50, 0x80, 0x90, 0xA0, 0xA8, 0xB0, 0xD0, 0xE0]
IMMEDIATE = [0x00, 0x01, 0x02, 0x04, 0x08, 0x0F, 0x10, 0x20, 0x3F, 0x40, 0x55, 0x80, 0xAA, 0xF0, 0xFE, 0xFF]


def code_area(rng, start, end, functions):
    out = bytearray()
    while len(out) < end - start - 3:
        opcode, operands = INSTRUCTIONS[rng.below(len(INSTRUCTIONS))]
        out.append(opcode)
        kinds = operands
        if kinds == "aa":
            target = functions[rng.below(len(functions))]
            out += bytes((target >> 8, target & 0xFF))
            continue
        for kind in kinds:
            if kind == "i":
                out.append(IMMEDIATE[rng.below(len(IMMEDIATE))] if rng.below(4) else rng.below(256))
            elif kind == "d":
                out.append(DIRECT[rng.below(len(DIRECT))])
            elif kind == "r":
                out.append((0x100 - 2 - rng.below(24)) & 0xFF if rng.below(3) else 2 + rng.below(30))
    out += bytes((0x80, 0xFE))  # the main loop's last jump to itself
    return out


def crc8_table():
    table = bytearray()
    for byte in range(256):
        crc = byte
        for _ in range(8):
            crc = ((crc << 1) ^ 0x31) & 0xFF if crc & 0x80 else (crc << 1) & 0xFF
        table.append(crc)
    return table


def bank(rng, name, tag, first):
    data = bytearray(b"\xFF" * BANK)
    code_end = 0x4000 + rng.below(0x5000)
    functions = sorted(0x0100 + rng.below(code_end - 0x0200) for _ in range(48))
    if first:
        # Reset and interrupt vectors of an 8051: a long jump to the start, handlers or RETI.
        data[0:3] = bytes((0x02, 0x00, 0x80))
        for vector in (0x03, 0x0B, 0x13, 0x1B, 0x23, 0x2B):
            handler = functions[rng.below(len(functions))]
            data[vector:vector + 3] = bytes((0x02, handler >> 8, handler & 0xFF)) if rng.below(2) else b"\x32\xFF\xFF"
    code = code_area(rng, 0x0080, code_end, functions)
    data[0x0080:0x0080 + len(code)] = code
    # Constant tables and strings.
    data[0xC000:0xC100] = crc8_table()
    steps = bytearray()
    for i in range(64):
        value = (i * i * 37 + i * 911) & 0xFFFF
        steps += struct.pack("<H", value)
    data[0xC100:0xC180] = steps
    strings = b"USBest Technology Inc.\x00UT165 USB2.0 Flash Disk Controller\x00" + b"BOOT " + name.encode("ascii") + b"\x00"
    data[0xC200:0xC200 + len(strings)] = strings
    flash = bytearray()
    for _ in range(40):
        maker = (0xEC, 0x98, 0xAD, 0x2C, 0x20, 0x01)[rng.below(6)]
        flash += bytes((maker, 0xD0 | rng.below(16), 0x14 + rng.below(4), 0xB6 & (0xF0 | rng.below(16))))
        flash += struct.pack("<HH", 2048 << rng.below(2), 64 << rng.below(2))
    data[0xC400:0xC400 + len(flash)] = flash
    if first:
        data[TAG_OFFSET:TAG_OFFSET + 8] = tag
        data[TAG_OFFSET + 8:TAG_OFFSET + 12] = b"\x00\x00\x01\x00"
        data[BANK - 2:BANK] = struct.pack("<H", sum(data[:BANK - 2]) & 0xFFFF)
    return data


def image(name):
    rng = XorShift(zlib.crc32(name.encode("ascii")))
    tag = tag_of(name)
    data = bank(rng, name, tag, True)
    if name in DOUBLE_BANK:
        data += bank(rng, name, tag, False)
    return bytes(data)


def font():
    """A 8x8 bitmap font of 130 glyphs after a 12-byte header: 1,052 bytes."""
    rng = XorShift(0xF0A7)
    out = bytearray(b"FNT1") + struct.pack("<HHHH", 8, 8, 0x20, 130)
    for _ in range(130):
        rows = [(rng.next() >> 8) & 0x7E for _ in range(7)]
        out += bytes(rows) + b"\x00"
    assert len(out) == FONT_SIZE
    return bytes(out)


def content(name):
    return font() if name == "BCD\\font.bin" else image(name)


def gzip_member(data):
    """What zlib's gzwrite produces in mode "wb" on Windows: header with time 0 and OS 0x0B."""
    compressor = zlib.compressobj(zlib.Z_DEFAULT_COMPRESSION, zlib.DEFLATED, 16 + zlib.MAX_WBITS, 8,
                                  zlib.Z_DEFAULT_STRATEGY)
    member = bytearray(compressor.compress(data) + compressor.flush())
    member[9] = 0x0B
    assert bytes(member[:10]) == GZIP_HEADER
    return bytes(member)


def archive():
    out = bytearray()
    for name in ENTRIES:
        member = gzip_member(content(name))
        out += name.encode("ascii") + MARKER + struct.pack("<I", len(member)) + member
    return bytes(out)


def main(argv):
    if len(argv) == 2 and argv[1] == "--list":
        for name in ENTRIES:
            data = content(name)
            tag = data[TAG_OFFSET:TAG_OFFSET + 8].decode("ascii") if len(data) > TAG_OFFSET else "-"
            print("%-22s %7d %s" % (name, len(data), tag))
        return 0
    if len(argv) != 2:
        sys.stderr.write("usage: bootcode.py OUT | --list\n")
        return 2
    assert len(ENTRIES) == 65
    with open(argv[1], "wb") as f:
        f.write(archive())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
