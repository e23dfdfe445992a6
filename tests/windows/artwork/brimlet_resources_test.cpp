// tests/windows/artwork/brimlet_resources_test.cpp
// Brimlet's generated resources as its code meets them: every bitmap by number at its size with
// its colour key where the skin classes look for it, the icon, and the string table Windows
// picks for the system's language. Run as `brimlet_resources_test LANGUAGE` with LANGUAGE en,
// zh_TW or zh_CN, under a Wine started in that language.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "brimlet/resources/resource_ids.h"
#include "tests/windows/support/group_icon.h"

namespace {

std::string g_language = "en";

enum class Key {
  Window,       // background: pure green outside the rounded outline
  GreenFace,    // a face keyed on pure green around its shape
  SmallButton,  // keyed on RGB(75, 100, 112) around its shape
  Channel,      // keyed on the colour of its own pixel (0, 0)
  None,
};

struct Picture {
  int id, width, height;
  Key key;
};

constexpr Picture kPictures[] = {
    {IDB_REPAIR_BACKGROUND, 480, 420, Key::Window},  {IDB_LICENCE_BACKGROUND, 480, 440, Key::Window},
    {IDB_MESSAGE_SUCCESS, 480, 260, Key::Window},    {IDB_MESSAGE_ERROR, 480, 260, Key::Window},
    {IDB_SPLASH_CHT_1, 480, 300, Key::Window},       {IDB_SPLASH_CHT_2, 480, 300, Key::Window},
    {IDB_SPLASH_CHT_3, 480, 300, Key::Window},       {IDB_SPLASH_CHT_4, 480, 300, Key::Window},
    {IDB_SPLASH_ENG_1, 480, 300, Key::Window},       {IDB_SPLASH_ENG_2, 480, 300, Key::Window},
    {IDB_SPLASH_ENG_3, 480, 300, Key::Window},       {IDB_SPLASH_ENG_4, 480, 300, Key::Window},
    {IDB_TEXT_BUTTON, 102, 38, Key::GreenFace},      {IDB_SLIDER_THUMB, 18, 60, Key::GreenFace},
    {IDB_CLOSE, 46, 26, Key::SmallButton},           {IDB_CLOSE_HOVER, 46, 26, Key::SmallButton},
    {IDB_MINIMISE, 46, 26, Key::SmallButton},        {IDB_MINIMISE_HOVER, 46, 26, Key::SmallButton},
    {IDB_SCROLL_UP, 22, 22, Key::SmallButton},       {IDB_SCROLL_DOWN, 22, 22, Key::SmallButton},
    {IDB_PROGRESS_CHANNEL, 400, 22, Key::Channel},   {IDB_PROGRESS_ACTIVE, 400, 22, Key::Channel},
    {IDB_BULLET, 8, 8, Key::None},
};

constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kSmallKey = 0x70644B;

class Dib {
 public:
  explicit Dib(int id)
      : bitmap_(static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_BITMAP,
                                                0, 0, LR_CREATEDIBSECTION))) {
    if (bitmap_ && GetObjectA(bitmap_, sizeof dib_, &dib_) != static_cast<int>(sizeof dib_)) dib_ = {};
  }
  ~Dib() {
    if (bitmap_) DeleteObject(bitmap_);
  }
  Dib(const Dib&) = delete;
  Dib& operator=(const Dib&) = delete;

  bool loaded() const { return dib_.dsBm.bmBits != nullptr; }
  int width() const { return dib_.dsBm.bmWidth; }
  int height() const { return dib_.dsBm.bmHeight; }
  int bits() const { return dib_.dsBm.bmBitsPixel; }
  COLORREF at(int x, int y) const {
    const int stride = (width() * 3 + 3) & ~3;
    const auto* row = static_cast<const BYTE*>(dib_.dsBm.bmBits) + (height() - 1 - y) * stride;
    return RGB(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
  }

 private:
  HBITMAP bitmap_;
  DIBSECTION dib_{};
};

TEST(BrimletResources, BitmapsLoadAtTheirSizesWithTheirKeys) {
  for (const Picture& p : kPictures) {
    SCOPED_TRACE(p.id);
    Dib dib(p.id);
    ASSERT_TRUE(dib.loaded());
    EXPECT_EQ(dib.width(), p.width);
    EXPECT_EQ(dib.height(), p.height);
    EXPECT_EQ(dib.bits(), 24);
    const int w = p.width, h = p.height;
    const COLORREF corners[] = {dib.at(0, 0), dib.at(w - 1, 0), dib.at(0, h - 1), dib.at(w - 1, h - 1)};
    const COLORREF centre = dib.at(w / 2, h / 2);
    switch (p.key) {
      case Key::Window:
      case Key::GreenFace:
        for (COLORREF corner : corners) EXPECT_EQ(corner, kGreen);
        EXPECT_NE(centre, kGreen);
        break;
      case Key::SmallButton:
        for (COLORREF corner : corners) EXPECT_EQ(corner, kSmallKey);
        EXPECT_NE(centre, kSmallKey);
        break;
      case Key::Channel:
        // The slider's mask colour is pixel (0, 0): the rounded ends are keyed, the middle row
        // between them holds no key pixel, so the bar is solid where it shows.
        for (COLORREF corner : corners) EXPECT_EQ(corner, corners[0]);
        for (int x = h / 2; x < w - h / 2; ++x) ASSERT_NE(dib.at(x, h / 2), corners[0]) << x;
        break;
      case Key::None:
        break;
    }
  }
}

// The slider lays the active channel over the channel pixel for pixel: one size for both.
TEST(BrimletResources, ChannelAndActiveChannelShareTheirSize) {
  Dib channel(IDB_PROGRESS_CHANNEL), active(IDB_PROGRESS_ACTIVE);
  ASSERT_TRUE(channel.loaded() && active.loaded());
  EXPECT_EQ(channel.width(), active.width());
  EXPECT_EQ(channel.height(), active.height());
  EXPECT_NE(channel.at(channel.width() / 2, channel.height() / 2), active.at(active.width() / 2, active.height() / 2));
}

// The icon directory itself: LoadImage would stretch a lone 32x32 picture to any size asked.
TEST(BrimletResources, IconHasBothSizes) {
  using test_support::GroupIconDirectory;
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC group = FindResourceA(module, MAKEINTRESOURCEA(IDI_BRIMLET), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
  ASSERT_NE(group, nullptr);
  const auto* directory = static_cast<const GroupIconDirectory*>(LockResource(LoadResource(module, group)));
  ASSERT_NE(directory, nullptr);
  ASSERT_EQ(directory->count, 2);
  std::vector<int> sizes;
  for (int i = 0; i < directory->count; ++i) sizes.push_back(directory->entries[i].width);
  std::sort(sizes.begin(), sizes.end());
  EXPECT_EQ(sizes, (std::vector<int>{16, 32}));
  HICON icon = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(IDI_BRIMLET), IMAGE_ICON, 16, 16, 0));
  ASSERT_NE(icon, nullptr);
  DestroyIcon(icon);
}

// ---- strings ----------------------------------------------------------------------------

struct Text {
  int id;
  const char* english;
  const char* traditional;  // UTF-8
  const char* simplified;   // UTF-8
};

constexpr const char kNotSupported[] = "The Recovery Utility do not support this device.";
constexpr const char kVista[] = "User can not use this tool in Windows Vista, please use it in Windows 2000/XP.";

const Text kTexts[] = {
    {IDS_UPDATE, "Update", "更新", "更新"},
    {IDS_CLOSE, "Close", "關閉", "关闭"},
    {IDS_NEED_ADMINISTRATOR, "This program can only be executed with administrative privilege!",
     "本程式必須以系統管理員權限執行！", "本程序必须以管理员权限运行！"},
    {IDS_BAD_BLOCKS, "Bad Blocks", "壞區塊", "坏块"},
    {IDS_FAST, "Fast", "快速", "快速"},
    {IDS_COMPLETE, "Complete", "完整", "完整"},
    {IDS_REPAIR_OPTION, "Repair Option", "修復選項", "修复选项"},
    {IDS_DEVICE_INFORMATION, "Device Information", "裝置資訊", "设备信息"},
    {IDS_REPAIR_COMPLETE, "Repair complete, Please un-plug device", "修復完成，請拔除裝置", "修复完成，请拔出设备"},
    {IDS_REPAIR_FAIL, "Repair fail", "修復失敗", "修复失败"},
    {IDS_DEVICE_NOT_FOUND, "Device not found, please insert device", "找不到裝置，請插入裝置",
     "未找到设备，请插入设备"},
    {IDS_DEVICE_NOT_SUPPORTED, kNotSupported, kNotSupported, kNotSupported},
    {IDS_WINDOWS_NOT_SUPPORTED, kVista, kVista, kVista},
};

std::wstring Wide(const char* utf8) {
  wchar_t buffer[256] = {};
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, buffer, 256);
  return buffer;
}

std::string InCodePage(const std::wstring& text, UINT codepage) {
  char buffer[512] = {};
  BOOL lossy = FALSE;
  WideCharToMultiByte(codepage, 0, text.c_str(), -1, buffer, sizeof buffer, nullptr, &lossy);
  EXPECT_FALSE(lossy);
  return buffer;
}

struct Language {
  LCID lcid;      // the system's locale; 0: any locale that is not Chinese
  UINT codepage;  // 0: the texts are plain ASCII, the same in every ANSI code page
  const char* Text::*column;
};

Language Current() {
  if (g_language == "zh_TW") return {0x0404, 950, &Text::traditional};
  if (g_language == "zh_CN") return {0x0804, 936, &Text::simplified};
  return {0, 0, &Text::english};
}

TEST(BrimletStrings, WindowsRunsInTheLanguageUnderTest) {
  const Language language = Current();
  if (language.lcid) {
    EXPECT_EQ(GetSystemDefaultLCID(), language.lcid);
    EXPECT_EQ(GetACP(), language.codepage);
  } else {
    EXPECT_NE(PRIMARYLANGID(LANGIDFROMLCID(GetSystemDefaultLCID())), LANG_CHINESE);
  }
}

TEST(BrimletStrings, LoadStringPicksTheTableOfTheSystemLanguage) {
  const Language language = Current();
  HMODULE module = GetModuleHandleA(nullptr);
  for (const Text& text : kTexts) {
    SCOPED_TRACE(text.id);
    const std::wstring expected = Wide(text.*language.column);
    wchar_t wide[256] = {};
    ASSERT_GT(LoadStringW(module, text.id, wide, 256), 0);
    EXPECT_EQ(std::wstring(wide), expected);
    char narrow[256] = {};
    ASSERT_GT(LoadStringA(module, text.id, narrow, 256), 0);
    EXPECT_EQ(std::string(narrow),
              language.codepage ? InCodePage(expected, language.codepage) : std::string(text.*language.column));
  }
}

// The same bytes spelled out, so a code page table of the system under test cannot hide a
// wrong conversion at build time.
TEST(BrimletStrings, ChineseTablesReadInBig5AndGbk) {
  char text[64] = {};
  ASSERT_GT(LoadStringA(GetModuleHandleA(nullptr), IDS_REPAIR_FAIL, text, sizeof text), 0);
  if (g_language == "zh_TW") {
    EXPECT_STREQ(text, "\xAD\xD7\xB4\x5F\xA5\xA2\xB1\xD1");  // 修復失敗
  } else if (g_language == "zh_CN") {
    EXPECT_STREQ(text, "\xD0\xDE\xB8\xB4\xCA\xA7\xB0\xDC");  // 修复失败
  } else {
    EXPECT_STREQ(text, "Repair fail");
  }
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc > 1) g_language = argv[1];
  return RUN_ALL_TESTS();
}
