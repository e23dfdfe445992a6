// platform/scsi/simulation_port.cpp
// The simulation flavour: the same device layers, with the profile's drive behind the port.
#include "platform/scsi/simulated_port.h"

namespace {
class SimulationPort final : public SimulatedDevicePort {};
}  // namespace

DevicePort& GetDevicePort()
{
    static SimulationPort port;
    return port;
}
