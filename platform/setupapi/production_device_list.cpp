// platform/setupapi/production_device_list.cpp
// The production programs list the devices Windows has.
#include "platform/setupapi/device_list_port.h"

namespace {
class ProductionDeviceList final : public Win32DeviceListPort {};
}  // namespace

DeviceListPort& GetDeviceListPort()
{
    static ProductionDeviceList port;
    return port;
}
