// tests/benchmark/fat_build_benchmark.cpp
// Builds a volume the way a repair does (FAT32 above 4,194,304 sectors, else FAT12/16) on a new
// sparse image through the simulated controller, and prints the command count, the wall time and
// the time per command. Image writes are included: the controller's file is flushed in the timing.
//
//   fat_build_benchmark IMAGE SECTORS
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <sys/stat.h>

#include "core/fat/geometry.h"
#include "core/fat/volume_builder.h"
#include "tests/native/fat/fakes.h"
#include "tests/native/fat/sim_sector_device.h"

namespace {

double ProcessSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s IMAGE SECTORS (IMAGE must not exist; it is created sparse)\n", argv[0]);
        return 2;
    }
    const std::string image = argv[1];
    char* end = nullptr;
    const unsigned long long sectors = std::strtoull(argv[2], &end, 0);
    if (*end != '\0' || sectors == 0 || sectors > 0xFFFFFFFFull) {
        std::fprintf(stderr, "sector count must be 1 to 4294967295\n");
        return 2;
    }
    struct stat st {};
    if (::stat(image.c_str(), &st) == 0) {
        std::fprintf(stderr, "%s exists; remove it first\n", image.c_str());
        return 2;
    }

    sim::DriveProfile profile;
    profile.imagePath = image;
    profile.capacitySectors = sectors;
    sim::SmiController controller(profile);
    std::string error;
    if (!controller.Open(error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    fat_test::SimSectorDevice device(controller);
    fat_test::RecordingProgress progress;
    fat_test::RecordingPause pause;
    fat_test::RecordingDebug debug;
    const std::uint32_t total = static_cast<std::uint32_t>(sectors);
    const bool fat32 = total > fat::kLargestFat16Device;

    const double cpuStart = ProcessSeconds();
    const auto wallStart = std::chrono::steady_clock::now();
    const bool built = fat32 ? fat::BuildFat32Volume(device, total, true, progress, nullptr, false, 0, 0)
                             : fat::BuildFat16Volume(device, total, true, progress, nullptr, false, 0, 0, pause, debug);
    const bool flushed = controller.Flush();
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    const double cpu = ProcessSeconds() - cpuStart;

    const auto commands = static_cast<double>(controller.TotalCommands());
    std::printf("volume:             %s, %llu sectors, %s\n", fat32 ? "FAT32" : "FAT12/16", sectors,
                built && flushed ? "built" : "FAILED");
    std::printf("commands:           %llu\n", static_cast<unsigned long long>(controller.TotalCommands()));
    std::printf("wall time:          %.3f ms\n", wall * 1e3);
    std::printf("software time:      %.3f ms (process CPU, user and system)\n", cpu * 1e3);
    if (commands > 0) {
        std::printf("wall per command:   %.3f us\n", wall * 1e6 / commands);
        std::printf("software per command: %.3f us\n", cpu * 1e6 / commands);
    }
    return built && flushed ? 0 : 1;
}
