// core/scsi/command_status.h
// How a drive says a command failed although the transport delivered it: the status byte of the
// command (GOOD or CHECK CONDITION, ...) and the sense data that comes with a CHECK CONDITION.
// Windows' pass-through and ASPI both complete such a command normally and leave these two to
// the caller; the simulated drive answers with them the same way.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace scsi {

enum Status : std::uint8_t {
    kStatusGood = 0x00,
    kStatusCheckCondition = 0x02,
    kStatusBusy = 0x08,
};

enum class SenseKey : std::uint8_t {
    NoSense = 0x0,
    RecoveredError = 0x1,
    NotReady = 0x2,
    MediumError = 0x3,
    HardwareError = 0x4,
    IllegalRequest = 0x5,
    UnitAttention = 0x6,
    DataProtect = 0x7,
    AbortedCommand = 0xB,
};

// Fixed-format sense data (response code 70h), as drives of this kind report it.
constexpr std::size_t kFixedSenseLength = 18;
using FixedSense = std::array<std::uint8_t, kFixedSenseLength>;

struct SenseCode {
    SenseKey key = SenseKey::NoSense;
    std::uint8_t asc = 0;   // additional sense code
    std::uint8_t ascq = 0;  // its qualifier
};

// The conditions the tools meet, as drives report them.
constexpr SenseCode kWriteProtected{SenseKey::DataProtect, 0x27, 0x00};
constexpr SenseCode kUnrecoveredReadError{SenseKey::MediumError, 0x11, 0x00};
constexpr SenseCode kWriteError{SenseKey::MediumError, 0x0C, 0x00};
constexpr SenseCode kInvalidOpcode{SenseKey::IllegalRequest, 0x20, 0x00};
constexpr SenseCode kInvalidFieldInCdb{SenseKey::IllegalRequest, 0x24, 0x00};
constexpr SenseCode kLbaOutOfRange{SenseKey::IllegalRequest, 0x21, 0x00};
constexpr SenseCode kAbortedCommand{SenseKey::AbortedCommand, 0x00, 0x00};

FixedSense MakeFixedSense(SenseCode code);

// The sense code that `sense` carries, in fixed (70h, 71h) or descriptor (72h, 73h) format;
// nothing when the bytes hold no sense data (all zero, or too short to say).
std::optional<SenseCode> ReadSense(std::span<const std::uint8_t> sense);

// Whether a command the transport delivered did what it was asked: status GOOD, and no sense data
// that reports an error (NO SENSE and RECOVERED ERROR report none).
bool CommandSucceeded(std::uint8_t status, std::span<const std::uint8_t> sense);

}  // namespace scsi
