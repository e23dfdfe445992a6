// tests/native/fat/sim_sector_device.h
// The builders' sector device over the simulated controller: one READ(10)/WRITE(10) of one
// sector per call, as Sarrow's sector I/O sends them. The LUN travels in the transport's
// record, not in the command block, so the simulator does not see it.
#pragma once

#include "core/fat/volume_builder.h"
#include "core/scsi/block_commands.h"
#include "core/sim/smi_controller.h"

namespace fat_test {

class SimSectorDevice : public fat::SectorDevice {
public:
    explicit SimSectorDevice(sim::SmiController& controller) : controller_(controller) {}

    bool WriteSector(std::uint32_t sector, const fat::Sector& data, std::uint8_t) override
    {
        out_ = data;  // the controller takes a mutable buffer for either direction
        return controller_.Execute(scsi::BlockCdb(scsi::kWrite10, sector, fat::kSectorBytes),
                                   scsi::kBlockCdbLength, scsi::Direction::Out, out_.data(), fat::kSectorBytes);
    }

    bool ReadSector(std::uint32_t sector, fat::Sector& data, std::uint8_t) override
    {
        return controller_.Execute(scsi::BlockCdb(scsi::kRead10, sector, fat::kSectorBytes),
                                   scsi::kBlockCdbLength, scsi::Direction::In, data.data(), fat::kSectorBytes);
    }

private:
    sim::SmiController& controller_;
    fat::Sector out_{};
};

}  // namespace fat_test
