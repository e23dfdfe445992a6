// platform/scsi/sim_profile.h
// Where the simulation flavour and the test wnaspi32.dll find their simulated drive: the profile
// file named by the environment variable SARROW_SIM_PROFILE (a Windows path, e.g.
// Z:\...\drive.profile), or else "sim-drive.profile" beside the module (the exe or the DLL).
// The profile format is core/sim's (core/sim/smi_controller.h). Test and demo support only.
#pragma once

#include <windows.h>

#include <string>

#include "core/sim/smi_controller.h"

constexpr char kSimProfileVariable[] = "SARROW_SIM_PROFILE";
constexpr char kSimProfileFileName[] = "sim-drive.profile";

// False when there is no profile (then `error` is empty) or it does not load (`error` says why).
bool FindSimProfile(HMODULE module, sim::DriveProfile& profile, std::string& path,
                    std::string& error);
