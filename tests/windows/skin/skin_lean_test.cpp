// Sarrow's flavour of the skinned dialog base keeps what its dialogs use.
#include "brimlet/skin/bitmap_dialog.h"

#include <gtest/gtest.h>

#include <type_traits>

static_assert(!std::is_default_constructible_v<CBitmapDialog>, "the lean flavour has no default constructor");
static_assert(!std::is_constructible_v<CBitmapDialog, LPCSTR, CWnd*>, "nor the one by template name");
static_assert(std::is_constructible_v<CBitmapDialog, UINT, CWnd*>);

template <class T>
concept HasSetTransparent = requires(T dialog) { dialog.SetTransparent(BYTE{0}); };
template <class T>
concept HasSetBitmapByName = requires(T dialog) { dialog.SetBitmap(static_cast<LPCSTR>("x.bmp")); };
static_assert(!HasSetTransparent<CBitmapDialog>);
static_assert(!HasSetBitmapByName<CBitmapDialog>);

TEST(LeanBitmapDialog, LooksUpTheLayeringFunctionWhenConstructed)
{
    CBitmapDialog::s_setLayeredWindowAttributes = nullptr;
    CBitmapDialog dialog(300, nullptr);
    EXPECT_NE(CBitmapDialog::s_setLayeredWindowAttributes, nullptr);
    EXPECT_TRUE(dialog.SetBitmap(static_cast<HBITMAP>(nullptr)));
}

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
