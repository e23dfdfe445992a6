// tests/native/fat/boot/boot_test_image.cpp
// Writes a disk image with Sarrow's volume builders for the boot tests, then applies the one
// change a test case needs (an active entry, another drive number, a lost signature ...).
//
//   boot_test_image IMAGE fat16|fat32 TOTAL_SECTORS [CHANGE ...]
//   CHANGE, applied in the order given:
//     active       partition entry 1 active (the FAT16 builder's active argument)
//     indicator=N  boot indicator of entry 1 set to N
//     start=N      first sector of entry 1 set to N
//     relocate=N   the volume's first sectors (all of a small volume, the system area of a large
//                  one) copied to sector N, and entry 1 and BPB_HiddSec moved there
//     backup       the boot sector copied six sectors on, where FAT32 keeps its backup
//     drive=N      BS_DrvNum of the boot sector set to N
//     stage=FILE   the 512 bytes of FILE written to reserved sector 12 (FAT32's second stage)
//     unsigned     the boot sector's 0x55AA signature cleared
#include "core/fat/volume_builder.h"
#include "tests/native/fat/fakes.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

class ImageFile : public fat::SectorDevice {
public:
    explicit ImageFile(int fd) : fd_(fd) {}

    bool WriteSector(std::uint32_t sector, const fat::Sector& data, std::uint8_t) override
    {
        return pwrite(fd_, data.data(), data.size(), Offset(sector)) == static_cast<ssize_t>(data.size());
    }

    bool ReadSector(std::uint32_t sector, fat::Sector& data, std::uint8_t) override
    {
        return pread(fd_, data.data(), data.size(), Offset(sector)) == static_cast<ssize_t>(data.size());
    }

private:
    static off_t Offset(std::uint32_t sector) { return static_cast<off_t>(sector) * fat::kSectorBytes; }
    int fd_;
};

std::uint32_t Number(const std::string& text)
{
    return static_cast<std::uint32_t>(std::strtoul(text.c_str(), nullptr, 0));
}

bool Patch(int fd, off_t offset, const void* bytes, std::size_t length)
{
    return pwrite(fd, bytes, length, offset) == static_cast<ssize_t>(length);
}

bool CopySector(int fd, std::uint32_t from, std::uint32_t to)
{
    fat::Sector sector;
    return pread(fd, sector.data(), sector.size(), static_cast<off_t>(from) * fat::kSectorBytes) ==
               static_cast<ssize_t>(sector.size()) &&
           Patch(fd, static_cast<off_t>(to) * fat::kSectorBytes, sector.data(), sector.size());
}

bool WriteFileSector(int fd, const char* path, std::uint32_t to)
{
    fat::Sector sector{};
    const int file = open(path, O_RDONLY);
    if (file < 0)
        return false;
    const bool read = ::read(file, sector.data(), sector.size()) == static_cast<ssize_t>(sector.size());
    close(file);
    return read && Patch(fd, static_cast<off_t>(to) * fat::kSectorBytes, sector.data(), sector.size());
}

constexpr std::uint32_t kRelocatedSectors = 65536;

bool Relocate(int fd, std::uint32_t from, std::uint32_t count, std::uint32_t to)
{
    const off_t end = (static_cast<off_t>(to) + count) * fat::kSectorBytes;
    if (ftruncate(fd, std::max(end, lseek(fd, 0, SEEK_END))) != 0)
        return false;
    for (std::uint32_t i = 0; i < count; ++i)
        if (!CopySector(fd, from + i, to + i))
            return false;
    return Patch(fd, 446 + 8, &to, 4) && Patch(fd, static_cast<off_t>(to) * fat::kSectorBytes + 28, &to, 4);
}

int Fail(const char* what)
{
    std::fprintf(stderr, "boot_test_image: %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4)
        return Fail("usage: IMAGE fat16|fat32 TOTAL_SECTORS [CHANGE ...]");
    const std::string kind = argv[2];
    const std::uint32_t total = Number(argv[3]);
    bool active = false;
    for (int i = 4; i < argc; ++i)
        active = active || std::string(argv[i]) == "active";

    const int fd = open(argv[1], O_RDWR | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ftruncate(fd, static_cast<off_t>(total) * fat::kSectorBytes) != 0)
        return Fail("cannot create the image");
    ImageFile image(fd);
    progress::UnseenProgress progress;
    const std::uint8_t noLabel[fat::kLabelRecordBytes] = {};
    bool built = false;
    if (kind == "fat16") {
        fat_test::RecordingPause pause;
        fat_test::RecordingDebug debug;
        built = fat::BuildFat16Volume(image, total, true, progress, noLabel, active, 0, 0, pause, debug);
    } else if (kind == "fat32") {
        built = fat::BuildFat32Volume(image, total, true, progress, noLabel, active, 0, 0);
    }
    if (!built)
        return Fail("the volume builder failed");

    // The partition starts where entry 1 says (on a little-endian host).
    std::uint32_t start = 0;
    std::uint32_t length = 0;
    if (pread(fd, &start, 4, 446 + 8) != 4 || pread(fd, &length, 4, 446 + 12) != 4)
        return Fail("cannot read the partition entry");

    for (int i = 4; i < argc; ++i) {
        const off_t bootSector = static_cast<off_t>(start) * fat::kSectorBytes;
        const off_t driveNumber = bootSector + (kind == "fat32" ? 64 : 36);
        const std::string change = argv[i];
        const std::size_t equals = change.find('=');
        const std::string name = change.substr(0, equals);
        const std::string argument = equals == std::string::npos ? "" : change.substr(equals + 1);
        const std::uint32_t value = Number(argument);
        const std::uint8_t byte = static_cast<std::uint8_t>(value);
        const std::uint8_t zeros[2] = {};
        bool ok = true;
        if (name == "active")
            continue;
        else if (name == "indicator")
            ok = Patch(fd, 446, &byte, 1);
        else if (name == "start")
            ok = Patch(fd, 446 + 8, &value, 4);
        else if (name == "relocate")
            ok = Relocate(fd, start, std::min<std::uint32_t>(length, kRelocatedSectors), value);
        else if (name == "backup")
            ok = CopySector(fd, start, start + 6);
        else if (name == "drive")
            ok = Patch(fd, driveNumber, &byte, 1);
        else if (name == "stage")
            ok = WriteFileSector(fd, argument.c_str(), start + 12);
        else if (name == "unsigned")
            ok = Patch(fd, bootSector + 510, zeros, 2);
        else
            return Fail(("unknown change " + change).c_str());
        if (!ok)
            return Fail(("cannot apply " + change).c_str());
        if (name == "start" || name == "relocate")
            start = value;
    }
    return close(fd) == 0 ? 0 : Fail("cannot close the image");
}
