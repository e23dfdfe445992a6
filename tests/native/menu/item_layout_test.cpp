// Item sizes and where each look puts the image, the check box and the text.
#include "core/menu/item_layout.h"

#include <gtest/gtest.h>

namespace {

using menu::ItemSize;
using menu::Point;
using menu::Rect;

TEST(Measure, SeparatorsAreHalfAnItemHighAndItemsMakeRoomForTheImage)
{
    // With the default image (16 x 15) and a menu bar of 19 pixels.
    EXPECT_EQ(menu::MeasureSeparator(true, 15, 19), (ItemSize{0, 11}));
    EXPECT_EQ(menu::MeasureSeparator(false, 15, 19), (ItemSize{0, 9}));
    EXPECT_EQ(menu::MeasureSeparator(false, 15, 30), (ItemSize{0, 15}));  // half the menu bar wins
    EXPECT_EQ(menu::MeasureItem(true, 50, 16, 15, 19), (ItemSize{50 + 16 + 7 + 8, 22}));
    EXPECT_EQ(menu::MeasureItem(false, 50, 16, 15, 19), (ItemSize{50 + 33, 19}));
    EXPECT_EQ(menu::MeasureItem(false, 50, 16, 15, 25), (ItemSize{83, 25}));
    EXPECT_EQ(menu::MeasureItem(true, 0, 24, 24, 19), (ItemSize{39, 31}));
}

TEST(Measure, Win32sWidensTheDrawnWidth)
{
    EXPECT_EQ(menu::Win32sTextWidth(40, 4), 40 + 3 + 30);
    EXPECT_EQ(menu::Win32sTextWidth(41, 4), 41 + 3 + 30);  // unsigned division
    EXPECT_EQ(menu::Win32sTextWidth(0, 0), 3);             // an empty text
}

TEST(ClassicLayout, DefaultImageInANineteenPixelItem)
{
    const menu::ClassicLayout layout = menu::LayoutClassicItem({0, 0, 120, 19}, 16, 15, false);
    EXPECT_EQ(layout.dy, 0);
    EXPECT_EQ(layout.imageCell, (Rect{1, 1, 19, 18}));  // one pixel below the item's top
    EXPECT_EQ(layout.imageFrame, (Rect{0, 0, 20, 19}));
    EXPECT_EQ(layout.imageOrigin, (Point{2, 2}));
    EXPECT_EQ(layout.checkBox, (Rect{1, 2, 17, 17}));
    EXPECT_EQ(layout.text, (Rect{25, -1, 120, 18}));  // text 25 pixels from the left edge
    EXPECT_EQ(layout.highlightBesideImage, (Rect{21, 0, 120, 19}));
    EXPECT_EQ(layout.separatorLine, 9);
}

TEST(ClassicLayout, TallItemsCentreTheImageAndShortcutsLeaveAnImageWidthFree)
{
    const menu::ClassicLayout tall = menu::LayoutClassicItem({10, 100, 130, 130}, 16, 15, true);
    EXPECT_EQ(tall.dy, 5);  // (30 - 15 - 4) / 2
    EXPECT_EQ(tall.imageOrigin, (Point{12, 107}));
    EXPECT_EQ(tall.text, (Rect{35, 99, 114, 129}));
    // Smaller than the image: no negative offset.
    EXPECT_EQ(menu::LayoutClassicItem({0, 0, 50, 10}, 16, 15, false).dy, 0);
    EXPECT_EQ(menu::LayoutClassicItem({0, 0, 50, 16}, 16, 15, false).dy, 0);  // -3 / 2 toward zero, then 0
}

TEST(XpLayout, DefaultImageColumnIsTwentyThreeWide)
{
    const menu::XpLayout layout = menu::LayoutXpItem({0, 0, 120, 22}, 16, 15, false);
    EXPECT_EQ(layout.columnWidth, 23);
    EXPECT_EQ(layout.column, (Rect{0, 0, 23, 22}));
    EXPECT_EQ(layout.imageOrigin, (Point{4, 4}));  // images start 4 pixels from the left edge
    EXPECT_EQ(layout.imageCell, (Rect{1, 1, 22, 21}));
    EXPECT_EQ(layout.text.left, 31);               // text 31 pixels from it
    EXPECT_EQ(layout.checkBox, (Rect{4, 3, 20, 19}));
    EXPECT_EQ(layout.separatorLine, (Rect{30, 11, 120, 22}));
}

TEST(XpLayout, ShortItemsAndLargeImagesClampTheOffsets)
{
    const menu::XpLayout small = menu::LayoutXpItem({5, 50, 100, 60}, 16, 15, true);
    EXPECT_EQ(small.imageOrigin, (Point{9, 50}));  // (10 - 15 + 1) x 0.5 is negative
    EXPECT_EQ(small.checkBox, (Rect{9, 50, 25, 66}));
    EXPECT_EQ(small.text, (Rect{36, 49, 84, 59}));
    const menu::XpLayout large = menu::LayoutXpItem({0, 0, 100, 31}, 24, 24, false);
    EXPECT_EQ(large.imageOrigin, (Point{4, 4}));
    EXPECT_EQ(large.checkBox, (Rect{8, 8, 24, 24}));
}

TEST(SplitAtTab, LabelBeforeTheFirstTabShortcutAfterTheLast)
{
    auto parts = menu::SplitAtTab<char>("&Open\tCtrl+O");
    EXPECT_EQ(parts.label, "&Open");
    EXPECT_EQ(parts.shortcut, "Ctrl+O");
    EXPECT_TRUE(parts.hasTab);
    parts = menu::SplitAtTab<char>("a\tb\tc");
    EXPECT_EQ(parts.label, "a");
    EXPECT_EQ(parts.shortcut, "c");
    auto wide = menu::SplitAtTab<wchar_t>(L"Exit");
    EXPECT_EQ(wide.label, L"Exit");
    EXPECT_TRUE(wide.shortcut.empty());
    EXPECT_FALSE(wide.hasTab);
}

}  // namespace
