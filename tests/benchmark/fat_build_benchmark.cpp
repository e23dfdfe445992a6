// tests/benchmark/fat_build_benchmark.cpp
// Builds a volume the way a repair does (FAT32 above 4,194,304 sectors, else FAT12/16) on a new
// sparse image through the simulated controller, and prints the command count, the wall time and
// the time per command. Image writes are included: the controller's file is flushed in the timing.
// REPEAT builds the same volume that many times over (the process clock of Windows ticks in
// about 16 ms steps; a few rounds make its figure meaningful).
//
//   fat_build_benchmark IMAGE SECTORS [REPEAT]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <sys/stat.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include "core/fat/geometry.h"
#include "core/fat/volume_builder.h"
#include "tests/native/fat/fakes.h"
#include "tests/native/fat/sim_sector_device.h"

namespace {

// User and system time of the process.
double ProcessSeconds()
{
#ifdef _WIN32
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto seconds = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
#else
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
#endif
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s IMAGE SECTORS [REPEAT] (IMAGE must not exist; it is created sparse)\n",
                     argv[0]);
        return 2;
    }
    const long repeat = argc == 4 ? std::strtol(argv[3], nullptr, 0) : 1;
    if (repeat < 1 || repeat > 1000) {
        std::fprintf(stderr, "REPEAT must be 1 to 1000\n");
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
    const std::uint32_t total = static_cast<std::uint32_t>(sectors);
    const bool fat32 = total > fat::kLargestFat16Device;
    bool built = true;
    std::uint64_t commandCount = 0;
    double wall = 0;
    double cpu = 0;
    for (long round = 0; round < repeat && built; ++round) {
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

        const double cpuStart = ProcessSeconds();
        const auto wallStart = std::chrono::steady_clock::now();
        built = fat32 ? fat::BuildFat32Volume(device, total, true, progress, nullptr, false, 0, 0)
                      : fat::BuildFat16Volume(device, total, true, progress, nullptr, false, 0, 0, pause, debug);
        built = controller.Flush() && built;
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
        cpu += std::max(0.0, ProcessSeconds() - cpuStart);
        commandCount += controller.TotalCommands();
    }

    const auto commands = static_cast<double>(commandCount);
    std::printf("volume:               %s, %llu sectors, %ld round(s), %s\n", fat32 ? "FAT32" : "FAT12/16", sectors,
                repeat, built ? "built" : "FAILED");
    std::printf("commands:             %llu\n", static_cast<unsigned long long>(commandCount));
    std::printf("wall time:            %.3f ms\n", wall * 1e3);
    std::printf("software time:        %.3f ms (process CPU, user and system)\n", cpu * 1e3);
    if (commands > 0) {
        std::printf("wall per command:     %.3f us\n", wall * 1e6 / commands);
        std::printf("software per command: %.3f us\n", cpu * 1e6 / commands);
    }
    return built ? 0 : 1;
}
