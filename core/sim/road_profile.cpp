// core/sim/road_profile.cpp
#include "core/sim/road_profile.h"

#include <fstream>
#include <sstream>

namespace sim {

namespace {

std::string_view Trim(std::string_view s)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool IsAbsolute(std::string_view path)
{
    return (!path.empty() && (path[0] == '/' || path[0] == '\\')) || (path.size() > 1 && path[1] == ':');
}

}  // namespace

bool ParseRoadProfile(std::string_view text, RoadProfile& profile, std::string& error)
{
    int number = 0;
    while (!text.empty()) {
        ++number;
        const std::size_t end = text.find('\n');
        std::string_view line = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.empty() || line[0] == '#')
            continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            error = "line " + std::to_string(number) + ": no '='";
            return false;
        }
        const std::string_view key = Trim(line.substr(0, equals));
        const std::string_view value = Trim(line.substr(equals + 1));
        if (value.empty()) {
            error = "line " + std::to_string(number) + ": " + std::string(key) + " has no value";
            return false;
        }
        if (key == "drive") {
            profile.drivePaths.emplace_back(value);
        } else if (key == "hardware_id") {
            profile.hardwareIds.emplace_back(value);
        } else {
            error = "line " + std::to_string(number) + ": unknown key '" + std::string(key) + "'";
            return false;
        }
    }
    return true;
}

bool LoadRoadProfile(const std::string& path, RoadProfile& profile, std::vector<DriveProfile>& drives,
                     std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open road profile '" + path + "'";
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    RoadProfile loaded;
    if (!ParseRoadProfile(text.str(), loaded, error)) {
        error = path + ": " + error;
        return false;
    }
    const std::size_t slash = path.find_last_of("/\\");
    const std::string folder = slash == std::string::npos ? std::string{} : path.substr(0, slash + 1);
    std::vector<DriveProfile> found;
    for (std::string& drivePath : loaded.drivePaths) {
        if (!IsAbsolute(drivePath))
            drivePath = folder + drivePath;
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
