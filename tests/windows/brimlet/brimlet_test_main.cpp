// The entry point of Brimlet's Windows tests: the language the run expects comes first on the
// command line (en, zh_TW or zh_CN), and the run checks that Wine gave it.
#include <windows.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "tests/windows/brimlet/test_language.h"

namespace brimlet_test {
std::string& TestLanguage()
{
    static std::string language = "en";
    return language;
}
}  // namespace brimlet_test

TEST(TestLanguage, IsTheSystemLocale)
{
    EXPECT_EQ(::GetSystemDefaultLCID(), brimlet_test::ExpectedLcid());
}

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "zh_TW") == 0 || std::strcmp(argv[i], "zh_CN") == 0 || std::strcmp(argv[i], "en") == 0)
            brimlet_test::TestLanguage() = argv[i];
    }
    return RUN_ALL_TESTS();
}
