// The work folder path and the parameter text: what fits, and where a long text is cut.
#include "core/launch/work_folder.h"

#include <string>

#include <gtest/gtest.h>

namespace {

bool Big5Lead(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }
bool NoLead(unsigned char) { return false; }

TEST(WorkFolder, IsTheTemporaryPathFollowedByZemFix)
{
    EXPECT_EQ(launch::WorkFolderPath("C:\\users\\me\\Temp\\", {"Quillet.exe"}),
              "C:\\users\\me\\Temp\\ZEM_fix\\");
}

TEST(WorkFolder, RefusedWhenTheLongestFilePathWouldNotFitInMaxPath)
{
    // folder + name + terminating zero: 260 fits, 261 does not.
    const std::string name = "QuilletV1.00.exe";  // 16
    const std::size_t tempLength = 260 - 1 - name.size() - 8;
    const std::string fits = "C:\\" + std::string(tempLength - 4, 'x') + "\\";
    ASSERT_EQ(fits.size(), tempLength);
    const auto folder = launch::WorkFolderPath(fits, {"Disk.ini", name});
    ASSERT_TRUE(folder.has_value());
    EXPECT_EQ(folder->size() + name.size() + 1, 260u);

    const std::string tooLong = "C:\\" + std::string(tempLength - 3, 'x') + "\\";
    EXPECT_FALSE(launch::WorkFolderPath(tooLong, {"Disk.ini", name}).has_value());
    EXPECT_TRUE(launch::WorkFolderPath(tooLong, {"Disk.ini"}).has_value());
    // The longest temporary path GetTempPathA hands out (259) never leaves room.
    EXPECT_FALSE(launch::WorkFolderPath(std::string(259, 'x'), {}).has_value());
}

TEST(ParameterText, CurrentDirectoryBackslashOwnPathUnquoted)
{
    EXPECT_EQ(launch::ParameterText("D:\\Tools", "D:\\Tools\\Vexmend.exe", 260, Big5Lead),
              "D:\\Tools\\D:\\Tools\\Vexmend.exe");
    EXPECT_EQ(launch::ParameterText("C:\\", "C:\\Vexmend.exe", 260, Big5Lead), "C:\\\\C:\\Vexmend.exe");
}

TEST(ParameterText, CutToTheBufferWithItsTerminatingZero)
{
    const std::string directory(200, 'd');
    const std::string program(100, 'p');
    const std::string text = launch::ParameterText(directory, program, 260, NoLead);
    ASSERT_EQ(text.size(), 259u);
    EXPECT_EQ(text, (directory + "\\" + program).substr(0, 259));
}

TEST(ParameterText, NeverSplitsADoubleByteCharacter)
{
    // 257 single bytes then Big5 characters: the pair at 257-258 fits, the one at 259-260 does not.
    const std::string chinese = "\xA4\xA4\xA4\xE5";  // two Big5 characters
    const std::string directory(256, 'd');
    EXPECT_EQ(launch::ParameterText(directory, chinese, 260, Big5Lead),
              directory + "\\" + "\xA4\xA4");
    const std::string shorter(255, 'd');
    EXPECT_EQ(launch::ParameterText(shorter, chinese, 260, Big5Lead).size(), 258u);
    // A single-byte reading would have cut inside the second character.
    EXPECT_EQ(launch::ParameterText(shorter, chinese, 260, NoLead).size(), 259u);
}

TEST(ParameterText, TrailingLeadByteCountsAsOneCharacter)
{
    EXPECT_EQ(launch::CutAtCharacter("ab\xA4", 3, Big5Lead), "ab\xA4");
    EXPECT_EQ(launch::CutAtCharacter("ab\xA4\xA4", 3, Big5Lead), "ab");
    EXPECT_EQ(launch::CutAtCharacter("abc", 0, Big5Lead), "");
}

}  // namespace
