// Texts on the skin: one font per kind for the window's life, however often the controls paint.
#include "sarrow/skin.h"

#include <gtest/gtest.h>

namespace {

TEST(SkinText, ColourRequestsReuseOneFont)
{
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    CDC* dc = CDC::FromHandle(memory);
    CFont font;
    ASSERT_TRUE(PrepareSkinText(*dc, font, 22, RGB(0, 0, 0)));
    const HGDIOBJ made = font.GetSafeHandle();
    for (int paint = 0; paint < 100; ++paint)
        ASSERT_TRUE(PrepareSkinText(*dc, font, 22, RGB(0, 0, 0)));
    EXPECT_EQ(font.GetSafeHandle(), made);
    EXPECT_EQ(GetCurrentObject(memory, OBJ_FONT), made);
    EXPECT_EQ(GetBkMode(memory), TRANSPARENT);
    EXPECT_EQ(GetTextColor(memory), RGB(0, 0, 0));

    LOGFONTA description = {};
    ASSERT_EQ(GetObjectA(made, sizeof description, &description), static_cast<int>(sizeof description));
    EXPECT_EQ(description.lfHeight, 22);
    EXPECT_EQ(description.lfWeight, 900);
    EXPECT_STREQ(description.lfFaceName, "Arial");

    SelectObject(memory, GetStockObject(SYSTEM_FONT));
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

TEST(SkinText, KeptColourStaysTheDcs)
{
    HDC memory = CreateCompatibleDC(nullptr);
    SetTextColor(memory, RGB(1, 2, 3));
    CFont font;
    ASSERT_TRUE(PrepareSkinText(*CDC::FromHandle(memory), font, 24, kKeepTextColour));
    EXPECT_EQ(GetTextColor(memory), RGB(1, 2, 3));
    SelectObject(memory, GetStockObject(SYSTEM_FONT));
    DeleteDC(memory);
}

}  // namespace
