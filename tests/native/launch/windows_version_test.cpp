// Which Windows the launcher admits, from the answers of its two version queries.
#include "core/launch/windows_version.h"

#include <gtest/gtest.h>

namespace {

using launch::VersionAnswer;
using launch::WindowsVersionClass;
using Class = WindowsVersionClass;

constexpr VersionAnswer Nt(std::uint32_t major, std::uint32_t minor) { return {2, major, minor}; }

TEST(WindowsVersionClass, EveryEdgeOfTheTable)
{
    struct Case {
        const char* name;
        std::optional<VersionAnswer> first, second;
        Class expected;
    } cases[] = {
        {"XP", Nt(5, 1), Nt(5, 1), Class::Nt51},
        {"Vista", Nt(6, 0), Nt(6, 0), Class::Nt6},
        {"7", Nt(6, 1), Nt(6, 1), Class::Nt6},
        {"8", Nt(6, 2), Nt(6, 2), Class::Nt6},
        {"8.1", Nt(6, 3), Nt(6, 3), Class::Nt6},
        {"6.99", Nt(6, 99), Nt(6, 99), Class::Nt6},
        {"2000", Nt(5, 0), Nt(5, 0), Class::Nt50},
        {"2003", Nt(5, 2), Nt(5, 2), Class::Nt52},
        {"5.3", Nt(5, 3), Nt(5, 3), Class::NtOther},
        {"NT 4", Nt(4, 0), Nt(4, 0), Class::Nt4OrLower},
        {"NT 3.51", Nt(3, 51), Nt(3, 51), Class::Nt4OrLower},
        {"10 as itself", Nt(10, 0), Nt(10, 0), Class::NtOther},
        {"95", VersionAnswer{1, 4, 0}, VersionAnswer{1, 4, 0}, Class::Windows9x},
        {"98", VersionAnswer{1, 4, 10}, VersionAnswer{1, 4, 10}, Class::Windows9x},
        {"Me", VersionAnswer{1, 4, 90}, VersionAnswer{1, 4, 90}, Class::Windows9x},
        {"Win32s", VersionAnswer{0, 3, 10}, VersionAnswer{0, 3, 10}, Class::NotDetermined},
        {"CE", VersionAnswer{3, 5, 0}, VersionAnswer{3, 5, 0}, Class::NotDetermined},
        {"second query failed", Nt(5, 1), std::nullopt, Class::NtOther},
        {"both failed", std::nullopt, std::nullopt, Class::NotDetermined},
        {"first failed", std::nullopt, Nt(5, 1), Class::Nt51},
        {"first failed, 9x second", std::nullopt, VersionAnswer{1, 4, 10}, Class::NotDetermined},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(launch::ClassifyWindowsVersion(Class::NotDetermined, c.first, c.second), c.expected);
    }
}

TEST(WindowsVersionClass, AFailedFirstQueryKeepsTheCallersClass)
{
    EXPECT_EQ(launch::ClassifyWindowsVersion(Class::Windows9x, std::nullopt, std::nullopt), Class::Windows9x);
}

TEST(WindowsVersionClass, OnlyXpAndVersionSixAreAdmitted)
{
    for (int value = 0; value <= 7; ++value) {
        const auto c = static_cast<Class>(value);
        EXPECT_EQ(launch::IsAdmittedWindows(c), value == 4 || value == 7) << value;
    }
}

TEST(WindowsVersionDescription, NamesPlatformVersionProductEditionServicePackAndBuild)
{
    launch::VersionDetails xp{Nt(5, 1), 2600, "Service Pack 3", "WinNT"};
    EXPECT_EQ(launch::DescribeWindowsVersion(xp),
              "Windows platform 2, version 5.1: Windows XP Workstation, Service Pack 3, build 2600");
    launch::VersionDetails server{Nt(6, 1), 7601, "", "ServerNT"};
    EXPECT_EQ(launch::DescribeWindowsVersion(server),
              "Windows platform 2, version 6.1: Windows Server 2008 R2 Server, build 7601");
    launch::VersionDetails me{VersionAnswer{1, 4, 90}, 3000, " A ", ""};
    EXPECT_EQ(launch::DescribeWindowsVersion(me), "Windows platform 1, version 4.90: Windows Me,  A , build 3000");
}

}  // namespace
