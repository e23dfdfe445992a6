// tests/windows/device/sim_drive_fixture.h
// A fresh simulated drive for a test program: a small image and its profile in a folder of its
// own under the temporary directory, named to the programs by SARROW_SIM_PROFILE.
#pragma once

#include <windows.h>

#include <string>

struct SimDriveFixture {
    std::string folder;
    std::string profilePath;
    std::string imagePath;

    // Writes the profile (`extra` lines are appended) and sets the environment variable.
    bool Create(const char* name, const std::string& extra);
};
