// core/scsi/command_status.cpp
#include "core/scsi/command_status.h"

namespace scsi {

FixedSense MakeFixedSense(SenseCode code)
{
    FixedSense sense{};
    sense[0] = 0x70;  // current error, fixed format
    sense[2] = static_cast<std::uint8_t>(code.key);
    sense[7] = kFixedSenseLength - 8;  // additional sense length
    sense[12] = code.asc;
    sense[13] = code.ascq;
    return sense;
}

std::optional<SenseCode> ReadSense(std::span<const std::uint8_t> sense)
{
    if (sense.empty())
        return std::nullopt;
    const std::uint8_t response = sense[0] & 0x7F;
    if ((response == 0x70 || response == 0x71) && sense.size() >= 3) {
        SenseCode code{static_cast<SenseKey>(sense[2] & 0x0F)};
        if (sense.size() >= 14) {
            code.asc = sense[12];
            code.ascq = sense[13];
        }
        return code;
    }
    if ((response == 0x72 || response == 0x73) && sense.size() >= 2) {
        SenseCode code{static_cast<SenseKey>(sense[1] & 0x0F)};
        if (sense.size() >= 4) {
            code.asc = sense[2];
            code.ascq = sense[3];
        }
        return code;
    }
    return std::nullopt;
}

bool CommandSucceeded(std::uint8_t status, std::span<const std::uint8_t> sense)
{
    if (status != kStatusGood)
        return false;
    const std::optional<SenseCode> code = ReadSense(sense);
    return !code || code->key == SenseKey::NoSense || code->key == SenseKey::RecoveredError;
}

}  // namespace scsi
