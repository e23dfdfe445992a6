// quillet/simulation/road_simulation.cpp
// QuilletSim's machine: the drives its probes reach and the hardware ids of its present devices
// come from the road profile that QUILLET_SIM_PROFILE names (a Windows path; core/sim/
// road_profile.h gives its format). Without the variable the machine has no drives and no
// devices; a profile that does not load says why in a message box, and then has none either.
#include <windows.h>

#include <string>
#include <vector>

#include "core/sim/road_profile.h"
#include "platform/scsi/simulated_drives_port.h"
#include "platform/setupapi/simulated_device_list.h"

namespace {

constexpr char kRoadProfileVariable[] = "QUILLET_SIM_PROFILE";

struct Road {
    sim::RoadProfile profile;
    std::vector<sim::DriveProfile> drives;

    Road()
    {
        char path[MAX_PATH] = {};
        const DWORD length = ::GetEnvironmentVariableA(kRoadProfileVariable, path, sizeof path);
        if (length == 0 || length >= sizeof path)
            return;
        std::string error;
        if (!sim::LoadRoadProfile(path, profile, drives, error)) {
            ::MessageBoxA(nullptr, error.c_str(), "QuilletSim: road profile", MB_OK | MB_ICONERROR);
            profile = {};
            drives.clear();
        }
    }
};

Road& TheRoad()
{
    static Road road;
    return road;
}

class RoadDrives final : public SimulatedDrivesPort {
public:
    RoadDrives() : SimulatedDrivesPort(TheRoad().drives) {}
};

class RoadDevices final : public SimulatedDeviceList {
public:
    RoadDevices() : SimulatedDeviceList(TheRoad().profile.hardwareIds) {}
};

}  // namespace

DevicePort& GetDevicePort()
{
    static RoadDrives port;
    return port;
}

DeviceListPort& GetDeviceListPort()
{
    static RoadDevices port;
    return port;
}
