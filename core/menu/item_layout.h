// core/menu/item_layout.h
// Where the owner-drawn menu puts things: item sizes, the image cell, check box and text of each
// look, in the item DC's coordinates.
#pragma once

#include <string_view>

#include "core/geometry/rect.h"

namespace menu {

using Rect = core::Rect;
using Point = core::Point;

// --- measuring

struct ItemSize {
    int width = 0;
    int height = 0;
    bool operator==(const ItemSize&) const = default;
};

// The space around an image: wider in the XP look.
int ImageMargin(bool xpStyle);
ItemSize MeasureSeparator(bool xpStyle, int iconHeight, int menuBarHeight);
ItemSize MeasureItem(bool xpStyle, int textWidth, int iconWidth, int iconHeight, int menuBarHeight);
// Win32s measures with DrawText, which leaves the text a little narrow: three pixels, and three
// more per average character width.
int Win32sTextWidth(int rectangleWidth, unsigned length);

// --- the classic look

struct ClassicLayout {
    int dy = 0;
    Rect highlightBesideImage;  // selected items with an image or a check: the image stays unlit
    Rect imageCell;
    Rect imageFrame;
    Point imageOrigin;
    Rect checkBox;
    Rect text;          // the label's and the shortcut's rectangle
    int separatorLine;  // top of the etched line
};
ClassicLayout LayoutClassicItem(const Rect& item, int iconWidth, int iconHeight, bool hasTab);

// --- the XP look

struct XpLayout {
    int columnWidth = 0;
    Rect column;
    Rect imageCell;
    Point imageOrigin;
    Rect checkBox;  // 16 x 16
    Rect text;
    Rect separatorLine;
};
XpLayout LayoutXpItem(const Rect& item, int iconWidth, int iconHeight, bool hasTab);

// --- text

// A tab divides the label from the shortcut: the label is what comes before the first tab, the
// shortcut what comes after the last one.
template <class Char>
struct TextParts {
    std::basic_string_view<Char> label;
    std::basic_string_view<Char> shortcut;
    bool hasTab = false;
};

template <class Char>
TextParts<Char> SplitAtTab(std::basic_string_view<Char> text)
{
    TextParts<Char> parts;
    const auto first = text.find(Char('\t'));
    if (first == std::basic_string_view<Char>::npos) {
        parts.label = text;
        return parts;
    }
    parts.hasTab = true;
    parts.label = text.substr(0, first);
    parts.shortcut = text.substr(text.rfind(Char('\t')) + 1);
    return parts;
}

}  // namespace menu
