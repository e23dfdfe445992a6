// core/sim/road_profile.cpp
#include "core/sim/road_profile.h"

#include "core/settings/key_value.h"

namespace sim {

bool ParseRoadProfile(std::string_view text, RoadProfile& profile, std::string& error)
{
    const key_value::Syntax syntax{"no '='", false};
    return key_value::ReadLines(
        text, syntax,
        [&](std::string_view key, std::string_view value) -> std::string {
            if (value.empty())
                return std::string(key) + " has no value";
            if (key == "drive")
                profile.drivePaths.emplace_back(value);
            else if (key == "hardware_id")
                profile.hardwareIds.emplace_back(value);
            else
                return "unknown key '" + std::string(key) + "'";
            return {};
        },
        error);
}

bool LoadRoadProfile(const std::string& path, RoadProfile& profile, std::vector<DriveProfile>& drives,
                     std::string& error)
{
    std::string text;
    if (!key_value::ReadWholeFile(path, text)) {
        error = "cannot open road profile '" + path + "'";
        return false;
    }
    RoadProfile loaded;
    if (!ParseRoadProfile(text, loaded, error)) {
        error = path + ": " + error;
        return false;
    }
    const std::string folder = key_value::FolderOf(path);
    std::vector<DriveProfile> found;
    for (std::string& drivePath : loaded.drivePaths) {
        key_value::ResolveAgainst(folder, drivePath);
        DriveProfile drive;
        if (!LoadProfileFile(drivePath, drive, error))
            return false;
        for (const DriveProfile& other : found) {
            if (other.driveLetter == drive.driveLetter) {
                error = drivePath + ": a second drive at " + std::string(1, drive.driveLetter) + ":";
                return false;
            }
        }
        found.push_back(std::move(drive));
    }
    profile = std::move(loaded);
    drives = std::move(found);
    return true;
}

}  // namespace sim
