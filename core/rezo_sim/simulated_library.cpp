// core/rezo_sim/simulated_library.cpp
#include "core/rezo_sim/simulated_library.h"

#include <algorithm>
#include <cstring>
#include <mutex>

namespace rezo_sim {

namespace {

// Copies text and its terminator into a caller's buffer of `size` bytes, cut to fit.
void CopyOut(char* buffer, std::size_t size, std::string_view text)
{
    if (!buffer || size == 0)
        return;
    const std::size_t length = std::min(text.size(), size - 1);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

}  // namespace

SimulatedLibrary::SimulatedLibrary(DeviceProfile profile, std::string program, std::string firmwareFolder,
                                   Environment& environment)
    : profile_(std::move(profile)),
      program_(std::move(program)),
      firmwareFolder_(std::move(firmwareFolder)),
      environment_(environment),
      present_(profile_.present)
{
}

bool SimulatedLibrary::Known(std::uint32_t handle)
{
    std::lock_guard<core::Mutex> lock(mutex_);
    return std::find(handles_.begin(), handles_.end(), handle) != handles_.end();
}

void SimulatedLibrary::Log(std::uint32_t thread, std::string_view text)
{
    const unsigned number = threads_.NumberOf(thread);
    std::lock_guard<core::Mutex> lock(mutex_);
    environment_.WriteLogLine(FormatLogLine(program_, number, text));
}

void SimulatedLibrary::LogCall(std::uint32_t thread, std::string_view function, std::uint32_t handle,
                               std::string_view arguments, std::string_view result, bool known)
{
    std::string text(function);
    text += '(';
    text += FormatHandle(handle);
    if (!arguments.empty()) {
        text += ", ";
        text += arguments;
    }
    text += ") -> ";
    text += result;
    if (!known)
        text += " (unknown handle)";
    Log(thread, text);
}

void SimulatedLibrary::LogEvent(std::uint32_t thread, std::string_view what)
{
    Log(thread, "event " + std::string(what));
}

std::uint32_t SimulatedLibrary::CreateDevice(std::uint32_t thread)
{
    std::uint32_t handle = 0;
    {
        std::lock_guard<core::Mutex> lock(mutex_);
        handle = nextHandle_++;
        handles_.push_back(handle);
    }
    Log(thread, "REZO_CreateCUSBDevice() -> " + FormatHandle(handle));
    if (profile_.removal == Removal::Idle && handle == kFirstHandle)
        environment_.ScheduleRemoval(profile_.removalAt);
    return handle;
}

void SimulatedLibrary::DestroyDevice(std::uint32_t thread, std::uint32_t handle)
{
    bool known = false;
    {
        std::lock_guard<core::Mutex> lock(mutex_);
        const auto found = std::find(handles_.begin(), handles_.end(), handle);
        known = found != handles_.end();
        if (known)
            handles_.erase(found);
    }
    LogCall(thread, "REZO_DestroyCUSBDevice", handle, {}, "done", known);
}

int SimulatedLibrary::DeviceExist(std::uint32_t thread, std::uint32_t handle)
{
    const bool known = Known(handle);
    const int result = known && present_ ? 1 : 0;
    LogCall(thread, "REZO_DeviceExist", handle, {}, std::to_string(result), known);
    return result;
}

std::uint8_t SimulatedLibrary::GetDeviceKind(std::uint32_t thread, std::uint32_t handle, short* kind, short* subKind)
{
    const bool known = Known(handle);
    std::uint8_t result = 0;
    std::string outputs;
    if (known && present_) {
        result = profile_.kind;
        if (kind)
            *kind = static_cast<short>(profile_.chipId);
        if (subKind)
            *subKind = static_cast<short>(profile_.chipVersion);
        outputs = " kind=" + std::to_string(profile_.chipId) + " subKind=" + std::to_string(profile_.chipVersion);
    }
    LogCall(thread, "REZO_GetDeviceKind", handle, {}, std::to_string(result) + outputs, known);
    return result;
}

int SimulatedLibrary::GetNumberOfDrive(std::uint32_t thread, std::uint32_t handle)
{
    const bool known = Known(handle);
    const int result = known && present_ ? static_cast<int>(profile_.drives) : 0;
    LogCall(thread, "REZO_GetNumberOfDrive", handle, {}, std::to_string(result), known);
    return result;
}

void SimulatedLibrary::GetChipId(std::uint32_t thread, std::uint32_t handle, short* chipId, short* chipVersion)
{
    const bool known = Known(handle);
    if (known) {
        if (chipId)
            *chipId = static_cast<short>(profile_.chipId);
        if (chipVersion)
            *chipVersion = static_cast<short>(profile_.chipVersion);
    }
    LogCall(thread, "REZO_GetChipID", handle, {},
            known ? "chipId=" + std::to_string(profile_.chipId) + " chipVersion=" + std::to_string(profile_.chipVersion)
                  : "nothing",
            known);
}

void SimulatedLibrary::SetCurrentDriveNumber(std::uint32_t thread, std::uint32_t handle, int drive)
{
    LogCall(thread, "REZO_SetCurrentDriveNumber", handle, "drive=" + std::to_string(drive), "done", Known(handle));
}

void SimulatedLibrary::GetDeviceString(std::uint32_t thread, std::uint32_t handle, char* text)
{
    const bool known = Known(handle);
    if (known)
        CopyOut(text, kDeviceStringSize, profile_.description);
    LogCall(thread, "REZO_GetDeviceString", handle, {}, known ? Quote(profile_.description) : "nothing", known);
}

void SimulatedLibrary::GetFwVersion(std::uint32_t thread, std::uint32_t handle, char* version)
{
    const bool known = Known(handle);
    if (known)
        CopyOut(version, kFwVersionSize, profile_.firmware);
    LogCall(thread, "REZO_GetFwVersion", handle, {}, known ? Quote(profile_.firmware) : "nothing", known);
}

void SimulatedLibrary::GetUpdateFwFile(std::uint32_t thread, std::uint32_t handle, char* path, std::uint8_t family)
{
    const bool known = Known(handle);
    std::string image;
    if (family < kFamilyCount && !profile_.images[family].empty())
        image = firmwareFolder_ + profile_.images[family];
    // A path the caller's buffer cannot hold whole is no path.
    if (image.size() >= kFwFilePathSize)
        image.clear();
    if (known)
        CopyOut(path, kFwFilePathSize, image);
    LogCall(thread, "REZO_GetUpdateFWFile", handle, "family=" + std::to_string(family),
            known ? Quote(image) : "nothing", known);
}

int SimulatedLibrary::RunRepair(std::uint32_t thread, std::uint32_t handle, std::uint8_t mode)
{
    const std::string arguments = "mode=" + FormatHex(mode);
    if (!Known(handle)) {
        LogCall(thread, "REZO_RunRepairDevice", handle, arguments, "1", false);
        return 1;
    }
    bool idle = false;
    if (!running_.compare_exchange_strong(idle, true)) {
        LogCall(thread, "REZO_RunRepairDevice", handle, arguments, "refused: a repair is running", true);
        return 1;
    }
    ended_ = false;
    progress_ = 0;
    state_ = kStateRunning;
    LogCall(thread, "REZO_RunRepairDevice", handle, arguments, "running", true);

    std::uint32_t progress = 0;
    while (progress < 100) {
        environment_.Sleep(profile_.stepMilliseconds);
        progress = std::min<std::uint32_t>(progress + profile_.progressStep, 100);
        // Gone before the progress shows: whoever reads the progress it went at reads it gone.
        if (profile_.removal == Removal::During && progress >= profile_.removalAt)
            RemoveDevice(thread, "during the repair at " + std::to_string(progress) + "%");
        progress_ = progress;
    }
    environment_.Sleep(profile_.finishMilliseconds);
    ended_ = true;
    state_ = profile_.finalState;
    LogCall(thread, "REZO_RunRepairDevice", handle, arguments,
            "0 state=" + FormatHex(profile_.finalState) + " errorCode=" + FormatHex(profile_.errorCode), true);
    if (profile_.removal == Removal::After)
        RemoveDevice(thread, "after the repair");
    running_ = false;
    return 0;
}

unsigned SimulatedLibrary::GetCurrentProgress(std::uint32_t thread, std::uint32_t handle)
{
    const bool known = Known(handle);
    const unsigned result = known ? progress_.load() : 0;
    LogCall(thread, "REZO_GetCurrentProgress", handle, {}, std::to_string(result), known);
    return result;
}

std::uint8_t SimulatedLibrary::GetCurrentState(std::uint32_t thread, std::uint32_t handle)
{
    const bool known = Known(handle);
    const std::uint8_t result = known ? state_.load() : 0;
    LogCall(thread, "REZO_GetCurrentState", handle, {}, FormatHex(result), known);
    return result;
}

void SimulatedLibrary::GetBadBlockInformation(std::uint32_t thread, std::uint32_t handle, std::uint32_t* bad,
                                              std::uint32_t* total, std::uint16_t* unit)
{
    const bool known = Known(handle);
    if (known) {
        if (bad)
            *bad = profile_.badBlocks;
        if (total)
            *total = profile_.totalBlocks;
        if (unit)
            *unit = profile_.blockUnit;
    }
    LogCall(thread, "REZO_GetBADBlockInfomation", handle, {},
            known ? "bad=" + std::to_string(profile_.badBlocks) + " total=" + std::to_string(profile_.totalBlocks) +
                        " unit=" + std::to_string(profile_.blockUnit)
                  : "nothing",
            known);
}

std::uint32_t SimulatedLibrary::GetErrorCode(std::uint32_t thread, std::uint32_t handle)
{
    const bool known = Known(handle);
    const std::uint32_t result = known && ended_ ? profile_.errorCode : 0;
    LogCall(thread, "REZO_GetErrorCode", handle, {}, FormatHex(result), known);
    return result;
}

void SimulatedLibrary::RemoveDevice(std::uint32_t thread, std::string_view why)
{
    if (!present_.exchange(false))
        return;
    LogEvent(thread, "device-removed " + std::string(why));
    environment_.AnnounceRemoval();
}

}  // namespace rezo_sim
