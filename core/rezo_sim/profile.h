// core/rezo_sim/profile.h
// The device a simulating REZO.dll presents, as its profile describes it. Test and demo support
// only; the shipped library presents no device.
//
// Profile text: one `key = value` a line; `#` starts a comment; blank lines are ignored. A value
// may be written in double quotes to keep blanks or a '#'. Numbers are decimal or 0x-hex. Keys
// (all optional; the defaults describe a present, healthy UT165 drive):
//   present       = yes | no        REZO_DeviceExist's answer (default yes)
//   kind          = byte            REZO_GetDeviceKind's answer; 0 = not supported (default 1)
//   drives        = count           REZO_GetNumberOfDrive's answer (default 1)
//   chip_id       = 0-65535         REZO_GetChipID (default 355)
//   chip_version  = 0-65535         REZO_GetChipID (default 1)
//   description   = text, up to 255 characters (REZO_GetDeviceString)
//   firmware      = 1-31 characters, FFFFFF for a drive without firmware (REZO_GetFwVersion,
//                   default CS0650)
//   image0 .. image3 = the image REZO_GetUpdateFWFile names for family 0-3: a path inside the
//                   unpacked firmware tree "Boot\" beside the library, e.g. A2C\us.bin; empty
//                   for none (defaults A2C\us.bin, BCD\us.bin, FP\us.bin, U65\A0\us.bin)
//   progress_step = 1-100           percent the progress moves each step (default 5)
//   step_ms       = milliseconds between two steps (default 50)
//   finish_ms     = milliseconds the progress holds at 100 before the state turns final
//                   (default 200)
//   final_state   = byte            REZO_GetCurrentState once the repair has ended (default 0xFF)
//   error_code    = 32-bit          REZO_GetErrorCode once the repair has ended (default 0)
//   bad_blocks, total_blocks (32-bit), block_unit (16-bit)
//                                   REZO_GetBADBlockInfomation (defaults 12, 4096, 1)
//   removal       = none | during P | after | idle MS
//                   the device disappears when the progress reaches P percent, once the repair
//                   has ended, or MS milliseconds after the first REZO_CreateCUSBDevice (a
//                   removal while the program waits); the library then tells the program's
//                   windows (WM_DEVICECHANGE,
//                   DBT_DEVICEREMOVECOMPLETE), as Windows would. A repair goes on to the
//                   profile's end whether or not the device is still there. (default none)
//   log           = path of the call log (appended, one line per call; see call_log.h)
// A relative log path resolves against the profile's folder (ResolveProfilePaths).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace rezo_sim {

enum class Removal : std::uint8_t { None, During, After, Idle };

constexpr std::size_t kFamilyCount = 4;
constexpr std::size_t kMaxDescription = 255;
constexpr std::size_t kMaxFirmware = 31;

struct DeviceProfile {
    bool present = true;
    std::uint8_t kind = 1;
    std::uint32_t drives = 1;
    std::uint16_t chipId = 355;
    std::uint16_t chipVersion = 1;
    std::string description = "USBest UT165 USB Flash Disk";
    std::string firmware = "CS0650";
    std::array<std::string, kFamilyCount> images{"A2C\\us.bin", "BCD\\us.bin", "FP\\us.bin", "U65\\A0\\us.bin"};
    std::uint32_t progressStep = 5;
    std::uint32_t stepMilliseconds = 50;
    std::uint32_t finishMilliseconds = 200;
    std::uint8_t finalState = 0xFF;
    std::uint32_t errorCode = 0;
    std::uint32_t badBlocks = 12;
    std::uint32_t totalBlocks = 4096;
    std::uint16_t blockUnit = 1;
    Removal removal = Removal::None;
    std::uint32_t removalAt = 0;  // percent for During, milliseconds for Idle
    std::string logPath;
};

// Settings a line does not mention keep their values in `profile`. On failure `error` names the
// line and the problem, and `profile` may be partly updated.
bool ParseProfile(std::string_view text, DeviceProfile& profile, std::string& error);

// A relative log path becomes relative to `profileFolder` (which ends in a separator).
void ResolveProfilePaths(std::string_view profileFolder, DeviceProfile& profile);

}  // namespace rezo_sim
