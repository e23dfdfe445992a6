// tests/windows/artwork/resources_test.cpp
// The generated resources as Sarrow's code meets them: bitmaps by number at their sizes with
// the colour key in the window corners, the icon, the firmware image and the licence pieces.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "sarrow/resources/isp_image.h"
#include "sarrow/resources/licence_text.h"
#include "tests/windows/support/group_icon.h"

namespace {

struct Picture {
  int id, width, height;
  bool window;  // a window background, whose corners the colour key removes
};

constexpr Picture kPictures[] = {
    {129, 490, 440, true}, {134, 105, 48, false}, {136, 105, 48, false}, {137, 39, 25, false},
    {139, 39, 25, false},  {138, 27, 24, false},  {140, 27, 24, false},  {141, 490, 446, true},
    {142, 490, 440, true}, {143, 490, 440, true}, {144, 490, 440, true}, {145, 490, 440, true},
    {148, 490, 253, true}, {149, 490, 253, true},
};

COLORREF PixelAt(const DIBSECTION& dib, int x, int y) {
  const int stride = (dib.dsBm.bmWidth * 3 + 3) & ~3;
  const auto* row = static_cast<const BYTE*>(dib.dsBm.bmBits) + (dib.dsBm.bmHeight - 1 - y) * stride;
  return RGB(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
}

TEST(SarrowResources, BitmapsLoadAtTheirSizesWithTheKeyInWindowCorners) {
  for (const Picture& p : kPictures) {
    SCOPED_TRACE(p.id);
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(p.id),
                                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(bitmap, nullptr);
    DIBSECTION dib{};
    ASSERT_EQ(GetObjectA(bitmap, sizeof dib, &dib), static_cast<int>(sizeof dib));
    EXPECT_EQ(dib.dsBm.bmWidth, p.width);
    EXPECT_EQ(dib.dsBm.bmHeight, p.height);
    EXPECT_EQ(dib.dsBm.bmBitsPixel, 24);
    if (p.window) {
      const COLORREF key = RGB(0, 60, 31);
      EXPECT_EQ(PixelAt(dib, 0, 0), key);
      EXPECT_EQ(PixelAt(dib, p.width - 1, 0), key);
      EXPECT_EQ(PixelAt(dib, 0, p.height - 1), key);
      EXPECT_EQ(PixelAt(dib, p.width - 1, p.height - 1), key);
      EXPECT_NE(PixelAt(dib, p.width / 2, p.height / 2), key);
    }
    DeleteObject(bitmap);
  }
}

// The icon directory itself: LoadImage would stretch a lone 32x32 picture to any size asked.
TEST(SarrowResources, IconHasBothSizes) {
  using test_support::GroupIconDirectory;
  using test_support::GroupIconEntry;
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC group = FindResourceA(module, MAKEINTRESOURCEA(128), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
  ASSERT_NE(group, nullptr);
  const auto* directory = static_cast<const GroupIconDirectory*>(LockResource(LoadResource(module, group)));
  ASSERT_NE(directory, nullptr);
  ASSERT_GE(SizeofResource(module, group), 6u + 14u * directory->count);
  EXPECT_EQ(directory->type, 1);
  ASSERT_EQ(directory->count, 2);
  std::vector<int> sizes;
  for (int i = 0; i < directory->count; ++i) {
    const GroupIconEntry& entry = directory->entries[i];
    SCOPED_TRACE(entry.width);
    EXPECT_EQ(entry.width, entry.height);
    sizes.push_back(entry.width);
    // Each entry names an icon image of that size.
    HRSRC image = FindResourceA(module, MAKEINTRESOURCEA(entry.id), MAKEINTRESOURCEA(3));  // RT_ICON
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(SizeofResource(module, image), entry.bytes);
    auto* bits = static_cast<BYTE*>(LockResource(LoadResource(module, image)));
    ASSERT_NE(bits, nullptr);
    HICON icon = CreateIconFromResourceEx(bits, entry.bytes, TRUE, 0x00030000, 0, 0, LR_DEFAULTCOLOR);
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP mask{};
    ASSERT_TRUE(GetObjectA(info.hbmMask, sizeof mask, &mask));
    EXPECT_EQ(mask.bmWidth, entry.width);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    DestroyIcon(icon);
  }
  std::sort(sizes.begin(), sizes.end());
  EXPECT_EQ(sizes, (std::vector<int>{16, 32}));
}

TEST(SarrowResources, FirmwareImageIsTheDataResource) {
  std::size_t size = 0;
  const unsigned char* image = FindIspFirmwareImage(&size);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(size, 101360u);
  EXPECT_EQ(std::memcmp(image, "\x02\xF0\x5ESM325ABU\x02" "080411-AB-", 22), 0);
}

TEST(SarrowResources, LicencePiecesJoinIntoOneBuffer) {
  char english[kTextPieceSize];
  char chinese[kTextPieceSize];
  int n = std::snprintf(english, sizeof english, "%s%s%s", kLicenceEnglish1, kLicenceEnglish2, kLicenceEnglish3);
  int m = std::snprintf(chinese, sizeof chinese, "%s%s", kLicenceChinese1, kLicenceChinese2);
  ASSERT_GT(n, 0);
  ASSERT_GT(m, 0);
  EXPECT_LT(n, kTextPieceSize);
  EXPECT_LT(m, kTextPieceSize);
  const std::string text(english);
  EXPECT_EQ(text.rfind("VEXMEND END-USER SOFTWARE LICENCE AGREEMENT\r\n", 0), 0u);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  EXPECT_EQ(text.find("\n\n"), std::string::npos);  // every line ends in CR LF
  // The Chinese text reads back through code page 950 into the agreement's Chinese title.
  wchar_t wide[kTextPieceSize];
  int chars = MultiByteToWideChar(950, MB_ERR_INVALID_CHARS, chinese, -1, wide, kTextPieceSize);
  ASSERT_GT(chars, 0);
  EXPECT_EQ(std::wcsncmp(wide, L"VEXMEND \x8EDF\x9AD4", 10), 0);
}

TEST(SarrowResources, ResourceScriptConvertedToBig5KeepsItsChinese) {
  wchar_t text[32] = {};
  ASSERT_GT(LoadStringW(GetModuleHandleA(nullptr), 900, text, 32), 0);
  EXPECT_STREQ(text, L"\x96A8\x8EAB\x789F\x4FEE\x5FA9\x7A0B\x5F0F");
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
