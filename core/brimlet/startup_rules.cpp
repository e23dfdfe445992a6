// core/brimlet/startup_rules.cpp
#include "core/brimlet/startup_rules.h"

#include <cstdio>

namespace brimlet {

namespace {

constexpr std::uint32_t kPlatformWin32s = 0;
constexpr std::uint32_t kPlatformWindows9x = 1;
constexpr std::uint32_t kPlatformNt = 2;

constexpr std::uint8_t kNtWorkstation = 1;
constexpr std::uint8_t kNtServer = 3;
constexpr std::uint16_t kSuiteEnterprise = 0x0002;
constexpr std::uint16_t kSuiteDataCenter = 0x0080;
constexpr std::uint16_t kSuitePersonal = 0x0200;

char ServicePackLetter(const VersionRecord& version)
{
    return version.servicePack.size() > 1 ? version.servicePack[1] : '\0';
}

bool EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

}  // namespace

std::uint32_t OsBuildNumber(const VersionRecord& version)
{
    if (version.platformId == kPlatformWindows9x && version.major == 4) {
        if (version.minor == 10)
            return ServicePackLetter(version) == 'A' ? kWindows98SecondEditionBuild : kWindows98Build;
        if (version.minor == 90)
            return kWindowsMeBuild;
    }
    return version.buildNumber & 0xFFFF;
}

std::string EditionLine(const VersionRecord& version, std::string_view productTypeValue)
{
    std::string line;
    char tail[256];
    switch (version.platformId) {
    case kPlatformNt:
        if (version.major <= 4)
            line += "Microsoft Windows NT ";
        else if (version.major == 5 && version.minor == 0)
            line += "Microsoft Windows 2000 ";
        else if (version.major == 5 && version.minor == 1)
            line += "Microsoft Windows XP ";
        if (version.extended) {
            if (version.productType == kNtWorkstation)
                line += (version.suiteMask & kSuitePersonal) ? "Personal " : "Professional ";
            else if (version.productType == kNtServer)
                line += (version.suiteMask & kSuiteDataCenter)   ? "DataCenter Server "
                        : (version.suiteMask & kSuiteEnterprise) ? "Advanced Server "
                                                                  : "Server ";
        } else if (EqualNoCase(productTypeValue, "WINNT")) {
            line += "Professional ";
        } else if (EqualNoCase(productTypeValue, "LANMANNT")) {
            line += "Server ";
        } else if (EqualNoCase(productTypeValue, "SERVERNT")) {
            line += "Advanced Server ";
        }
        if (version.major <= 4)
            std::snprintf(tail, sizeof tail, "version %u.%u %s (Build %u)\n", static_cast<unsigned>(version.major),
                          static_cast<unsigned>(version.minor), version.servicePack.c_str(),
                          static_cast<unsigned>(version.buildNumber & 0xFFFF));
        else
            std::snprintf(tail, sizeof tail, "%s (Build %u)\n", version.servicePack.c_str(),
                          static_cast<unsigned>(version.buildNumber & 0xFFFF));
        line += tail;
        break;
    case kPlatformWindows9x:
        if (version.major == 4 && version.minor == 0) {
            line += "Microsoft Windows 95 ";
            if (ServicePackLetter(version) == 'C' || ServicePackLetter(version) == 'B')
                line += "OSR2 ";
        } else if (version.major == 4 && version.minor == 10) {
            line += "Microsoft Windows 98 ";
            if (ServicePackLetter(version) == 'A')
                line += "SE ";
        } else if (version.major == 4 && version.minor == 90) {
            line += "Microsoft Windows Me ";
        }
        line += "\n";
        break;
    case kPlatformWin32s:
        line += "Microsoft Win32s \n";
        break;
    default:
        line += "\n";
        break;
    }
    return line;
}

bool RightsGateAsksForAdministrator(std::uint32_t build)
{
    return build != kVistaBuild && build >= kWindows2000Build;
}

bool RightsGatePasses(std::uint32_t build, bool isAdministrator)
{
    return !RightsGateAsksForAdministrator(build) || isAdministrator;
}

bool NoLeadBytes(unsigned char)
{
    return false;
}

std::size_t LastBackslash(std::string_view path, LeadBytePredicate isLeadByte)
{
    std::size_t last = std::string_view::npos;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto byte = static_cast<unsigned char>(path[i]);
        if (isLeadByte(byte) && i + 1 < path.size()) {
            ++i;  // the trail byte is part of this character
            continue;
        }
        if (byte == '\\')
            last = i;
    }
    return last;
}

std::optional<std::string> ExeDirectoryFromModulePath(std::string_view buffer, std::uint32_t length,
                                                      std::uint32_t bufferSize, LeadBytePredicate isLeadByte)
{
    // GetModuleFileName answers the buffer size when the path did not fit (cut, perhaps without
    // its terminator).
    if (length == 0 || length >= bufferSize || length > buffer.size())
        return std::nullopt;
    const std::string_view path = buffer.substr(0, length);
    const std::size_t slash = LastBackslash(path, isLeadByte);
    if (slash == std::string_view::npos)
        return std::nullopt;
    return std::string(path.substr(0, slash));
}

std::optional<std::string> TitleFromProgramPath(std::string_view path, LeadBytePredicate isLeadByte)
{
    const std::size_t slash = LastBackslash(path, isLeadByte);
    if (slash == std::string_view::npos)
        return std::nullopt;
    const std::string_view name = path.substr(slash + 1);
    std::size_t dot = std::string_view::npos;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto byte = static_cast<unsigned char>(name[i]);
        if (isLeadByte(byte) && i + 1 < name.size()) {
            ++i;
            continue;
        }
        if (byte == '.')
            dot = i;
    }
    if (dot == std::string_view::npos)
        return std::nullopt;
    return std::string(name.substr(0, dot));
}

}  // namespace brimlet
