#!/usr/bin/env python3
# tests/native/artwork/test_generated.py
# Checks what the build generates for Sarrow: the skin pictures, the firmware image and the
# licence texts. Paths come from the environment (set by CMakeLists.txt beside this file).
import os
import struct
import subprocess
import sys
import tempfile
import unittest

ARTWORK = os.environ.get("ARTWORK_DIR", "")
ISP_IMAGE = os.environ.get("ISP_IMAGE", "")
LICENCE = os.environ.get("LICENCE_DIR", "")
SOURCE = os.environ.get("SOURCE_DIR", "")

KEY = (0, 60, 31)
# Window corners may hold the key only within this distance of the edges (the rounded corner).
CORNER = 16

PICTURES = {  # number: (width, height, is a window background)
    129: (490, 440, True), 134: (105, 48, False), 136: (105, 48, False), 137: (39, 25, False),
    139: (39, 25, False), 138: (27, 24, False), 140: (27, 24, False), 141: (490, 446, True),
    142: (490, 440, True), 143: (490, 440, True), 144: (490, 440, True), 145: (490, 440, True),
    148: (490, 253, True), 149: (490, 253, True),
}


def read_bmp(path):
    with open(path, "rb") as f:
        data = f.read()
    magic, size, _, _, offset = struct.unpack_from("<2sIHHI", data, 0)
    (header, width, height, planes, bits, compression) = struct.unpack_from("<IiiHHI", data, 14)
    assert magic == b"BM" and size == len(data) and header == 40 and planes == 1, path
    stride = (width * 3 + 3) & ~3

    def pixel(x, y):
        i = offset + (height - 1 - y) * stride + x * 3
        return data[i + 2], data[i + 1], data[i]
    return width, height, bits, compression, pixel


class SkinPictures(unittest.TestCase):
    def test_sizes_and_depth(self):
        for number, (width, height, _) in PICTURES.items():
            with self.subTest(number=number):
                w, h, bits, compression, _ = read_bmp(os.path.join(ARTWORK, "bitmap%d.bmp" % number))
                self.assertEqual((w, h, bits, compression), (width, height, 24, 0))

    def test_colour_key_only_in_window_corners(self):
        for number, (width, height, window) in PICTURES.items():
            with self.subTest(number=number):
                _, _, _, _, pixel = read_bmp(os.path.join(ARTWORK, "bitmap%d.bmp" % number))
                corners = [(0, 0), (width - 1, 0), (0, height - 1), (width - 1, height - 1)]
                if window:
                    self.assertEqual([pixel(x, y) for x, y in corners], [KEY] * 4)
                stray = [(x, y) for y in range(height) for x in range(width)
                         if pixel(x, y) == KEY and not (window and (x < CORNER or x >= width - CORNER)
                                                        and (y < CORNER or y >= height - CORNER))]
                self.assertEqual(stray, [])

    def test_button_faces_avoid_the_greys_that_3d_colour_mapping_replaces(self):
        for number in (134, 136, 137, 138, 139, 140):
            with self.subTest(number=number):
                width, height, _, _, pixel = read_bmp(os.path.join(ARTWORK, "bitmap%d.bmp" % number))
                colours = {pixel(x, y) for y in range(height) for x in range(width)}
                self.assertFalse(colours & {(128, 128, 128), (192, 192, 192), (223, 223, 223)})

    def test_splash_frames_differ_only_by_the_glint(self):
        frames = []
        for number in (142, 143, 144, 145):
            with open(os.path.join(ARTWORK, "bitmap%d.bmp" % number), "rb") as f:
                frames.append(f.read())
        self.assertEqual(len(set(frames)), 4)
        for frame in frames[1:]:
            changed = sum(a != b for a, b in zip(frames[0], frame))
            self.assertLess(changed, len(frame) // 20)

    def test_icon_has_32_and_16_pixel_images(self):
        with open(os.path.join(ARTWORK, "icon128.ico"), "rb") as f:
            data = f.read()
        reserved, kind, count = struct.unpack_from("<HHH", data, 0)
        self.assertEqual((reserved, kind, count), (0, 1, 2))
        sizes = [struct.unpack_from("<BB", data, 6 + 16 * i) for i in range(count)]
        self.assertEqual(sorted(sizes), [(16, 16), (32, 32)])


class FirmwareImage(unittest.TestCase):
    def test_size_header_and_body(self):
        with open(ISP_IMAGE, "rb") as f:
            image = f.read()
        self.assertEqual(len(image), 101360)
        self.assertEqual(image[:12], b"\x02\xF0\x5ESM325ABU\x02")
        self.assertEqual(image[12:22], b"080411-AB-")
        banks = [image[i:i + 2048] for i in range(0, len(image), 2048)]
        self.assertEqual(len(set(banks)), (len(image) + 2047) // 2048)  # no two banks alike
        self.assertEqual([i for i, bank in enumerate(banks) if not any(bank)], [])  # none all zero
        self.assertGreater(len(set(image[22:4096])), 200)


class LicenceTexts(unittest.TestCase):
    CASES = [("licence_en.txt", "cp1252", 3), ("licence_zh_TW.txt", "cp950", 2)]

    def test_conversion_is_lossless_with_crlf(self):
        for name, codec, _ in self.CASES:
            with self.subTest(name=name):
                with open(os.path.join(SOURCE, "sarrow", "resources", name), encoding="utf-8") as f:
                    source = f.read()
                with open(os.path.join(LICENCE, name), "rb") as f:
                    converted = f.read()
                self.assertEqual(converted.decode(codec), source.replace("\n", "\r\n"))

    def test_pieces_fit_their_arrays_and_the_joined_buffer(self):
        sys.dont_write_bytecode = True
        sys.path.insert(0, os.path.join(SOURCE, "tools", "text"))
        import text_pieces
        for name, _, count in self.CASES:
            with self.subTest(name=name):
                with open(os.path.join(LICENCE, name), "rb") as f:
                    data = f.read()
                pieces = text_pieces.cut(data, count)
                self.assertEqual(b"".join(pieces), data)
                self.assertEqual(len(pieces), count)
                self.assertTrue(all(0 < len(p) < text_pieces.PIECE_SIZE // 2 for p in pieces))
                self.assertLess(len(data) + 1, text_pieces.PIECE_SIZE)

    def test_english_title_fills_the_highlighted_characters(self):
        with open(os.path.join(LICENCE, "licence_en.txt"), "rb") as f:
            data = f.read()
        title = data.split(b"\r\n", 1)[0]
        self.assertTrue(title.startswith(b"VEXMEND"))
        self.assertLessEqual(len(title), 45)

    def test_character_outside_the_code_page_fails(self):
        with tempfile.TemporaryDirectory() as folder:
            source = os.path.join(folder, "in.txt")
            with open(source, "w", encoding="utf-8") as f:
                f.write("\u4eec\n")  # a Simplified-only character: not in Big5
            result = subprocess.run([sys.executable, os.path.join(SOURCE, "tools", "text", "convert_codepage.py"),
                                     "--codepage", "950", source, os.path.join(folder, "out.txt")],
                                    capture_output=True, text=True)
            self.assertNotEqual(result.returncode, 0)
            self.assertIn("in.txt:1", result.stderr)
            self.assertFalse(os.path.exists(os.path.join(folder, "out.txt")))


if __name__ == "__main__":
    unittest.main(verbosity=2)
