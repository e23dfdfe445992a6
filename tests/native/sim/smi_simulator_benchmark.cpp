// Prints what one command costs the simulated controller: single-sector WRITE(10)s in the
// pattern of a FAT32 build (15,728 of them on an 8,000,000-sector drive), the same count
// scattered, 64 KiB zero-fill writes, and vendor reads. Run by hand; it checks nothing.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/sim/smi_controller.h"
#include "core/smi/vendor_commands.h"

namespace {

using Clock = std::chrono::steady_clock;

double MicrosecondsPer(Clock::time_point start, std::size_t commands)
{
    const auto elapsed = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    return elapsed / static_cast<double>(commands);
}

bool Write(sim::SmiController& drive, std::uint32_t sector, std::vector<std::uint8_t>& data)
{
    const auto bytes = static_cast<std::uint32_t>(data.size());
    return drive.Execute(scsi::BlockCdb(scsi::kWrite10, sector, bytes), scsi::kBlockCdbLength, scsi::Direction::Out,
                         data.data(), bytes);
}

bool Run(const sim::DriveProfile& profile)
{
    sim::SmiController drive(profile);
    std::string error;
    if (!drive.Open(error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }

    std::vector<std::uint8_t> sector(512, 0x5A);
    const std::size_t writes = 15'728;
    auto start = Clock::now();
    for (std::uint32_t i = 0; i < writes; ++i) {
        sector[0] = static_cast<std::uint8_t>(i);
        Write(drive, 32 + i, sector);
    }
    drive.Flush();
    std::printf("consecutive single-sector WRITE(10): %zu commands, %.3f us each (flush included)\n", writes,
                MicrosecondsPer(start, writes));

    start = Clock::now();
    for (std::uint32_t i = 0; i < writes; ++i)
        Write(drive, (i % 2 ? 4'000'000 : 32) + i, sector);  // every write lands elsewhere
    drive.Flush();
    std::printf("scattered single-sector WRITE(10): %zu commands, %.3f us each\n", writes,
                MicrosecondsPer(start, writes));

    std::vector<std::uint8_t> chunk(65536, 0);
    const std::size_t fills = 2'000;
    start = Clock::now();
    for (std::uint32_t i = 0; i < fills; ++i)
        Write(drive, i * 128, chunk);
    drive.Flush();
    std::printf("64 KiB WRITE(10): %zu commands, %.3f us each\n", fills, MicrosecondsPer(start, fills));

    std::vector<std::uint8_t> answer(512);
    const smi::VendorCommand flash = smi::ReadFlashInfo();
    const std::size_t reads = 100'000;
    start = Clock::now();
    for (std::size_t i = 0; i < reads; ++i)
        drive.Execute(flash.cdb, smi::kNtCdbLength, flash.direction, answer.data(), flash.dataLength);
    std::printf("F0 20 read: %zu commands, %.3f us each\n", reads, MicrosecondsPer(start, reads));
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string image = argc > 1 ? argv[1]
                                       : (std::filesystem::temp_directory_path() / "smi_sim_benchmark.img").string();
    std::error_code ignored;
    std::filesystem::remove(image, ignored);
    sim::DriveProfile profile;
    profile.imagePath = image;
    profile.capacitySectors = 8'000'000;
    const bool ran = Run(profile);
    std::filesystem::remove(image, ignored);
    return ran ? 0 : 1;
}
