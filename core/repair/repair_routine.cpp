// core/repair/repair_routine.cpp
#include "core/repair/repair_routine.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "core/fat/geometry.h"

namespace repair {

const std::array<std::array<std::uint8_t, 4>, 12> kUploadFlashIdentifiers = {{
    {0xAD, 0xDC, 0x84, 0x25},
    {0xAD, 0xD3, 0x14, 0xA5},
    {0xAD, 0xD5, 0x55, 0xA5},
    {0xEC, 0xD5, 0x14, 0xB6},
    {0xEC, 0xD5, 0x55, 0x25},
    {0xEC, 0xD5, 0x51, 0xA6},
    {0xEC, 0xD7, 0x55, 0xB6},
    {0xEC, 0xD3, 0x14, 0xA5},
    {0xEC, 0xD3, 0x51, 0x95},
    {0x89, 0xD5, 0x94, 0x3E},
    {0x89, 0xD3, 0x94, 0xA5},
    {0x89, 0xD7, 0xD5, 0x3E},
}};

int ResultStringId(RepairResult result)
{
    switch (result) {
    case RepairResult::Success: return 107;
    case RepairResult::OpenFailed: return 109;
    case RepairResult::UnsupportedDevice: return 115;
    case RepairResult::IspWriteFailed: return 118;
    case RepairResult::FormatFailed: return 110;
    case RepairResult::CapacityInvalid: return 112;
    }
    return 109;
}

bool FlashQualifiesForUpload(smi::Answer flashInfo)
{
    const auto identifier = smi::FlashIdentifier(flashInfo);
    return std::find(kUploadFlashIdentifiers.begin(), kUploadFlashIdentifiers.end(), identifier) !=
           kUploadFlashIdentifiers.end();
}

std::uint32_t ComputeIspSize(std::string_view controllerModel, smi::Answer)
{
    // The only controller class that reaches the upload.
    return controllerModel == kSupportedModel ? 256 : 0;
}

bool UsesFat32(std::uint32_t totalSectors) { return totalSectors > fat::kLargestFat16Device; }

bool CanHoldVolume(std::uint32_t totalSectors)
{
    const fat::VolumeLayout layout = UsesFat32(totalSectors) ? fat::Fat32Layout(totalSectors, true)
                                                             : fat::Fat16Layout(totalSectors, true);
    return fat::VolumeFits(layout);
}

int ZeroFillPosition(std::uint32_t offset, std::uint32_t total)
{
    if (total == 0)
        return 0;
    const std::uint64_t share = std::uint64_t{offset} * 100 / total;
    return static_cast<int>(static_cast<double>(share) * 0.95);
}

namespace {

using AnswerBuffer = std::array<std::uint8_t, smi::kAnswerSize>;

// Every answer buffer is cleared before its command, so a failed read reads as zeros.
void Read(RepairPort& port, const smi::VendorCommand& command, AnswerBuffer& answer)
{
    answer.fill(0);
    port.VendorIn(command, answer.data());
}

bool Upload(RepairPort& port, timing::Pause& pause, std::uint8_t n, std::uint8_t m,
            const std::vector<std::uint8_t>& upload)
{
    const std::uint32_t banks = static_cast<std::uint32_t>(upload.size() / smi::kBankSize);
    std::array<std::uint8_t, smi::kWriteBankBlockSize> block;
    for (std::uint32_t bank = 0; bank < banks; ++bank) {
        smi::BuildWriteBankBlock(std::span<const std::uint8_t, smi::kBankSize>(upload.data() + smi::BankOffset(bank),
                                                                                smi::kBankSize),
                                 block);
        // A bank the drive refuses ends the upload: nothing after it could verify.
        if (!port.VendorOut(smi::IspWriteBank(n, static_cast<std::uint8_t>(bank), m), block.data()))
            return false;
    }
    // Primed with the complement of what must come back: a read that delivers nothing fails the
    // compare, also over the image's zero tail.
    std::vector<std::uint8_t> readBack(upload.size());
    std::transform(upload.begin(), upload.end(), readBack.begin(),
                   [](std::uint8_t b) { return static_cast<std::uint8_t>(~b); });
    for (std::uint32_t bank = 0; bank < banks; ++bank)
        for (std::uint8_t quarter = 0; quarter < 4; ++quarter)
            if (!port.VendorIn(smi::IspReadBank(n, static_cast<std::uint8_t>(bank), quarter, m),
                               readBack.data() + smi::QuarterOffset(bank, quarter)))
                return false;  // a read-back the drive refuses verifies nothing
    if (readBack != upload)
        return false;
    port.VendorIn(smi::IspEnd(), nullptr);
    pause.Sleep(1000);
    return true;
}

}  // namespace

RepairResult RepairOpenedDrive(RepairPort& port, progress::ProgressSink& progress, timing::Pause& pause,
                               std::span<const std::uint8_t> image)
{
    AnswerBuffer answer;
    Read(port, smi::ReadDeviceInfo(), answer);  // the controller expects it first; not used

    Read(port, smi::ReadFirmwareInfo(), answer);
    const std::string_view model = smi::ControllerModel(answer);
    if (model != kSupportedModel)
        return RepairResult::UnsupportedDevice;

    const bool oldFirmware = smi::FirmwareVersion(answer) == kReplacedFirmware;
    if (oldFirmware) {
        Read(port, smi::ReadFlashInfo(), answer);
        if (FlashQualifiesForUpload(answer)) {
            const std::uint32_t banks = (ComputeIspSize(kSupportedModel, answer) + 3) / 4;
            std::vector<std::uint8_t> upload(std::size_t{banks} * smi::kBankSize, 0);
            std::copy_n(image.begin(), std::min(image.size(), upload.size()), upload.begin());

            Read(port, smi::ReadFlashInfo(), answer);
            const std::uint8_t n = smi::IspParameterN(answer);
            if (smi::IspParameterAllowsUpload(n)) {
                // A program without its image must not program the controller with zeros.
                if (image.size() != kIspImageSize)
                    return RepairResult::IspWriteFailed;
                const std::uint8_t m = smi::IspParameterM(answer);
                Read(port, smi::IspBegin(n, m), answer);
                if (!Upload(port, pause, n, m, upload))
                    return RepairResult::IspWriteFailed;
            }
        }
    }

    progress.SetPos(0, true);
    return LayoutAndFormat(port, progress);
}

RepairResult LayoutAndFormat(RepairPort& port, progress::ProgressSink& progress)
{
    AnswerBuffer answer;
    Read(port, smi::ReadFlashInfo(), answer);
    const std::uint32_t total = smi::TotalSectors(answer);

    char line[96];
    std::snprintf(line, sizeof line, "Total Sector : %d , CDROM : %d , Reserve:%d", static_cast<int>(total), 0, 0);
    port.Debug(line);

    // Also catches a failed flash read (0): a volume laid on a guessed size would be wrong.
    if (!CanHoldVolume(total))
        return RepairResult::CapacityInvalid;

    if (port.CompleteModeRequested()) {
        static const std::array<std::uint8_t, kZeroFillSectors * 512> zeros{};
        for (std::uint32_t offset = 0; offset < total; offset += kZeroFillSectors) {
            const std::uint32_t count = std::min(kZeroFillSectors, total - offset);
            if (!port.WriteSectors(offset, zeros.data(), count * 512))
                return RepairResult::FormatFailed;
            progress.SetPos(ZeroFillPosition(offset, total), true);
        }
    }

    return port.BuildVolume(total) ? RepairResult::Success : RepairResult::FormatFailed;
}

}  // namespace repair
