// core/menu/resources.h
// The resource layouts the menu reads itself: standard menu templates, toolbar resources, and
// what a bitmap's header says about its colours. Every reader stays inside the bytes it is given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace menu {

constexpr std::uint16_t kMenuPopup = 0x10;  // MF_POPUP
constexpr std::uint16_t kMenuEnd = 0x80;    // MF_END: the last item of a menu level

// One item of a standard menu template, with where the walk puts it.
struct TemplateItem {
    std::uint16_t flags = 0;  // the option word without MF_END
    std::uint16_t id = 0;     // 0 for a popup, which has none
    std::u16string text;
    bool popup = false;
    int depth = 0;         // the level it is appended to: 0 is the menu bar itself
    int closedLevels = 0;  // levels that end after it, innermost first
};

// The items of a standard menu template (version 0) in template order. A popup opens a level
// that the following items fill; MF_END on an item ends its level, and MF_END on a popup entry
// ends the popup's parent level as soon as the popup's own level ends. The walk stops when the
// menu bar's level ends. Empty when the bytes end before that or the template is of another kind.
std::optional<std::vector<TemplateItem>> ParseMenuTemplate(const std::uint8_t* data, std::size_t size);

// A toolbar resource: four 16-bit words (version, image width, image height, button count) and
// the buttons' command ids, 0 for a separator.
struct ToolbarResource {
    std::uint16_t version = 0;
    std::uint16_t imageWidth = 0;
    std::uint16_t imageHeight = 0;
    std::vector<std::uint16_t> commandIds;
};
std::optional<ToolbarResource> ParseToolbarResource(const std::uint8_t* data, std::size_t size);

// Colours of a bitmap's colour table: biClrUsed when set, else 2, 16 or 256 for 1, 4 or 8 bits
// per pixel, else 0 (no table).
unsigned BitmapColourCount(std::uint32_t coloursUsed, unsigned bitsPerPixel);

// A bitmap resource: a header, its colour table and the pixels, packed one after the other.
struct PackedBitmap {
    enum class Header {
        kCore,      // 12 bytes (OS/2): 16-bit sizes, 3-byte colour entries, no compression
        kInfo,      // 40 bytes, the bit-field masks of BI_BITFIELDS after it
        kExtended,  // 52, 56, 108 (V4) or 124 (V5) bytes, the masks inside it
    };
    Header header = Header::kInfo;
    std::uint32_t headerSize = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;  // negative: the rows run top-down
    unsigned bitsPerPixel = 0;
    std::uint32_t compression = 0;
    unsigned colours = 0;    // entries of the colour table
    unsigned entrySize = 4;  // bytes per entry: 3 after a core header
    unsigned masks = 0;      // 4-byte masks between a 40-byte header and the colours
    std::size_t tableOffset = 0;
    std::size_t bitsOffset = 0;
};
constexpr std::uint32_t kBitmapRgb = 0;        // BI_RGB
constexpr std::uint32_t kBitmapBitFields = 3;  // BI_BITFIELDS
// The layout of the bytes, when they hold a whole bitmap of up to 256 colours: every part the
// header announces (table, masks, pixels, or the stated size of compressed pixels) is there.
std::optional<PackedBitmap> ReadPackedBitmap(const std::uint8_t* data, std::size_t size);

// The standard greys and white of toolbar pictures, which take the current button colours.
enum class ButtonColour { kNone, kShadow, kFace, kHighlight };
ButtonColour StandardButtonColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

}  // namespace menu
