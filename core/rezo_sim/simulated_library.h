// core/rezo_sim/simulated_library.h
// What a simulating REZO.dll does for each of its functions, from a device profile: one
// instance per loaded library. The Win32 shell (rezo/simulating_library.cpp) forwards every
// export here with the caller's thread id and supplies the Environment.
//
// Threads: REZO_RunRepairDevice blocks its caller for the whole simulated repair while any
// other thread may call REZO_GetCurrentProgress and REZO_GetCurrentState (the dialog polls every
// 5 ms); progress, state and presence are atomics, the log and the handle list take a lock.
// The progress never moves backwards: 0, then step by step up to 100, which it holds for
// finish_ms before the state turns final.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/rezo_sim/call_log.h"
#include "core/rezo_sim/profile.h"
#include "core/sync/mutex.h"

namespace rezo_sim {

// The callers' buffer sizes (REZO.dll's interface).
constexpr std::size_t kDeviceStringSize = 256;
constexpr std::size_t kFwVersionSize = 32;
constexpr std::size_t kFwFilePathSize = 512;

constexpr std::uint32_t kFirstHandle = 0x10000001;
// REZO_GetCurrentState before a repair and while it runs.
constexpr std::uint8_t kStateIdle = 0x00;
constexpr std::uint8_t kStateRunning = 0x01;

class Environment {
public:
    // One whole line of the call log, without its line end. Called under the library's lock.
    virtual void WriteLogLine(std::string_view line) = 0;
    virtual void Sleep(std::uint32_t milliseconds) = 0;
    // The device has gone: tell the program's windows, as Windows would.
    virtual void AnnounceRemoval() = 0;
    // Call RemoveDevice after `milliseconds`, from wherever the environment likes.
    virtual void ScheduleRemoval(std::uint32_t milliseconds) = 0;

protected:
    ~Environment() = default;
};

class SimulatedLibrary {
public:
    // `firmwareFolder` ends in a backslash: the unpacked tree "Boot\" beside the library.
    SimulatedLibrary(DeviceProfile profile, std::string program, std::string firmwareFolder,
                     Environment& environment);

    // Each call takes the caller's thread id, which the log writes as a small number.
    std::uint32_t CreateDevice(std::uint32_t thread);
    void DestroyDevice(std::uint32_t thread, std::uint32_t handle);
    int DeviceExist(std::uint32_t thread, std::uint32_t handle);
    std::uint8_t GetDeviceKind(std::uint32_t thread, std::uint32_t handle, short* kind, short* subKind);
    int GetNumberOfDrive(std::uint32_t thread, std::uint32_t handle);
    void GetChipId(std::uint32_t thread, std::uint32_t handle, short* chipId, short* chipVersion);
    void SetCurrentDriveNumber(std::uint32_t thread, std::uint32_t handle, int drive);
    void GetDeviceString(std::uint32_t thread, std::uint32_t handle, char* text);
    void GetFwVersion(std::uint32_t thread, std::uint32_t handle, char* version);
    void GetUpdateFwFile(std::uint32_t thread, std::uint32_t handle, char* path, std::uint8_t family);
    // Blocks for the simulated repair. A second call while one runs is refused at once (1).
    int RunRepair(std::uint32_t thread, std::uint32_t handle, std::uint8_t mode);
    unsigned GetCurrentProgress(std::uint32_t thread, std::uint32_t handle);
    std::uint8_t GetCurrentState(std::uint32_t thread, std::uint32_t handle);
    void GetBadBlockInformation(std::uint32_t thread, std::uint32_t handle, std::uint32_t* bad,
                                std::uint32_t* total, std::uint16_t* unit);
    std::uint32_t GetErrorCode(std::uint32_t thread, std::uint32_t handle);

    // The device disappears (once); `why` goes into the log.
    void RemoveDevice(std::uint32_t thread, std::string_view why);
    // An event line of the library's own (a profile that did not load, ...).
    void LogEvent(std::uint32_t thread, std::string_view what);

    const DeviceProfile& Profile() const { return profile_; }
    bool RepairRunning() const { return running_; }

private:
    bool Known(std::uint32_t handle);
    void Log(std::uint32_t thread, std::string_view text);
    // Logs "<function>(<handle>[, <arguments>]) -> <result>", adding "(unknown handle)".
    void LogCall(std::uint32_t thread, std::string_view function, std::uint32_t handle,
                 std::string_view arguments, std::string_view result, bool known);

    const DeviceProfile profile_;
    const std::string program_;
    const std::string firmwareFolder_;
    Environment& environment_;
    ThreadNumbers threads_;

    core::Mutex mutex_;  // the log and the handles
    std::vector<std::uint32_t> handles_;
    std::uint32_t nextHandle_ = kFirstHandle;

    std::atomic<bool> present_;
    std::atomic<bool> running_{false};
    std::atomic<bool> ended_{false};
    std::atomic<std::uint32_t> progress_{0};
    std::atomic<std::uint8_t> state_{kStateIdle};
};

}  // namespace rezo_sim
