// core/launch/windows_version.h
// Which Windows the launcher admits, from the answers of the version queries, and the line
// that describes the running Windows on standard output.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace launch {

// The launcher's classes of Windows (stored as a 32-bit integer).
enum class WindowsVersionClass : std::int32_t {
    NotDetermined = 0,  // neither the NT nor the 9x platform
    NtOther = 1,        // NT, a version this table does not list
    Windows9x = 2,      // Windows 95, 98, Me
    Nt52 = 3,           // Server 2003, XP x64
    Nt51 = 4,           // Windows XP
    Nt50 = 5,           // Windows 2000
    Nt4OrLower = 6,     // NT with major version 4 or lower
    Nt6 = 7,            // NT with major version 6, any minor version
};

// The platform ids of a version answer.
constexpr std::uint32_t kPlatformWindows9x = 1;
constexpr std::uint32_t kPlatformNt = 2;

// What one version query answered.
struct VersionAnswer {
    std::uint32_t platform = 0;
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
};

// The class from the first (short record) query, and the second (extended record, or short record
// when that failed; nullopt when both failed). A first query that failed leaves `current`.
WindowsVersionClass ClassifyWindowsVersion(WindowsVersionClass current,
                                           const std::optional<VersionAnswer>& first,
                                           const std::optional<VersionAnswer>& second);

// Only Windows XP and every NT 6.x version go on.
constexpr bool IsAdmittedWindows(WindowsVersionClass versionClass)
{
    return versionClass == WindowsVersionClass::Nt51 || versionClass == WindowsVersionClass::Nt6;
}

// The details of the running Windows for the diagnostic line.
struct VersionDetails {
    VersionAnswer version;
    std::uint32_t build = 0;
    std::string servicePack;   // e.g. "Service Pack 3"; may be empty
    std::string productType;   // the registry's ProductType: "WinNT", "ServerNT", "LanmanNT"; may be empty
};

// "Windows platform 2, version 5.1: Windows XP Workstation, Service Pack 3, build 2600".
std::string DescribeWindowsVersion(const VersionDetails& details);

}  // namespace launch
