// core/sim/smi_controller.h
// A simulated Silicon Motion USB flash controller for tests and demos: it answers the SCSI
// commands the tools send (INQUIRY, the vendor set, READ(10), WRITE(10)) from a drive profile,
// stores sectors in an image file and the firmware area in memory (optionally in a file), and
// can be told to misbehave. Never linked into a production program.
//
// Profile text: one `key = value` a line; `#` starts a comment; blank lines are ignored. A value
// may be written in double quotes to keep blanks ("        "). Numbers are decimal or 0x-hex;
// byte lists are hex bytes separated by blanks ("EC D5 14 B6"). Keys (all optional):
//   image            = path of the sector image (read-write; created sparse when missing)
//   capacity         = capacity in sectors (default: image size / 512; a missing image is
//                      created with 524288 sectors, 256 MiB)
//   letter           = drive letter, A-Z (default F)
//   inquiry          = SMI | smi | template | none   (what INQUIRY bytes 5-29 carry; none is a
//                      foreign device; default SMI)
//   controller       = controller model, up to 7 characters (F0 04 bytes 430-436, SM325AB)
//   firmware         = firmware version, up to 10 characters (F0 04 bytes 404-413, 071228-AB-)
//   flash_id         = 4 bytes (F0 20 bytes 32-35, default EC D5 14 B6)
//   isp_n            = byte (F0 20 byte 7, default 0x01)
//   isp_m_bytes      = 16 bytes (F0 20 bytes 384-399, default all zero: m = 0)
//   vendor           = up to 8 characters (F0 02 bytes 248-255, blank-padded)
//   product          = up to 16 characters (F0 02 bytes 256-271, blank-padded)
//   device_id        = 16-bit number (F0 02 bytes 8-9, little-endian, default 0x3538)
//   chip_query_reply = up to 16 bytes; when given, the drive answers the 0xCA chip query with
//                      them (otherwise 0xCA is an unknown opcode)
//   firmware_area    = path of a file that keeps the 131072-byte firmware area between runs
//   log              = path of the command log (appended, one line per command)
//   fail             = KIND:K or KIND:all, repeatable: the K-th command (1-based) of that kind,
//                      or every one, fails. Kinds: inquiry device-info firmware-info flash-info
//                      isp-begin isp-write-bank isp-read-bank isp-end read10 write10 chip-query
//   readback_corrupt = BANK:OFFSET or last (bank 63, offset 2047): F0 0A returns that byte of
//                      the firmware area inverted
//   ignore_writes    = yes | no: WRITE(10) reports success but stores nothing
//   write_protect    = yes | no: WRITE(10) answers DATA PROTECT (write protected) and stores
//                      nothing, as a drive with its write-protect switch on
//   bad_sectors      = FIRST-LAST or SECTOR, repeatable: READ(10) and WRITE(10) that touch the
//                      range answer MEDIUM ERROR (unrecovered read error, write error)
//   volume_in_use    = yes | no: another program holds the drive's volume open, so locking it
//                      fails (the port's business; the drive only carries the setting)
//   disappear_after  = K: after K commands the drive is gone from the bus: later commands get
//                      no answer at all (the transport itself fails)
// A command the drive takes and refuses ends in CHECK CONDITION with sense data, as a real drive
// answers: the transports deliver it and report the status (see CommandOutcome). A `fail` fault
// answers MEDIUM ERROR for sector and bank transfers and ABORTED COMMAND otherwise; a malformed
// or unknown block answers ILLEGAL REQUEST.
// A firmware-area file that already holds an uploaded image (it starts 02 F0 5E) makes F0 04
// report that image's version (image bytes 12-21) instead of `firmware`, as a drive would after
// an upload in an earlier run.
// In a file loaded by LoadProfileFile, relative paths resolve against the file's folder.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/scsi/block_commands.h"
#include "core/scsi/command_status.h"
#include "core/sync/mutex.h"

namespace sim {

enum class CommandKind : std::uint8_t {
    Inquiry,
    DeviceInfo,
    FirmwareInfo,
    FlashInfo,
    IspBegin,
    IspWriteBank,
    IspReadBank,
    IspEnd,
    Read10,
    Write10,
    ChipQuery,
    Unknown,  // any other opcode or sub-command; always rejected
};
constexpr std::size_t kCommandKindCount = static_cast<std::size_t>(CommandKind::Unknown) + 1;

// "inquiry", "device-info", ... as the profile and the command log write them.
std::string_view KindName(CommandKind kind);
std::optional<CommandKind> KindFromName(std::string_view name);

enum class InquiryVariant : std::uint8_t {
    UpperSmi,         // "SMI" at bytes 5-7
    LowerSmi,         // "smi" at bytes 5-7
    ProductTemplate,  // "        USB MEMORY BAR" at bytes 8-29
    None,             // a foreign device
};

constexpr std::uint32_t kFirmwareAreaSize = 131072;  // 64 banks of 2048 bytes
constexpr std::uint32_t kFirmwareBanks = 64;
constexpr std::uint64_t kDefaultCapacity = 524288;   // 256 MiB

struct CommandFault {
    CommandKind kind = CommandKind::Inquiry;
    std::uint32_t occurrence = 0;  // 1-based; 0 means every command of the kind
};

struct ReadBackCorruption {
    std::uint32_t bank = kFirmwareBanks - 1;
    std::uint32_t offset = 2047;  // byte offset inside the bank
};

struct SectorRange {
    std::uint64_t first = 0;
    std::uint64_t last = 0;  // inclusive
};

struct DriveProfile {
    std::string imagePath;
    std::uint64_t capacitySectors = 0;  // 0: image size / 512 (or the default for a new image)
    char driveLetter = 'F';
    InquiryVariant inquiry = InquiryVariant::UpperSmi;
    std::string controllerModel = "SM325AB";
    std::string firmwareVersion = "071228-AB-";
    std::array<std::uint8_t, 4> flashIdentifier{0xEC, 0xD5, 0x14, 0xB6};
    std::uint8_t ispN = 0x01;
    std::array<std::uint8_t, 16> ispMBytes{};
    std::string vendorText = "SMI";
    std::string productText = "USB DISK";
    std::uint16_t deviceIdentifier = 0x3538;
    std::optional<std::vector<std::uint8_t>> chipQueryReply;
    std::string firmwareAreaPath;
    std::string commandLogPath;

    std::vector<CommandFault> failures;
    std::optional<ReadBackCorruption> readBackCorruption;
    bool ignoreWrites = false;
    bool writeProtected = false;
    std::vector<SectorRange> badSectors;
    bool volumeInUse = false;
    std::optional<std::uint64_t> disappearAfter;
};

// How the drive answered one command. `answered` is false when the drive is gone: nothing comes
// back, and the transport reports the failure itself. Otherwise `status` is the SCSI status, and
// with CHECK CONDITION `sense` says why.
struct CommandOutcome {
    bool answered = true;
    std::uint8_t status = scsi::kStatusGood;
    scsi::SenseCode sense{};

    bool Good() const { return answered && status == scsi::kStatusGood; }
    scsi::FixedSense SenseData() const
    {
        return status == scsi::kStatusCheckCondition ? scsi::MakeFixedSense(sense) : scsi::FixedSense{};
    }
};

// Settings that a line does not mention keep their current values in `profile`. On failure the
// error names the line and the problem; `profile` may then be partly updated.
bool ParseProfile(std::string_view text, DriveProfile& profile, std::string& error);
bool LoadProfileFile(const std::string& path, DriveProfile& profile, std::string& error);

// Sector storage: positioned reads and writes with 64-bit offsets, consecutive writes gathered
// into one buffer so that a stream of single-sector writes costs few system calls.
class ImageFile {
public:
    ImageFile() = default;
    ~ImageFile();
    ImageFile(const ImageFile&) = delete;
    ImageFile& operator=(const ImageFile&) = delete;

    bool Open(const std::string& path, std::uint64_t minimumSize, std::string& error);
    std::uint64_t Size() const { return size_; }
    bool Read(std::uint64_t offset, std::uint8_t* data, std::uint32_t length);
    bool Write(std::uint64_t offset, const std::uint8_t* data, std::uint32_t length);
    bool Flush();
    void Close();

private:
    bool RawRead(std::uint64_t offset, std::uint8_t* data, std::uint32_t length);
    bool RawWrite(std::uint64_t offset, const std::uint8_t* data, std::uint32_t length);

    int fd_ = -1;
    std::uint64_t size_ = 0;
    std::unique_ptr<std::uint8_t[]> pending_;
    std::uint64_t pendingOffset_ = 0;
    std::uint32_t pendingLength_ = 0;
};

class SmiController {
public:
    explicit SmiController(DriveProfile profile);
    ~SmiController();
    SmiController(const SmiController&) = delete;
    SmiController& operator=(const SmiController&) = delete;

    // Opens the image (and the firmware-area and log files when configured).
    bool Open(std::string& error);
    char DriveLetter() const { return profile_.driveLetter; }
    std::uint32_t CapacitySectors() const { return capacity_; }

    // One SCSI command as a transport carries it, and how the drive answered. A command that does
    // not end GOOD leaves a data-in buffer as it was. Commands from several threads are taken one
    // at a time, as the system's storage stack would hand them to a drive.
    CommandOutcome Submit(const scsi::Cdb& cdb, std::uint32_t cdbLength, scsi::Direction direction,
                          std::uint8_t* data, std::uint32_t dataLength);
    // The same, true when the command ended GOOD.
    bool Execute(const scsi::Cdb& cdb, std::uint32_t cdbLength, scsi::Direction direction,
                 std::uint8_t* data, std::uint32_t dataLength)
    {
        return Submit(cdb, cdbLength, direction, data, dataLength).Good();
    }

    // Port-level events on the drive's volume ("lock-volume", "dismount-volume", ...) go to the
    // command log beside the commands, with `ok` saying how they ended; they are no commands.
    void LogVolumeEvent(std::string_view event, bool ok);

    // Writes gathered sector data to the image; also done by every command other than WRITE(10)
    // and on destruction.
    bool Flush();

    std::uint32_t CommandCount(CommandKind kind) const;
    std::uint64_t TotalCommands() const { return sequence_; }
    std::span<const std::uint8_t, kFirmwareAreaSize> FirmwareArea() const;
    // What F0 04 reports now (changes after a good upload of an image with a version).
    std::string_view CurrentFirmwareVersion() const { return firmwareVersion_; }
    const DriveProfile& Profile() const { return profile_; }

private:
    CommandKind Classify(const scsi::Cdb& cdb) const;
    bool Validate(CommandKind kind, const scsi::Cdb& cdb, std::uint32_t cdbLength,
                  scsi::Direction direction, const std::uint8_t* data, std::uint32_t dataLength) const;
    std::optional<scsi::SenseCode> Refusal(CommandKind kind, const scsi::Cdb& cdb, std::uint32_t cdbLength,
                                           scsi::Direction direction, const std::uint8_t* data,
                                           std::uint32_t dataLength) const;
    bool Perform(CommandKind kind, const scsi::Cdb& cdb, std::uint8_t* data, std::uint32_t dataLength);
    bool FaultHits(CommandKind kind, std::uint32_t occurrence) const;
    bool TouchesBadSectors(const scsi::Cdb& cdb) const;
    void Log(CommandKind kind, const scsi::Cdb& cdb, std::uint32_t cdbLength, std::uint32_t dataLength,
             const CommandOutcome& outcome);
    std::uint8_t IspParameterM() const;
    void PersistBank(std::uint32_t bank);

    DriveProfile profile_;
    mutable core::Mutex mutex_;
    ImageFile image_;
    std::uint32_t capacity_ = 0;
    std::unique_ptr<std::uint8_t[]> firmwareArea_;
    std::unique_ptr<std::uint8_t[]> scratch_;  // one transfer, so a failed read leaves data alone
    std::string firmwareVersion_;
    std::FILE* firmwareFile_ = nullptr;
    std::FILE* log_ = nullptr;
    std::array<std::uint32_t, kCommandKindCount> counts_{};
    std::uint64_t sequence_ = 0;
    bool open_ = false;
    bool ispActive_ = false;
    std::uint64_t banksWritten_ = 0;  // bit b: bank b written in this session
    bool ispWriteFailed_ = false;
};

}  // namespace sim
