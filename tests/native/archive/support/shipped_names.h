// The 65 entries of Brimlet's shipped firmware archive, in archive order: name, size, and the
// tag at 0xEFF0 where it is fixed ("" for the tags of the same form that the build chooses).
// BCD\font.bin is a font, not an image, and carries no tag.
#pragma once

#include <cstddef>

namespace shipped {

struct ArchiveEntry {
    const char* name;
    std::size_t size;
    const char* tag;
};

constexpr std::size_t kTagOffset = 0xEFF0;
constexpr std::size_t kImageSize = 65536;
constexpr char kFontName[] = "BCD\\font.bin";

inline constexpr ArchiveEntry kEntries[] = {
    {"A1\\ur.bin", 65536, "A1BAR665"},
    {"A1\\us.bin", 65536, ""},
    {"A1\\us1.bin", 65536, ""},
    {"A1\\us2.bin", 65536, ""},
    {"A1\\us3.bin", 65536, ""},
    {"A1\\us4.bin", 65536, ""},
    {"A1\\us5.bin", 65536, ""},
    {"A1\\us6.bin", 65536, ""},
    {"A1\\us7.bin", 65536, ""},
    {"A1\\usin.bin", 65536, ""},
    {"A1\\usin1.bin", 65536, ""},
    {"A1\\ust.bin", 65536, ""},
    {"A2C\\ur.bin", 65536, ""},
    {"A2C\\us.bin", 65536, "A2CS0677"},
    {"A2C\\us1.bin", 65536, ""},
    {"A2C\\us2.bin", 65536, ""},
    {"A2C\\us4.bin", 65536, ""},
    {"A2C\\us5.bin", 65536, ""},
    {"A2C\\us6.bin", 65536, ""},
    {"A2C\\usin.bin", 65536, ""},
    {"A2C\\usin1.bin", 65536, ""},
    {"A2C\\usin2.bin", 65536, ""},
    {"A2C\\ust.bin", 65536, ""},
    {"A2D\\us.bin", 65536, ""},
    {"A2D\\us1.bin", 65536, ""},
    {"A2D\\us4.bin", 65536, ""},
    {"A2D\\usin.bin", 65536, ""},
    {"A2D\\usin1.bin", 65536, ""},
    {"A2D\\ust.bin", 65536, ""},
    {"BCD\\font.bin", 1052, ""},
    {"BCD\\ur.bin", 65536, ""},
    {"BCD\\us.bin", 131072, "A2Q00667"},
    {"BCD\\us1.bin", 131072, ""},
    {"BCD\\usin.bin", 131072, ""},
    {"BCD\\usin1.bin", 131072, ""},
    {"BCD\\ust.bin", 65536, ""},
    {"FP\\A2C\\ur.bin", 65536, ""},
    {"FP\\A2C\\us.bin", 65536, ""},
    {"FP\\A2C\\us1.bin", 65536, ""},
    {"FP\\A2C\\us2.bin", 65536, ""},
    {"FP\\A2C\\us3.bin", 65536, ""},
    {"FP\\A2C\\us4.bin", 65536, ""},
    {"FP\\A2C\\us5.bin", 65536, ""},
    {"FP\\A2C\\us6.bin", 65536, ""},
    {"FP\\A2C\\usin.bin", 65536, ""},
    {"FP\\A2C\\usin1.bin", 65536, ""},
    {"FP\\A2C\\usin2.bin", 65536, ""},
    {"FP\\A2C\\ust.bin", 65536, ""},
    {"FP\\us.bin", 65536, ""},
    {"FP\\us1.bin", 65536, ""},
    {"FP\\usin.bin", 65536, ""},
    {"FP\\usin1.bin", 65536, ""},
    {"FP\\ust.bin", 65536, ""},
    {"MRevert\\U163S.bin", 65536, ""},
    {"Spansion\\U163S.BIN", 65536, ""},
    {"U65\\A0\\us.bin", 65536, "A0AS0678"},
    {"U65\\A0\\us1.bin", 65536, ""},
    {"U65\\A0\\us4.bin", 65536, ""},
    {"U65\\A0\\us5.bin", 65536, ""},
    {"U65\\A0\\us6.bin", 65536, ""},
    {"U65\\A0\\us7.bin", 65536, ""},
    {"U65\\A0\\usin.bin", 65536, ""},
    {"U65\\A0\\usin1.bin", 65536, ""},
    {"U65\\A0\\usin2.bin", 65536, ""},
    {"U65\\A0\\ust.bin", 65536, ""},
};

static_assert(sizeof kEntries / sizeof kEntries[0] == 65);

}  // namespace shipped
