// core/menu/item_layout.cpp
#include "core/menu/item_layout.h"

#include <algorithm>

namespace menu {

namespace {

// x 0.5 truncated toward zero, never below 0.
int HalfOrZero(int value) { return std::max(0, static_cast<int>((value + 1) * 0.5)); }

}  // namespace

int ImageMargin(bool xpStyle) { return xpStyle ? 7 : 4; }

ItemSize MeasureSeparator(bool xpStyle, int iconHeight, int menuBarHeight)
{
    return {0, std::max(menuBarHeight / 2, (iconHeight + ImageMargin(xpStyle)) / 2)};
}

ItemSize MeasureItem(bool xpStyle, int textWidth, int iconWidth, int iconHeight, int menuBarHeight)
{
    const int margin = ImageMargin(xpStyle);
    ItemSize size;
    size.width = textWidth + (xpStyle ? iconWidth + margin + 8 : 2 * iconWidth + 1);
    size.height = std::max(menuBarHeight, iconHeight + margin);
    return size;
}

int Win32sTextWidth(int rectangleWidth, unsigned length)
{
    const int width = rectangleWidth + 3;
    if (length == 0)
        return width;
    return width + 3 * static_cast<int>(static_cast<unsigned>(rectangleWidth) / length);
}

ClassicLayout LayoutClassicItem(const Rect& r, int iconWidth, int iconHeight, bool hasTab)
{
    ClassicLayout layout;
    layout.dy = std::max(0, (r.Height() - iconHeight - 4) / 2);
    const int top = r.top + layout.dy;
    layout.highlightBesideImage = {r.left + iconWidth + 5, r.top, r.right, r.bottom};
    layout.imageCell = {r.left + 1, top + 1, r.left + iconWidth + 3, top + iconHeight + 3};
    layout.imageFrame = {r.left, top, r.left + iconWidth + 4, top + iconHeight + 4};
    layout.imageOrigin = {r.left + 2, top + 2};
    layout.checkBox = {r.left + 1, top + 2, r.left + iconWidth + 1, top + iconHeight + 2};
    layout.text = {r.left + iconWidth + 9, r.top - 1, r.right - (hasTab ? iconWidth : 0), r.bottom - 1};
    layout.separatorLine = r.top + r.Height() / 2;
    return layout;
}

XpLayout LayoutXpItem(const Rect& r, int iconWidth, int iconHeight, bool hasTab)
{
    XpLayout layout;
    layout.columnWidth = iconWidth + 7;
    const int column = layout.columnWidth;
    layout.column = {r.left, r.top, r.left + column, r.bottom};
    layout.imageCell = {r.left + 1, r.top + 1, r.left + column - 1, r.bottom - 1};
    layout.imageOrigin = {r.left + HalfOrZero(column - iconWidth), r.top + HalfOrZero(r.Height() - iconHeight)};
    const int boxLeft = r.left + HalfOrZero(column - 16);
    const int boxTop = r.top + HalfOrZero(r.Height() - 16);
    layout.checkBox = {boxLeft, boxTop, boxLeft + 16, boxTop + 16};
    layout.text = {r.left + column + 8, r.top - 1, r.right - (hasTab ? iconWidth : 0), r.bottom - 1};
    layout.separatorLine = {r.left + column + 7, r.top + r.Height() / 2, r.right, r.bottom};
    return layout;
}

}  // namespace menu
