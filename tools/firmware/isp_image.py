#!/usr/bin/env python3
# tools/firmware/isp_image.py OUT
# Writes Sarrow's controller firmware image: the header that identifies it (jump bytes, the
# controller name, the version text at bytes 12..21) and a fixed pseudo-random body, so the
# upload and its read-back check move bytes that are neither zero nor repeating.
import sys

IMAGE_SIZE = 101360
HEADER = bytes((0x02, 0xF0, 0x5E)) + b"SM325ABU" + bytes((0x02,)) + b"080411-AB-"


def image():
    body = bytearray(IMAGE_SIZE - len(HEADER))
    state = 0x5A17C3E9
    for i in range(len(body)):
        # xorshift32: deterministic on every host, no library involved.
        state ^= (state << 13) & 0xFFFFFFFF
        state ^= state >> 17
        state ^= (state << 5) & 0xFFFFFFFF
        body[i] = state >> 24
    return HEADER + bytes(body)


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: isp_image.py OUT\n")
        return 2
    with open(argv[1], "wb") as f:
        f.write(image())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
