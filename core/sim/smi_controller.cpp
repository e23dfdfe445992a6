// core/sim/smi_controller.cpp
#include "core/sim/smi_controller.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "core/smi/vendor_commands.h"

namespace sim {

namespace {

using scsi::Direction;

constexpr std::uint32_t kMaxBlocks = scsi::kMaxTransferBytes / scsi::kSectorSize;
constexpr std::uint32_t kImageVersionOffset = 12;  // where an uploaded image carries its version
constexpr std::uint8_t kImageSignature[3] = {0x02, 0xF0, 0x5E};
constexpr std::uint8_t kWriteBankTrailer[3] = {0xE4, 0x24, 0x24};

bool ZeroBytes(const scsi::Cdb& cdb, std::size_t from, std::size_t to)
{
    for (std::size_t i = from; i < to; ++i) {
        if (cdb[i] != 0)
            return false;
    }
    return true;
}

// Fixed-width answer field: the text, then `pad` up to the width.
void PutText(std::uint8_t* answer, std::size_t offset, std::size_t width, std::string_view text, char pad)
{
    std::memset(answer + offset, pad, width);
    std::memcpy(answer + offset, text.data(), std::min(width, text.size()));
}

}  // namespace

SmiController::SmiController(DriveProfile profile)
    : profile_(std::move(profile)),
      firmwareArea_(std::make_unique<std::uint8_t[]>(kFirmwareAreaSize)),
      scratch_(std::make_unique<std::uint8_t[]>(scsi::kMaxTransferBytes)),
      firmwareVersion_(profile_.firmwareVersion)
{
}

SmiController::~SmiController()
{
    image_.Close();
    if (firmwareFile_)
        std::fclose(firmwareFile_);
    if (log_)
        std::fclose(log_);
}

bool SmiController::Open(std::string& error)
{
    if (open_) {
        error = "the drive is already open";
        return false;
    }
    if (profile_.capacitySectors > 0xFFFFFFFFu) {
        error = "capacity beyond 32-bit sector numbers";
        return false;
    }
    std::uint64_t minimumSize = profile_.capacitySectors * scsi::kSectorSize;
    if (profile_.capacitySectors == 0) {
        // A missing (empty) image becomes a fresh default-sized drive.
        std::FILE* probe = std::fopen(profile_.imagePath.c_str(), "rb");
        bool empty = true;
        if (probe) {
            empty = std::fgetc(probe) == EOF;
            std::fclose(probe);
        }
        minimumSize = empty ? kDefaultCapacity * scsi::kSectorSize : 0;
    }
    if (!image_.Open(profile_.imagePath, minimumSize, error))
        return false;
    const std::uint64_t sectors =
        profile_.capacitySectors != 0 ? profile_.capacitySectors : image_.Size() / scsi::kSectorSize;
    if (sectors > 0xFFFFFFFFu) {
        error = "image holds more sectors than 32-bit sector numbers reach";
        image_.Close();
        return false;
    }
    capacity_ = static_cast<std::uint32_t>(sectors);

    std::memset(firmwareArea_.get(), 0, kFirmwareAreaSize);
    firmwareVersion_ = profile_.firmwareVersion;
    if (!profile_.firmwareAreaPath.empty()) {
        firmwareFile_ = std::fopen(profile_.firmwareAreaPath.c_str(), "r+b");
        if (firmwareFile_) {
            const std::size_t got = std::fread(firmwareArea_.get(), 1, kFirmwareAreaSize, firmwareFile_);
            (void)got;  // a short file leaves the rest of the area zero
            // A drive that took an upload in an earlier run reports that image's version.
            if (std::memcmp(firmwareArea_.get(), kImageSignature, sizeof kImageSignature) == 0)
                firmwareVersion_.assign(reinterpret_cast<const char*>(firmwareArea_.get()) + kImageVersionOffset, 10);
        } else {
            firmwareFile_ = std::fopen(profile_.firmwareAreaPath.c_str(), "w+b");
            if (!firmwareFile_) {
                error = "cannot open firmware area file '" + profile_.firmwareAreaPath + "'";
                image_.Close();
                return false;
            }
        }
        if (std::fseek(firmwareFile_, 0, SEEK_SET) != 0
            || std::fwrite(firmwareArea_.get(), 1, kFirmwareAreaSize, firmwareFile_) != kFirmwareAreaSize
            || std::fflush(firmwareFile_) != 0) {
            error = "cannot write firmware area file '" + profile_.firmwareAreaPath + "'";
            image_.Close();
            return false;
        }
    }
    if (!profile_.commandLogPath.empty()) {
        log_ = std::fopen(profile_.commandLogPath.c_str(), "ab");  // LF lines on every system
        if (!log_) {
            error = "cannot open command log '" + profile_.commandLogPath + "'";
            image_.Close();
            return false;
        }
    }
    open_ = true;
    return true;
}

bool SmiController::Flush()
{
    std::lock_guard lock(mutex_);
    return image_.Flush();
}

std::uint32_t SmiController::CommandCount(CommandKind kind) const
{
    return counts_[static_cast<std::size_t>(kind)];
}

std::span<const std::uint8_t, kFirmwareAreaSize> SmiController::FirmwareArea() const
{
    return std::span<const std::uint8_t, kFirmwareAreaSize>(firmwareArea_.get(), kFirmwareAreaSize);
}

std::uint8_t SmiController::IspParameterM() const
{
    for (std::uint8_t i = 0; i < profile_.ispMBytes.size(); ++i) {
        if (profile_.ispMBytes[i] != 0)
            return i;
    }
    return 0;
}

CommandKind SmiController::Classify(const scsi::Cdb& cdb) const
{
    switch (cdb[0]) {
    case scsi::kInquiry: return CommandKind::Inquiry;
    case scsi::kRead10: return CommandKind::Read10;
    case scsi::kWrite10: return CommandKind::Write10;
    case 0xCA: return profile_.chipQueryReply ? CommandKind::ChipQuery : CommandKind::Unknown;
    case smi::kVendorIn:
        switch (cdb[1]) {
        case smi::kReadDeviceInfo: return CommandKind::DeviceInfo;
        case smi::kReadFirmwareInfo: return CommandKind::FirmwareInfo;
        case smi::kReadFlashInfo: return CommandKind::FlashInfo;
        case smi::kIspBegin: return CommandKind::IspBegin;
        case smi::kIspReadBank: return CommandKind::IspReadBank;
        case smi::kIspEnd: return CommandKind::IspEnd;
        default: return CommandKind::Unknown;
        }
    case smi::kVendorOut:
        return cdb[1] == smi::kIspWriteBank ? CommandKind::IspWriteBank : CommandKind::Unknown;
    default: return CommandKind::Unknown;
    }
}

bool SmiController::Validate(CommandKind kind, const scsi::Cdb& cdb, std::uint32_t cdbLength, Direction direction,
                             const std::uint8_t* data, std::uint32_t dataLength) const
{
    if (dataLength != 0 && data == nullptr)
        return false;
    const bool vendorLength = cdbLength == smi::kNtCdbLength || cdbLength == smi::kAspiCdbLength;
    const std::uint8_t n = profile_.ispN;
    const std::uint8_t m = IspParameterM();
    switch (kind) {
    case CommandKind::Inquiry:
        return cdbLength == scsi::kInquiryCdbLength && direction == Direction::In && dataLength != 0
               && dataLength == cdb[4] && ZeroBytes(cdb, 1, 4) && ZeroBytes(cdb, 5, 16);
    case CommandKind::Read10:
    case CommandKind::Write10: {
        if (cdbLength != scsi::kBlockCdbLength
            || direction != (kind == CommandKind::Read10 ? Direction::In : Direction::Out)
            || cdb[1] != 0 || cdb[6] != 0 || !ZeroBytes(cdb, 9, 16))
            return false;
        const std::uint32_t count = scsi::BlockCdbCount(cdb);
        const std::uint64_t first = scsi::BlockCdbSector(cdb);
        return count != 0 && count <= kMaxBlocks && dataLength == count * scsi::kSectorSize
               && first + count <= capacity_;
    }
    case CommandKind::ChipQuery:
        return vendorLength && direction == Direction::In && dataLength == smi::kAnswerSize && ZeroBytes(cdb, 1, 16);
    case CommandKind::Unknown:
        return false;
    default:
        break;
    }

    // The vendor set: byte 11 gives the length, bytes 12-15 are always zero.
    if (!vendorLength || dataLength != std::uint32_t{cdb[11]} * 512u || !ZeroBytes(cdb, 12, 16))
        return false;
    const Direction expected = kind == CommandKind::IspWriteBank ? Direction::Out : Direction::In;
    if (direction != expected)
        return false;
    switch (kind) {
    case CommandKind::DeviceInfo:
    case CommandKind::FirmwareInfo:
    case CommandKind::FlashInfo:
        return cdb[11] == 1 && ZeroBytes(cdb, 2, 11);
    case CommandKind::IspEnd:
        return cdb[11] == 0 && ZeroBytes(cdb, 2, 11) && ispActive_;
    case CommandKind::IspBegin:
        return cdb[11] == 1 && cdb[2] == 3 && cdb[3] == n && cdb[4] == 0 && cdb[5] == 0 && cdb[6] == m
               && ZeroBytes(cdb, 7, 11);
    case CommandKind::IspWriteBank:
        return cdb[11] == 5 && cdb[2] == 3 && cdb[3] == n && cdb[4] < kFirmwareBanks && cdb[5] == 0 && cdb[6] == m
               && cdb[7] == 7 && ZeroBytes(cdb, 8, 11) && ispActive_
               && std::memcmp(data + smi::kBankSize, kWriteBankTrailer, sizeof kWriteBankTrailer) == 0;
    case CommandKind::IspReadBank:
        return cdb[11] == 1 && cdb[2] == 3 && cdb[3] == n && cdb[4] < kFirmwareBanks && cdb[5] < 4 && cdb[6] == m
               && ZeroBytes(cdb, 7, 11) && ispActive_;
    default:
        return false;
    }
}

bool SmiController::FaultHits(CommandKind kind, std::uint32_t occurrence) const
{
    for (const CommandFault& fault : profile_.failures) {
        if (fault.kind == kind && (fault.occurrence == 0 || fault.occurrence == occurrence))
            return true;
    }
    return false;
}

bool SmiController::Perform(CommandKind kind, const scsi::Cdb& cdb, std::uint8_t* data, std::uint32_t dataLength)
{
    std::uint8_t* answer = scratch_.get();
    switch (kind) {
    case CommandKind::Inquiry: {
        std::memset(answer, 0, scsi::kInquiryLength);
        answer[1] = 0x80;  // removable medium
        answer[2] = 0x02;
        answer[3] = 0x02;
        answer[4] = scsi::kInquiryLength - 5;
        PutText(answer, 8, 8, profile_.vendorText, ' ');
        PutText(answer, 16, 16, profile_.productText, ' ');
        PutText(answer, 32, 4, "1100", ' ');
        if (profile_.inquiry == InquiryVariant::UpperSmi)
            std::memcpy(answer + 5, "SMI", 3);
        else if (profile_.inquiry == InquiryVariant::LowerSmi)
            std::memcpy(answer + 5, "smi", 3);
        else if (profile_.inquiry == InquiryVariant::ProductTemplate)
            PutText(answer, 8, smi::kInquiryProductTemplate.size(), smi::kInquiryProductTemplate, ' ');
        std::memcpy(data, answer, std::min(dataLength, scsi::kInquiryLength));
        if (dataLength > scsi::kInquiryLength)
            std::memset(data + scsi::kInquiryLength, 0, dataLength - scsi::kInquiryLength);
        return true;
    }
    case CommandKind::DeviceInfo:
        std::memset(data, 0, smi::kAnswerSize);
        data[8] = static_cast<std::uint8_t>(profile_.deviceIdentifier);
        data[9] = static_cast<std::uint8_t>(profile_.deviceIdentifier >> 8);
        PutText(data, 248, 8, profile_.vendorText, ' ');
        PutText(data, 256, 16, profile_.productText, ' ');
        return true;
    case CommandKind::FirmwareInfo:
        std::memset(data, 0, smi::kAnswerSize);
        PutText(data, 404, 10, firmwareVersion_, '\0');
        PutText(data, 430, 7, profile_.controllerModel, '\0');
        return true;
    case CommandKind::FlashInfo:
        std::memset(data, 0, smi::kAnswerSize);
        data[7] = profile_.ispN;
        data[20] = static_cast<std::uint8_t>(capacity_ >> 24);
        data[21] = static_cast<std::uint8_t>(capacity_ >> 16);
        data[22] = static_cast<std::uint8_t>(capacity_ >> 8);
        data[23] = static_cast<std::uint8_t>(capacity_);
        std::memcpy(data + 32, profile_.flashIdentifier.data(), 4);
        std::memcpy(data + 384, profile_.ispMBytes.data(), 16);
        return true;
    case CommandKind::ChipQuery:
        std::memset(data, 0, smi::kAnswerSize);
        std::memcpy(data, profile_.chipQueryReply->data(), profile_.chipQueryReply->size());
        return true;
    case CommandKind::IspBegin:
        std::memset(data, 0, smi::kAnswerSize);
        ispActive_ = true;
        banksWritten_ = 0;
        ispWriteFailed_ = false;
        return true;
    case CommandKind::IspWriteBank: {
        const std::uint32_t bank = cdb[4];
        std::memcpy(firmwareArea_.get() + smi::BankOffset(bank), data, smi::kBankSize);
        banksWritten_ |= std::uint64_t{1} << bank;
        PersistBank(bank);
        return true;
    }
    case CommandKind::IspReadBank: {
        const std::uint32_t bank = cdb[4];
        const std::uint32_t quarter = cdb[5];
        std::memcpy(data, firmwareArea_.get() + smi::QuarterOffset(bank, quarter), smi::kQuarterSize);
        if (const auto& bad = profile_.readBackCorruption; bad && bad->bank == bank && bad->offset / smi::kQuarterSize == quarter)
            data[bad->offset % smi::kQuarterSize] ^= 0xFF;
        return true;
    }
    case CommandKind::IspEnd:
        // A complete upload of an image that names its version changes what the drive reports.
        if (!ispWriteFailed_ && banksWritten_ == ~std::uint64_t{0}
            && std::memcmp(firmwareArea_.get(), kImageSignature, sizeof kImageSignature) == 0)
            firmwareVersion_.assign(reinterpret_cast<const char*>(firmwareArea_.get()) + kImageVersionOffset, 10);
        ispActive_ = false;
        return true;
    case CommandKind::Read10: {
        const std::uint64_t offset = std::uint64_t{scsi::BlockCdbSector(cdb)} * scsi::kSectorSize;
        if (!image_.Read(offset, answer, dataLength))
            return false;
        std::memcpy(data, answer, dataLength);
        return true;
    }
    case CommandKind::Write10: {
        if (profile_.ignoreWrites)
            return true;
        const std::uint64_t offset = std::uint64_t{scsi::BlockCdbSector(cdb)} * scsi::kSectorSize;
        return image_.Write(offset, data, dataLength);
    }
    default:
        return false;
    }
}

void SmiController::PersistBank(std::uint32_t bank)
{
    if (!firmwareFile_)
        return;
    const long offset = static_cast<long>(smi::BankOffset(bank));
    if (std::fseek(firmwareFile_, offset, SEEK_SET) == 0)
        std::fwrite(firmwareArea_.get() + offset, 1, smi::kBankSize, firmwareFile_);
    std::fflush(firmwareFile_);
}

bool SmiController::TouchesBadSectors(const scsi::Cdb& cdb) const
{
    const std::uint64_t first = scsi::BlockCdbSector(cdb);
    const std::uint64_t last = first + scsi::BlockCdbCount(cdb) - 1;
    for (const SectorRange& range : profile_.badSectors) {
        if (first <= range.last && range.first <= last)
            return true;
    }
    return false;
}

std::optional<scsi::SenseCode> SmiController::Refusal(CommandKind kind, const scsi::Cdb& cdb, std::uint32_t cdbLength,
                                                      Direction direction, const std::uint8_t* data,
                                                      std::uint32_t dataLength) const
{
    const bool sectors = kind == CommandKind::Read10 || kind == CommandKind::Write10;
    if (sectors && std::uint64_t{scsi::BlockCdbSector(cdb)} + scsi::BlockCdbCount(cdb) > capacity_)
        return scsi::kLbaOutOfRange;
    if (!Validate(kind, cdb, cdbLength, direction, data, dataLength))
        return kind == CommandKind::Unknown ? scsi::kInvalidOpcode : scsi::kInvalidFieldInCdb;
    if (kind == CommandKind::Write10 && profile_.writeProtected)
        return scsi::kWriteProtected;
    if (sectors && TouchesBadSectors(cdb))
        return kind == CommandKind::Read10 ? scsi::kUnrecoveredReadError : scsi::kWriteError;
    return std::nullopt;
}

namespace {

// What a drive says when a transfer or a command of that kind goes wrong inside it.
scsi::SenseCode FailureSense(CommandKind kind)
{
    switch (kind) {
    case CommandKind::Read10:
    case CommandKind::IspReadBank: return scsi::kUnrecoveredReadError;
    case CommandKind::Write10:
    case CommandKind::IspWriteBank: return scsi::kWriteError;
    default: return scsi::kAbortedCommand;
    }
}

CommandOutcome CheckCondition(scsi::SenseCode sense)
{
    CommandOutcome outcome;
    outcome.status = scsi::kStatusCheckCondition;
    outcome.sense = sense;
    return outcome;
}

}  // namespace

CommandOutcome SmiController::Submit(const scsi::Cdb& cdb, std::uint32_t cdbLength, Direction direction,
                                     std::uint8_t* data, std::uint32_t dataLength)
{
    std::lock_guard lock(mutex_);
    ++sequence_;
    const CommandKind kind = Classify(cdb);
    const std::uint32_t occurrence = ++counts_[static_cast<std::size_t>(kind)];

    // Gathered sector writes go out as soon as anything else happens, so a program that ends
    // without destroying the controller has its volume on disk by its last vendor command.
    // A flush that fails has lost writes already answered: this command reports it (a deferred
    // write error) in their place.
    const bool flushed = kind == CommandKind::Write10 || image_.Flush();

    CommandOutcome outcome;
    if (!open_ || (profile_.disappearAfter && sequence_ > *profile_.disappearAfter)) {
        outcome.answered = false;
    } else if (!flushed) {
        outcome = CheckCondition(scsi::kWriteError);
    } else if (const auto refusal = Refusal(kind, cdb, cdbLength, direction, data, dataLength)) {
        outcome = CheckCondition(*refusal);
    } else if (FaultHits(kind, occurrence)) {
        if (kind == CommandKind::IspWriteBank)
            ispWriteFailed_ = true;
        outcome = CheckCondition(FailureSense(kind));
    } else if (!Perform(kind, cdb, data, dataLength)) {
        outcome = CheckCondition(FailureSense(kind));
    }
    if (log_)
        Log(kind, cdb, cdbLength, dataLength, outcome);
    return outcome;
}

void SmiController::LogVolumeEvent(std::string_view event, bool ok)
{
    std::lock_guard lock(mutex_);
    if (!log_)
        return;
    char sequence[24] = {};
    std::to_chars(sequence, sequence + sizeof sequence - 1, sequence_);
    std::fprintf(log_, "%s %.*s - 0 %s\n", sequence, static_cast<int>(event.size()), event.data(), ok ? "ok" : "fail");
    std::fflush(log_);
}

void SmiController::Log(CommandKind kind, const scsi::Cdb& cdb, std::uint32_t cdbLength, std::uint32_t dataLength,
                        const CommandOutcome& outcome)
{
    char hex[2 * 16 + 1] = {};
    const std::uint32_t shown = std::min<std::uint32_t>(cdbLength, 16);
    static constexpr char kDigits[] = "0123456789ABCDEF";
    for (std::uint32_t i = 0; i < shown; ++i) {
        hex[2 * i] = kDigits[cdb[i] >> 4];
        hex[2 * i + 1] = kDigits[cdb[i] & 0x0F];
    }
    char sequence[24] = {};
    std::to_chars(sequence, sequence + sizeof sequence - 1, sequence_);
    // "ok"; or "fail" and why: the sense key, code and qualifier, or "gone".
    char result[24] = "ok";
    if (!outcome.answered)
        std::snprintf(result, sizeof result, "fail gone");
    else if (!outcome.Good())
        std::snprintf(result, sizeof result, "fail %02X/%02X/%02X", static_cast<unsigned>(outcome.sense.key),
                      static_cast<unsigned>(outcome.sense.asc), static_cast<unsigned>(outcome.sense.ascq));
    const std::string_view name = KindName(kind);
    std::fprintf(log_, "%s %.*s %s %u %s\n", sequence, static_cast<int>(name.size()), name.data(), hex,
                 static_cast<unsigned>(dataLength), result);
    std::fflush(log_);
}

}  // namespace sim
