// core/sim/road_profile.h
// The machine the dispatcher's simulation flavour sees: the drives its probes reach, each a
// simulated drive of its own profile (letter, chip-query and device-information answers, image,
// command log), and the first hardware id of each present device, in device order. Test and
// demo support; never in a production program.
//
// Profile text: one `key = value` a line; lines starting with `#` and blank lines are ignored.
//   drive       = path of a drive profile (smi_controller.h); repeatable, one letter each
//   hardware_id = the device's first hardware id, verbatim (e.g. USB\VID_090C&PID_1000\0001);
//                 repeatable
// In a file loaded by LoadRoadProfile, relative paths resolve against the file's folder.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/sim/smi_controller.h"

namespace sim {

struct RoadProfile {
    std::vector<std::string> drivePaths;
    std::vector<std::string> hardwareIds;
};

// On failure the error names the line and the problem.
bool ParseRoadProfile(std::string_view text, RoadProfile& profile, std::string& error);

// The road profile and every drive profile it names; two drives at one letter are an error.
bool LoadRoadProfile(const std::string& path, RoadProfile& profile, std::vector<DriveProfile>& drives,
                     std::string& error);

}  // namespace sim
