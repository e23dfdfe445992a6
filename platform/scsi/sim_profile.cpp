// platform/scsi/sim_profile.cpp
#include "platform/scsi/sim_profile.h"

bool FindSimProfile(HMODULE module, sim::DriveProfile& profile, std::string& path,
                    std::string& error)
{
    error.clear();
    char text[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA(kSimProfileVariable, text, sizeof text);
    if (length > 0 && length < sizeof text) {
        path = text;
    } else {
        const DWORD size = GetModuleFileNameA(module, text, sizeof text);
        if (size == 0 || size >= sizeof text)
            return false;
        path = text;
        const std::size_t slash = path.find_last_of("\\/");
        path = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) +
               kSimProfileFileName;
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
            return false;
    }
    return sim::LoadProfileFile(path, profile, error);
}
