// The rights gate, the build number of a version record, the edition line, the program folder
// and the window title taken from the program path.
#include "core/brimlet/startup_rules.h"

#include <string>

#include <gtest/gtest.h>

namespace {

using brimlet::VersionRecord;

VersionRecord Version(std::uint32_t platform, std::uint32_t major, std::uint32_t minor, std::uint32_t build,
                      std::string servicePack = "")
{
    VersionRecord v;
    v.platformId = platform;
    v.major = major;
    v.minor = minor;
    v.buildNumber = build;
    v.servicePack = std::move(servicePack);
    return v;
}

// Big5: 0xA1..0xFE lead a two-byte character whose trail may be 0x5C.
bool Big5Lead(unsigned char byte)
{
    return byte >= 0x81 && byte <= 0xFE;
}

TEST(RightsGate, WhichBuildsNeedAnAdministrator)
{
    const struct {
        std::uint32_t build;
        bool asks;
    } cases[] = {
        {409, false}, {410, false}, {420, false}, {1381, false}, {2194, false},
        {2195, true}, {2600, true}, {3790, true}, {5999, true},
        {6000, false},  // the first Vista release runs without the rights
        {6001, true}, {6002, true}, {7601, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(brimlet::RightsGateAsksForAdministrator(c.build), c.asks) << c.build;
        EXPECT_TRUE(brimlet::RightsGatePasses(c.build, true)) << c.build;
        EXPECT_EQ(brimlet::RightsGatePasses(c.build, false), !c.asks) << c.build;
    }
}

TEST(OsBuildNumber, VersionRecords)
{
    const struct {
        const char* name;
        VersionRecord version;
        std::uint32_t build;
    } cases[] = {
        {"98", Version(1, 4, 10, 0x040A07CE, " "), 409},
        {"98 no service text", Version(1, 4, 10, 0x040A07CE), 409},
        {"98 SE", Version(1, 4, 10, 0x040A08AE, " A "), 410},
        {"98 with a lower-case a", Version(1, 4, 10, 0x040A08AE, " a "), 409},
        {"Me", Version(1, 4, 90, 0x045A0BB8, " "), 420},
        {"95", Version(1, 4, 0, 0x040003B6, ""), 950},
        {"2000", Version(2, 5, 0, 2195, "Service Pack 4"), 2195},
        {"XP", Version(2, 5, 1, 2600, "Service Pack 3"), 2600},
        {"Vista", Version(2, 6, 0, 6000), 6000},
        {"7 high bits", Version(2, 6, 1, 0x00011DB1), 7601},
    };
    for (const auto& c : cases)
        EXPECT_EQ(brimlet::OsBuildNumber(c.version), c.build) << c.name;
}

TEST(EditionLine, NamesTheEdition)
{
    VersionRecord xp = Version(2, 5, 1, 2600, "Service Pack 3");
    xp.extended = true;
    xp.productType = 1;
    EXPECT_EQ(brimlet::EditionLine(xp, ""), "Microsoft Windows XP Professional Service Pack 3 (Build 2600)\n");
    xp.suiteMask = 0x0200;
    EXPECT_EQ(brimlet::EditionLine(xp, ""), "Microsoft Windows XP Personal Service Pack 3 (Build 2600)\n");

    VersionRecord server = Version(2, 5, 0, 2195, "");
    server.extended = true;
    server.productType = 3;
    server.suiteMask = 0x0002;
    EXPECT_EQ(brimlet::EditionLine(server, ""), "Microsoft Windows 2000 Advanced Server  (Build 2195)\n");

    // Only the basic record: the registry's product type, compared whatever its case.
    const VersionRecord nt4 = Version(2, 4, 0, 1381, "Service Pack 6");
    EXPECT_EQ(brimlet::EditionLine(nt4, "lanmanNT"), "Microsoft Windows NT Server version 4.0 Service Pack 6 (Build 1381)\n");
    EXPECT_EQ(brimlet::EditionLine(nt4, "WinNT"), "Microsoft Windows NT Professional version 4.0 Service Pack 6 (Build 1381)\n");

    EXPECT_EQ(brimlet::EditionLine(Version(1, 4, 10, 0, " A "), ""), "Microsoft Windows 98 SE \n");
    EXPECT_EQ(brimlet::EditionLine(Version(1, 4, 0, 950, " C"), ""), "Microsoft Windows 95 OSR2 \n");
    EXPECT_EQ(brimlet::EditionLine(Version(1, 4, 90, 0, " "), ""), "Microsoft Windows Me \n");
    EXPECT_EQ(brimlet::EditionLine(Version(0, 1, 30, 0), ""), "Microsoft Win32s \n");
}

TEST(ExeDirectory, ModulePaths)
{
    const std::string fits = "C:\\Temp\\RadAva\\Brimlet.exe";
    EXPECT_EQ(brimlet::ExeDirectoryFromModulePath(fits, fits.size(), 260, brimlet::NoLeadBytes), "C:\\Temp\\RadAva");

    // 259 characters and the terminator fill the buffer exactly: still whole.
    const std::string longest = "C:\\" + std::string(244, 'a') + "\\Brimlet.exe";
    ASSERT_EQ(longest.size(), 259u);
    EXPECT_EQ(brimlet::ExeDirectoryFromModulePath(longest, 259, 260, brimlet::NoLeadBytes),
              longest.substr(0, longest.size() - 12));
    // A path that filled the buffer was cut: no folder rather than a wrong one.
    const std::string cut = "C:\\" + std::string(257, 'a');
    EXPECT_FALSE(brimlet::ExeDirectoryFromModulePath(cut, 260, 260, brimlet::NoLeadBytes));
    EXPECT_FALSE(brimlet::ExeDirectoryFromModulePath("", 0, 260, brimlet::NoLeadBytes));
    EXPECT_FALSE(brimlet::ExeDirectoryFromModulePath("Brimlet.exe", 11, 260, brimlet::NoLeadBytes));

    // "C:\許\B.exe" in Big5: 許 is A5 5C, whose trail byte is not a folder separator.
    const std::string big5 = "C:\\\xA5\x5C\\B.exe";
    EXPECT_EQ(brimlet::ExeDirectoryFromModulePath(big5, big5.size(), 260, Big5Lead), "C:\\\xA5\x5C");
}

TEST(TitleFromProgramPath, TextBetweenTheLastBackslashAndTheLastDot)
{
    const struct {
        const char* path;
        const char* title;  // nullptr: no title
    } cases[] = {
        {"C:\\users\\me\\Temp\\RadAva\\Brimlet.exe", "Brimlet"},
        {"C:\\a.b\\Brimlet.v2.exe", "Brimlet.v2"},
        {"C:\\folder.x\\Brimlet", nullptr},  // the dot before the backslash does not count
        {"Brimlet.exe", nullptr},
        {"C:\\Temp\\.exe", ""},
        {"C:\\Temp\\Brimlet.", "Brimlet"},
    };
    for (const auto& c : cases) {
        const auto title = brimlet::TitleFromProgramPath(c.path, brimlet::NoLeadBytes);
        if (c.title == nullptr)
            EXPECT_FALSE(title) << c.path;
        else
            EXPECT_EQ(title, std::string(c.title)) << c.path;
    }
    // A Big5 name whose character ends in 0x5C: the whole name is the title.
    EXPECT_EQ(brimlet::TitleFromProgramPath("C:\\T\\\xA5\x5C.exe", Big5Lead), std::string("\xA5\x5C"));
    // Read byte by byte, the trail byte would end the folder part and leave an empty title.
    EXPECT_EQ(brimlet::TitleFromProgramPath("C:\\T\\\xA5\x5C.exe", brimlet::NoLeadBytes), std::string());
}

}  // namespace
