// core/brimlet/startup_rules.h
// Brimlet's start-up decisions that need no Windows: who must be an administrator, which build
// number a version record stands for, the edition line, the program folder and the window title.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brimlet {

// What GetVersionEx reports, copied out of OSVERSIONINFO(EX)A.
struct VersionRecord {
    std::uint32_t platformId = 0;  // 0 Win32s, 1 Windows 9x, 2 NT
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t buildNumber = 0;
    std::string servicePack;       // szCSDVersion
    // Only in the extended record.
    bool extended = false;
    std::uint16_t suiteMask = 0;
    std::uint8_t productType = 0;  // 1 workstation, 2 domain controller, 3 server
};

constexpr std::uint32_t kWindows98Build = 409;
constexpr std::uint32_t kWindows98SecondEditionBuild = 410;
constexpr std::uint32_t kWindowsMeBuild = 420;
constexpr std::uint32_t kWindows2000Build = 2195;
constexpr std::uint32_t kWindowsXpBuild = 2600;
constexpr std::uint32_t kVistaBuild = 6000;

// 9x: 4.10 gives 410 for the second edition ('A' as second service-pack character), else 409;
// 4.90 gives 420. Everything else: the low 16 bits of the build number.
std::uint32_t OsBuildNumber(const VersionRecord& version);

// The diagnostic line naming the Windows edition. productTypeValue is the registry's
// ProductType text, consulted when only the basic record was available.
std::string EditionLine(const VersionRecord& version, std::string_view productTypeValue);

// Builds below Windows 2000 never test membership; the first Vista release (6000) runs without
// administrator rights as well.
bool RightsGateAsksForAdministrator(std::uint32_t build);
bool RightsGatePasses(std::uint32_t build, bool isAdministrator);

// A byte that starts a double-byte character in the running code page (Big5, GBK): its trail
// byte may be 0x5C, which must not be taken for a backslash.
using LeadBytePredicate = bool (*)(unsigned char);
bool NoLeadBytes(unsigned char);

// Offset of the last backslash that is a character of its own, or npos.
std::size_t LastBackslash(std::string_view path, LeadBytePredicate isLeadByte);

// The folder of the module path GetModuleFileName wrote: `length` characters (its result) into
// a buffer of `bufferSize`. Nothing when the call failed, when the path filled the buffer (and
// may be cut), or when it holds no backslash.
std::optional<std::string> ExeDirectoryFromModulePath(std::string_view buffer, std::uint32_t length,
                                                      std::uint32_t bufferSize, LeadBytePredicate isLeadByte);

// The window title a second start looks for: the program path's text after its last backslash
// and before the last dot that follows it. Nothing when either is missing.
std::optional<std::string> TitleFromProgramPath(std::string_view path, LeadBytePredicate isLeadByte);

}  // namespace brimlet
