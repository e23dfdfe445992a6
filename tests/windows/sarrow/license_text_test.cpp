// The licence agreement follows the system's language: Traditional Chinese only on a Chinese
// (Taiwan) system.
#include "sarrow/license_text.h"

#include <cstring>

#include <gtest/gtest.h>

#include "sarrow/resources/licence_text.h"

namespace {

TEST(LicenseAgreement, ChineseOnlyOnATaiwaneseSystem)
{
    const CString chinese = LicenseAgreementText(0x0404);
    const std::size_t chineseLength = std::strlen(kLicenceChinese1) + std::strlen(kLicenceChinese2);
    EXPECT_EQ(static_cast<std::size_t>(chinese.GetLength()), chineseLength);
    EXPECT_EQ(std::strncmp(chinese, kLicenceChinese1, std::strlen(kLicenceChinese1)), 0);

    for (LANGID other : {0x0409, 0x0804, 0x0411, 0x0C04}) {
        const CString english = LicenseAgreementText(other);
        EXPECT_EQ(std::strncmp(english, kLicenceEnglish1, std::strlen(kLicenceEnglish1)), 0) << other;
        EXPECT_EQ(static_cast<std::size_t>(english.GetLength()),
                  std::strlen(kLicenceEnglish1) + std::strlen(kLicenceEnglish2) + std::strlen(kLicenceEnglish3));
    }
}

TEST(LicenseAgreement, TitleFillsTheHighlightedCharacters)
{
    // The box shows its first characters in white at 15 points: the title line and its end.
    const CString english = LicenseAgreementText(0x0409);
    const char* lineEnd = std::strstr(english, "\r\n");
    ASSERT_NE(lineEnd, nullptr);
    EXPECT_EQ(lineEnd - static_cast<const char*>(english) + 2, 45);
    EXPECT_EQ(LicenseTitleCharacters(english, 1252), 45);
    // "VEXMEND " and eleven Big5 characters: none of the body beneath turns white.
    EXPECT_EQ(LicenseTitleCharacters(LicenseAgreementText(0x0404), 950), 8 + 11 + 2);
    EXPECT_EQ(LicenseTitleCharacters("A title line longer than forty-five characters, no end", 1252), 45);
}

}  // namespace
