#!/usr/bin/env python3
# tests/native/artwork/test_brimlet.py
# Checks what the build generates for Brimlet: the skin pictures (sizes, colour keys, and that
# the places where the dialogs put their controls land on fitting parts of each picture), the
# icon, the licence agreements and the other carried texts. Paths come from the environment
# (set by CMakeLists.txt beside this file).
import configparser
import os
import struct
import subprocess
import sys
import tempfile
import unittest

ARTWORK = os.environ.get("BRIMLET_ARTWORK_DIR", "")
CARRIED = os.environ.get("BRIMLET_CARRIED_DIR", "")
SOURCE = os.environ.get("SOURCE_DIR", "")

GREEN = (0, 255, 0)
SMALL_KEY = (75, 100, 112)  # 0x70644B
CORNER = 16  # the rounded window corners lie within this distance of the edges

WINDOWS = {168: (480, 420), 162: (480, 440), 164: (480, 260), 165: (480, 260)}
SPLASH_CHINESE = (156, 157, 158, 160)
SPLASH_ENGLISH = (180, 181, 182, 183)
SPLASH_SIZE = (480, 300)
GREEN_FACES = {163: (102, 38), 176: (18, 60)}
SMALL_BUTTONS = {166: (46, 26), 167: (46, 26), 178: (46, 26), 179: (46, 26), 175: (22, 22), 174: (22, 22)}
CHANNELS = {169: (400, 22), 170: (400, 22)}
OTHERS = {129: (8, 8)}


class Picture:
    def __init__(self, number):
        with open(os.path.join(ARTWORK, "bitmap%d.bmp" % number), "rb") as f:
            data = f.read()
        magic, size, _, _, offset = struct.unpack_from("<2sIHHI", data, 0)
        header, self.width, self.height, planes, self.bits, compression = struct.unpack_from("<IiiHHI", data, 14)
        assert magic == b"BM" and size == len(data) and header == 40 and planes == 1 and compression == 0
        stride = (self.width * 3 + 3) & ~3
        self.rows = []
        for y in range(self.height):
            start = offset + (self.height - 1 - y) * stride
            row = data[start:start + self.width * 3]
            self.rows.append([(row[i + 2], row[i + 1], row[i]) for i in range(0, len(row), 3)])

    def at(self, x, y):
        return self.rows[y][x]

    def pixels(self, rect=None):
        x0, y0, w, h = rect or (0, 0, self.width, self.height)
        for y in range(y0, y0 + h):
            for x in range(x0, x0 + w):
                yield x, y, self.rows[y][x]

    def key_not_reachable_from_edge(self, key):
        """Key pixels that no path of key pixels joins to the picture's edge: key inside a shape."""
        w, h = self.width, self.height
        seen = set()
        stack = [(x, y) for x in range(w) for y in (0, h - 1)] + [(x, y) for y in range(h) for x in (0, w - 1)]
        stack = [(x, y) for x, y in stack if self.at(x, y) == key]
        while stack:
            x, y = stack.pop()
            if (x, y) in seen:
                continue
            seen.add((x, y))
            for nx, ny in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):
                if 0 <= nx < w and 0 <= ny < h and (nx, ny) not in seen and self.at(nx, ny) == key:
                    stack.append((nx, ny))
        return [(x, y) for x, y, c in self.pixels() if c == key and (x, y) not in seen]


def luminance(c):
    return 0.299 * c[0] + 0.587 * c[1] + 0.114 * c[2]


_cache = {}


def picture(number):
    if number not in _cache:
        _cache[number] = Picture(number)
    return _cache[number]


def inside(rect, width, height):
    x, y, w, h = rect
    return x >= 0 and y >= 0 and x + w <= width and y + h <= height


def overlap(a, b):
    return a[0] < b[0] + b[2] and b[0] < a[0] + a[2] and a[1] < b[1] + b[3] and b[1] < a[1] + a[3]


class Layouts:
    """Control rectangles the dialogs' size handlers compute from the picture sizes."""

    def __init__(self):
        bw, bh = picture(163).width, picture(163).height
        sw, sh = picture(166).width, picture(166).height
        mw, mh = picture(178).width, picture(178).height
        pw, ph = picture(169).width, picture(169).height
        cx, cy = picture(168).width, picture(168).height
        d = (cx - 80) // 2
        self.repair = {
            "close 1013": (cx - 65, 19, sw, sh), "minimise 1022": (cx - 118, 19, mw, mh),
            "group 1002": (30, 100, d, cy - 270), "group 1003": (250, 100, d, cy - 270),
            "device text 1007": (50, 130, d - 40, cy - 300),
            "radio 1004": (270, 130, 65, 17), "radio 1005": (270, 170, 65, 17),
            "progress 1016": (40, cy - 155, pw, ph),
            "button 1": (100, cy - 98, bw, bh), "button 2": (cx - 203, cy - 98, bw, bh),
        }
        self.message = {}
        for number in (164, 165):
            w, h = picture(number).width, picture(number).height
            self.message[number] = {
                "label 1012": (200, 100, w - 220, h - 120),
                "close 1013": (w - 65, 16, sw, sh), "minimise 1022": (w - 118, 16, mw, mh),
            }
        w, h = picture(162).width, picture(162).height
        self.licence = {
            "minimise 1022": (w - 118, 19, mw, mh), "close 1013": (w - 65, 19, sw, sh),
            "OK": (100, h - 75, bw, bh), "Cancel": (w - 200, h - 75, bw, bh),
            "text 1011": (35, 93, w - 58, h - 185),
        }


class Sizes(unittest.TestCase):
    def test_every_picture_at_its_size_in_24_bits(self):
        table = {**WINDOWS, **GREEN_FACES, **SMALL_BUTTONS, **CHANNELS, **OTHERS}
        table.update({n: SPLASH_SIZE for n in SPLASH_CHINESE + SPLASH_ENGLISH})
        for number, size in table.items():
            with self.subTest(number=number):
                p = picture(number)
                self.assertEqual((p.width, p.height, p.bits), size + (24,))

    def test_icon_has_32_and_16_pixel_images(self):
        with open(os.path.join(ARTWORK, "icon128.ico"), "rb") as f:
            data = f.read()
        reserved, kind, count = struct.unpack_from("<HHH", data, 0)
        self.assertEqual((reserved, kind, count), (0, 1, 2))
        self.assertEqual(sorted(struct.unpack_from("<BB", data, 6 + 16 * i) for i in range(count)),
                         [(16, 16), (32, 32)])


class ColourKeys(unittest.TestCase):
    def test_windows_are_green_in_their_corners_only(self):
        for number in list(WINDOWS) + list(SPLASH_CHINESE + SPLASH_ENGLISH):
            with self.subTest(number=number):
                p = picture(number)
                w, h = p.width, p.height
                self.assertEqual([p.at(0, 0), p.at(w - 1, 0), p.at(0, h - 1), p.at(w - 1, h - 1)], [GREEN] * 4)
                stray = [(x, y) for x, y, c in p.pixels() if c == GREEN and not (
                    (x < CORNER or x >= w - CORNER) and (y < CORNER or y >= h - CORNER))]
                self.assertEqual(stray, [])
                self.assertEqual(p.key_not_reachable_from_edge(GREEN), [])

    def test_faces_keyed_around_their_shape_only(self):
        cases = [(n, GREEN) for n in GREEN_FACES] + [(n, SMALL_KEY) for n in SMALL_BUTTONS] + \
                [(n, None) for n in CHANNELS]
        for number, key in cases:
            with self.subTest(number=number):
                p = picture(number)
                key = key or p.at(0, 0)
                w, h = p.width, p.height
                self.assertEqual([p.at(0, 0), p.at(w - 1, 0), p.at(0, h - 1), p.at(w - 1, h - 1)], [key] * 4)
                self.assertNotEqual(p.at(w // 2, h // 2), key)
                self.assertEqual(p.key_not_reachable_from_edge(key), [])
                # The face's body covers it but for the rounded corners.
                keyed = sum(1 for _, _, c in p.pixels() if c == key)
                self.assertLess(keyed, w * h // 5)

    def test_small_buttons_hold_no_pure_green_and_green_faces_no_small_key(self):
        for number in SMALL_BUTTONS:
            with self.subTest(number=number):
                self.assertNotIn(GREEN, {c for _, _, c in picture(number).pixels()})
        for number in list(GREEN_FACES) + list(WINDOWS):
            with self.subTest(number=number):
                self.assertNotIn(SMALL_KEY, {c for _, _, c in picture(number).pixels()})

    def test_channel_key_is_pixel_0_0_and_both_channels_share_size_and_key(self):
        channel, active = picture(169), picture(170)
        self.assertEqual((channel.width, channel.height), (active.width, active.height))
        self.assertEqual(channel.at(0, 0), active.at(0, 0))
        # The middle row is solid: the mask keeps the whole bar between the rounded ends.
        for p in (channel, active):
            row = [p.at(x, p.height // 2) for x in range(p.height // 2, p.width - p.height // 2)]
            self.assertNotIn(p.at(0, 0), row)
        # The active part is clearly another picture than the empty channel.
        differ = sum(channel.at(x, channel.height // 2) != active.at(x, active.height // 2)
                     for x in range(channel.width))
        self.assertGreater(differ, channel.width * 9 // 10)


class Splash(unittest.TestCase):
    def test_frames_share_one_size_and_each_differs(self):
        sizes = {(picture(n).width, picture(n).height) for n in SPLASH_CHINESE + SPLASH_ENGLISH}
        self.assertEqual(sizes, {SPLASH_SIZE})
        for frames in (SPLASH_CHINESE, SPLASH_ENGLISH):
            rows = [picture(n).rows for n in frames]
            for a, b in zip(rows, rows[1:]):
                self.assertNotEqual(a, b)

    def test_chinese_and_english_frames_differ_in_their_text_only(self):
        for chinese, english in zip(SPLASH_CHINESE, SPLASH_ENGLISH):
            with self.subTest(chinese=chinese):
                a, b = picture(chinese), picture(english)
                changed = [(x, y) for x, y, c in a.pixels() if c != b.at(x, y)]
                self.assertGreater(len(changed), 200)
                xs = [x for x, _ in changed]
                ys = [y for _, y in changed]
                # The tag line right of the ring: a band of the frame, not the whole picture.
                self.assertGreater(min(xs), 200)
                self.assertLess(max(ys) - min(ys), 50)


class Layout(unittest.TestCase):
    def setUp(self):
        self.layouts = Layouts()

    def check_controls_on_picture(self, number, controls):
        p = picture(number)
        for name, rect in controls.items():
            with self.subTest(picture=number, control=name):
                self.assertTrue(inside(rect, p.width, p.height), rect)
                keyed = [(x, y) for x, y, c in p.pixels(rect) if c == GREEN]
                self.assertEqual(keyed, [])

    def test_repair_dialog_controls_land_inside_the_window(self):
        lay = self.layouts.repair
        cx, cy = picture(168).width, picture(168).height
        self.assertGreater(cy, 300)
        self.check_controls_on_picture(168, lay)
        names = list(lay)
        for i, a in enumerate(names):
            for b in names[i + 1:]:
                nested = {frozenset(("group 1002", "device text 1007")), frozenset(("group 1003", "radio 1004")),
                          frozenset(("group 1003", "radio 1005"))}
                if frozenset((a, b)) in nested:
                    continue
                with self.subTest(a=a, b=b):
                    self.assertFalse(overlap(lay[a], lay[b]))

    def test_repair_text_and_group_areas_are_light(self):
        lay = self.layouts.repair
        p = picture(168)
        for name in ("device text 1007", "radio 1004", "radio 1005"):
            with self.subTest(control=name):
                self.assertGreater(min(luminance(c) for _, _, c in p.pixels(lay[name])), 215)

    def test_message_boxes_leave_a_light_label_and_show_their_picture_left_of_it(self):
        for number in (164, 165):
            lay = self.layouts.message[number]
            self.check_controls_on_picture(number, lay)
            p = picture(number)
            with self.subTest(number=number):
                self.assertGreater(min(luminance(c) for _, _, c in p.pixels(lay["label 1012"])), 215)
                left = (16, 80, 184 - 16, p.height - 100)
                vivid = [c for _, _, c in p.pixels(left) if max(c) - min(c) > 80]
                self.assertGreater(len(vivid), 2000)
        # Green for success, red for failure.
        def mean(number):
            cs = [c for _, _, c in picture(number).pixels((16, 80, 168, 160)) if max(c) - min(c) > 80]
            return [sum(c[i] for c in cs) / len(cs) for i in range(3)]
        success, error = mean(164), mean(165)
        self.assertGreater(success[1], success[0])
        self.assertGreater(error[0], error[1])

    def test_licence_text_box_sits_on_a_light_quiet_area(self):
        lay = self.layouts.licence
        self.check_controls_on_picture(162, lay)
        colours = [c for _, _, c in picture(162).pixels(lay["text 1011"])]
        self.assertGreater(min(luminance(c) for c in colours), 240)
        for i in range(3):
            self.assertLessEqual(max(c[i] for c in colours) - min(c[i] for c in colours), 12)

    def test_text_buttons_sit_in_matching_sockets(self):
        """Where face 163 is keyed, the window shows through: it must be one flat socket (with
        the button's soft shadow) in both windows that carry text buttons, not the busy picture
        around it."""
        face = picture(163)
        for number, names in ((168, ("button 1", "button 2")), (162, ("OK", "Cancel"))):
            lay = self.layouts.repair if number == 168 else self.layouts.licence
            p = picture(number)
            for name in names:
                x0, y0, _, _ = lay[name]
                with self.subTest(picture=number, button=name):
                    under = [p.at(x0 + x, y0 + y) for x, y, c in face.pixels() if c == GREEN]
                    self.assertGreater(len(under), 0)
                    mean = [sum(c[i] for c in under) / len(under) for i in range(3)]
                    for c in under:
                        self.assertLess(max(abs(c[i] - mean[i]) for i in range(3)), 32)


class CarriedTexts(unittest.TestCase):
    AGREEMENTS = [("Agreement.eng", "agreement_en.txt", "cp1252"),
                  ("Agreement.cht", "agreement_zh_TW.txt", "cp950"),
                  ("Agreement.chs", "agreement_zh_CN.txt", "gbk")]

    def read(self, name):
        with open(os.path.join(CARRIED, name), "rb") as f:
            return f.read()

    def test_agreements_decode_in_their_code_page_with_crlf(self):
        for name, source, codec in self.AGREEMENTS:
            with self.subTest(name=name):
                with open(os.path.join(SOURCE, "brimlet", "resources", source), encoding="utf-8") as f:
                    text = f.read()
                data = self.read(name)
                self.assertEqual(data.decode(codec, errors="strict"), text.replace("\n", "\r\n"))
                self.assertEqual(data.count(b"\n"), data.count(b"\r\n"))
                self.assertTrue(data.endswith(b"\r\n"))
                self.assertIn("VEXMEND", text.upper())

    def test_agreements_fit_the_licence_loader(self):
        """The loader reads pieces of at most 127 characters (a longer line would be split),
        keeps at most 512 of them and joins them, each followed by CR LF, into 40,960 bytes."""
        for name, _, _ in self.AGREEMENTS:
            with self.subTest(name=name):
                data = self.read(name)
                lines = data.splitlines(keepends=True)
                self.assertEqual([n for n, line in enumerate(lines, 1) if len(line) >= 127], [])
                self.assertLess(len(data), 20000)
                self.assertLessEqual(len(lines), 512)
                self.assertLessEqual(len(data) + 2 * len(lines) + 1, 40960)
                self.assertGreater(len(lines), 60)  # a whole agreement, not a title

    def test_chinese_agreements_are_in_chinese(self):
        for name, codec in (("Agreement.cht", "cp950"), ("Agreement.chs", "gbk")):
            with self.subTest(name=name):
                text = self.read(name).decode(codec)
                han = sum(1 for ch in text if "\u4e00" <= ch <= "\u9fff")
                self.assertGreater(han, len(text) // 2)
        # Traditional and Simplified forms of "software": each text uses its own.
        self.assertIn("軟體", self.read("Agreement.cht").decode("cp950"))
        self.assertIn("软件", self.read("Agreement.chs").decode("gbk"))

    def test_device_ini_selects_ut163(self):
        self.assertEqual(self.read("Device.ini"), b"[Device]\r\nSelectDevice=UT163\r\n")

    def test_controller_settings_are_an_ini_file(self):
        data = self.read("deft63.esp")
        self.assertEqual(data.count(b"\n"), data.count(b"\r\n"))
        parser = configparser.ConfigParser(comment_prefixes=(";",))
        parser.read_string(data.decode("ascii"))
        self.assertGreaterEqual(len(parser.sections()), 3)
        self.assertEqual(parser["General"]["Family"], "UT163")


class CodePageConverter(unittest.TestCase):
    TOOL = os.path.join(SOURCE, "tools", "text", "convert_codepage.py")

    def convert(self, text, out_name, *options):
        with tempfile.TemporaryDirectory() as folder:
            source = os.path.join(folder, "in.txt")
            with open(source, "w", encoding="utf-8") as f:
                f.write(text)
            out = os.path.join(folder, out_name)
            result = subprocess.run([sys.executable, self.TOOL, *options, source, out], capture_output=True, text=True)
            return result, os.path.exists(out)

    def test_long_line_fails_with_max_line(self):
        result, written = self.convert("x" * 124 + "\n" + "y" * 125 + "\n", "out.txt",
                                       "--codepage", "1252", "--crlf", "--max-line", "127")
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("in.txt:2", result.stderr)
        self.assertFalse(written)
        result, written = self.convert("x" * 124 + "\n", "out.txt", "--codepage", "1252", "--crlf", "--max-line", "127")
        self.assertEqual(result.returncode, 0)
        self.assertTrue(written)

    def test_backslash_trail_byte_fails_in_resource_scripts_only(self):
        text = '1 "\u529f\u80fd"\n'  # its first character is A5 5C in Big5
        result, written = self.convert(text, "out.rc", "--codepage", "950")
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("0x5C", result.stderr)
        self.assertFalse(written)
        result, written = self.convert(text, "out.txt", "--codepage", "950")
        self.assertEqual(result.returncode, 0)
        result, written = self.convert('1 "\u4fee\u5fa9\\n"\n', "out.rc", "--codepage", "950")
        self.assertEqual(result.returncode, 0)


if __name__ == "__main__":
    unittest.main(verbosity=2)
