// platform/scsi/production_port.cpp
// The production programs reach devices through Win32 only.
#include "platform/scsi/device_port.h"

namespace {
class ProductionPort final : public Win32DevicePort {};
}  // namespace

DevicePort& GetDevicePort()
{
    static ProductionPort port;
    return port;
}
