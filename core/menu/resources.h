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

// The standard greys and white of toolbar pictures, which take the current button colours.
enum class ButtonColour { kNone, kShadow, kFace, kHighlight };
ButtonColour StandardButtonColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

}  // namespace menu
