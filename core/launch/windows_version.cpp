// core/launch/windows_version.cpp
#include "core/launch/windows_version.h"

namespace launch {

WindowsVersionClass ClassifyWindowsVersion(WindowsVersionClass current,
                                           const std::optional<VersionAnswer>& first,
                                           const std::optional<VersionAnswer>& second)
{
    if (first) {
        if (first->platform == kPlatformNt)
            current = WindowsVersionClass::NtOther;
        else if (first->platform == kPlatformWindows9x)
            current = WindowsVersionClass::Windows9x;
    }
    if (!second || second->platform != kPlatformNt)
        return current;
    if (second->major == 6)
        return WindowsVersionClass::Nt6;
    if (second->major == 5 && second->minor == 2)
        return WindowsVersionClass::Nt52;
    if (second->major == 5 && second->minor == 1)
        return WindowsVersionClass::Nt51;
    if (second->major == 5 && second->minor == 0)
        return WindowsVersionClass::Nt50;
    if (second->major <= 4)
        return WindowsVersionClass::Nt4OrLower;
    return current;
}

namespace {

std::string_view ProductName(const VersionAnswer& v, bool server)
{
    if (v.platform == kPlatformWindows9x) {
        if (v.major == 4 && v.minor == 0)
            return "Windows 95";
        if (v.major == 4 && v.minor == 10)
            return "Windows 98";
        if (v.major == 4 && v.minor == 90)
            return "Windows Me";
        return "Windows";
    }
    if (v.platform != kPlatformNt)
        return "an unknown platform";
    if (v.major <= 4)
        return "Windows NT";
    if (v.major == 5) {
        switch (v.minor) {
        case 0: return "Windows 2000";
        case 1: return "Windows XP";
        case 2: return server ? "Windows Server 2003" : "Windows XP x64";
        default: break;
        }
    }
    if (v.major == 6) {
        switch (v.minor) {
        case 0: return server ? "Windows Server 2008" : "Windows Vista";
        case 1: return server ? "Windows Server 2008 R2" : "Windows 7";
        case 2: return server ? "Windows Server 2012" : "Windows 8";
        case 3: return server ? "Windows Server 2012 R2" : "Windows 8.1";
        default: break;
        }
    }
    return "Windows NT";
}

std::string_view Edition(std::string_view productType)
{
    if (productType == "WinNT")
        return "Workstation";
    if (productType == "ServerNT")
        return "Server";
    if (productType == "LanmanNT")
        return "Domain Controller";
    return {};
}

}  // namespace

std::string DescribeWindowsVersion(const VersionDetails& details)
{
    const VersionAnswer& v = details.version;
    const std::string_view edition = Edition(details.productType);
    std::string text = "Windows platform " + std::to_string(v.platform) + ", version " +
                       std::to_string(v.major) + "." + std::to_string(v.minor) + ": ";
    text += ProductName(v, !edition.empty() && edition != "Workstation");
    if (!edition.empty()) {
        text += ' ';
        text += edition;
    }
    if (!details.servicePack.empty()) {
        text += ", ";
        text += details.servicePack;
    }
    text += ", build " + std::to_string(details.build);
    return text;
}

}  // namespace launch
