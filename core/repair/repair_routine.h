// core/repair/repair_routine.h
// What Sarrow's repair does to one opened drive, step by step: controller check, firmware upload
// with read-back compare when the drive carries the old firmware and a known flash chip, then
// layout and format. The Windows side opens the device, drives the dialog and shows the result.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "core/progress/progress_sink.h"
#include "core/smi/vendor_commands.h"
#include "core/timing/pause.h"

namespace repair {

// Values and string ids of the result box. The last two are ours: a drive whose writes fail, or
// whose capacity cannot hold a volume, must not end in the success box.
enum class RepairResult : int {
    Success = 0,            // 107 "Recovery Completed, Please Re-Plug The Flash Disk."
    OpenFailed = 1,         // 109 "Open Disk Failed!!"
    UnsupportedDevice = 3,  // 115 "Unsupported Device!!"
    IspWriteFailed = 9,     // 118 "ISP Write Failed!!"
    FormatFailed = 10,      // 110 "Format Failed!!"
    CapacityInvalid = 11,   // 112 "Invalid Disk Capacity!!"
};

int ResultStringId(RepairResult result);

constexpr std::string_view kSupportedModel = "SM325AB";
constexpr std::string_view kReplacedFirmware = "071228-AB-";
constexpr std::uint32_t kIspImageSize = 101360;
constexpr std::uint32_t kZeroFillSectors = 128;     // one 64 KiB WRITE(10)

// Flash chips (F0 20 bytes 32-35) for which the firmware upload is known to work.
extern const std::array<std::array<std::uint8_t, 4>, 12> kUploadFlashIdentifiers;
bool FlashQualifiesForUpload(smi::Answer flashInfo);

// Upload size of the controller class in 512-byte sectors; the upload goes out in banks of four.
std::uint32_t ComputeIspSize(std::string_view controllerModel, smi::Answer flashInfo);

// The routine's view of the opened drive and of the dialog around it.
class RepairPort {
public:
    // One vendor command into `answer` (dataLength bytes; null for none), or out of `data`. False
    // when the command failed; for the firmware bank write and read-back also when the drive
    // refused it (its SCSI status), while a query's result is the transport's alone.
    virtual bool VendorIn(const smi::VendorCommand& command, std::uint8_t* answer) = 0;
    virtual bool VendorOut(const smi::VendorCommand& command, const std::uint8_t* data) = 0;
    virtual bool WriteSectors(std::uint32_t firstSector, const std::uint8_t* data, std::uint32_t bytes) = 0;
    // The volume builder with the repair's fixed arguments (alignment 1, no label, inactive,
    // LUN 0, base 0); FAT32 above fat::kLargestFat16Device, else FAT12/16.
    virtual bool BuildVolume(std::uint32_t totalSectors) = 0;
    // Read when the format starts: the user may switch to Complete until then.
    virtual bool CompleteModeRequested() = 0;
    virtual void Debug(const char* line) = 0;

protected:
    ~RepairPort() = default;
};

// Steps from the identification to the end of the format. `image` is the firmware image.
RepairResult RepairOpenedDrive(RepairPort& port, progress::ProgressSink& progress, timing::Pause& pause,
                               std::span<const std::uint8_t> image);

// The builder the repair picks: FAT32 above 2 GiB, FAT12/16 up to there (both aligned).
bool UsesFat32(std::uint32_t totalSectors);

// Whether that builder can lay a volume on this total (0 cannot).
bool CanHoldVolume(std::uint32_t totalSectors);

// Capacity, optional zero fill, volume builder.
RepairResult LayoutAndFormat(RepairPort& port, progress::ProgressSink& progress);

// Zero-fill progress for the chunk that starts at `offset`: the share done, scaled to end below
// 95 so the builder's steps fill the rest. 64-bit: offset x 100 overflows 32 bits above 20 GiB.
int ZeroFillPosition(std::uint32_t offset, std::uint32_t total);

}  // namespace repair
