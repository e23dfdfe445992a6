// tests/windows/device/sim_drive_fixture.cpp
#include "sim_drive_fixture.h"

#include <cstdio>

#include "platform/scsi/sim_profile.h"

bool SimDriveFixture::Create(const char* name, const std::string& extra)
{
    char temp[MAX_PATH];
    if (!GetTempPathA(sizeof temp, temp))
        return false;
    folder = std::string(temp) + name + "-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    imagePath = folder + "\\drive.img";
    profilePath = folder + "\\drive.profile";
    DeleteFileA(imagePath.c_str());
    std::FILE* file = std::fopen(profilePath.c_str(), "w");
    if (!file)
        return false;
    std::fprintf(file, "image = drive.img\n%s\n", extra.c_str());
    std::fclose(file);
    return SetEnvironmentVariableA(kSimProfileVariable, profilePath.c_str()) != 0;
}
