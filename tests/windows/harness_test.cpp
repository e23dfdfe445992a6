// The harness runs each test program with the Windows version its test names (Wine AppDefaults).
#include <windows.h>

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

static std::string g_expectedVersion;

TEST(WineHarness, ReportsTheVersionTheTestAskedFor)
{
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_TRUE(GetVersionExA(&info));
    char text[32];
    std::snprintf(text, sizeof text, "%lu.%lu", info.dwMajorVersion, info.dwMinorVersion);
    EXPECT_EQ(g_expectedVersion, text);
}

TEST(WineHarness, HasADisplay)
{
    HWND window = CreateWindowExA(0, "STATIC", "probe", WS_POPUP | WS_VISIBLE, 0, 0, 40, 20,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    HDC dc = GetDC(window);
    EXPECT_GE(GetDeviceCaps(dc, BITSPIXEL), 24);
    ReleaseDC(window, dc);
    DestroyWindow(window);
}

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (argc > 1)
        g_expectedVersion = argv[1];
    return RUN_ALL_TESTS();
}
