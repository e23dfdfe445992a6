// quillet/dispatcher.cpp
#include "quillet/dispatcher.h"

#include <cstring>
#include <string>

#include "platform/scsi/device_port.h"
#include "platform/scsi/pass_through.h"
#include "platform/setupapi/device_list_port.h"

namespace {

RezoDeviceHandle g_rezoDevice = 0;
DeviceKind g_detectedKind = DeviceKind::None;
HANDLE g_matchedVolume = nullptr;

// {53F5630D-B6BF-11D0-94F2-00A0C91EFB8B}; with DIGCF_ALLCLASSES every class is listed anyway.
const GUID kVolumeInterfaceClass = {0x53F5630D, 0xB6BF, 0x11D0, {0x94, 0xF2, 0x00, 0xA0, 0xC9, 0x1E, 0xFB, 0x8B}};

// Asking for the hardware ids again and again with a larger buffer ends after this many answers.
constexpr int kPropertyReadTries = 8;

HANDLE Matched(HANDLE volume, bool match)
{
    if (match)
        return volume;
    GetDevicePort().CloseHandle(volume);
    return nullptr;
}

HANDLE ChipQueryProbe(char letter, bool (*matches)(smi::Answer))
{
    HANDLE volume = INVALID_HANDLE_VALUE;
    if (!OpenVolume(letter, volume))
        return nullptr;
    BYTE reply[smi::kAnswerSize] = {};
    const smi::VendorCommand query = probe::VendorChipQuery();
    if (!SendScsiCommand(volume, query.cdb.data(), reply, query.dataLength, smi::kNtCdbLength, true))
        return Matched(volume, false);
    return Matched(volume, matches(smi::Answer(reply, smi::kAnswerSize)));
}

class DispatcherProbes final : public probe::Probes {
public:
    bool DeviceLibraryReportsDevice() override { return OpenRezoDevice() != 0; }
    bool ProbeCaReplyA(char letter) override { return Keep(::ProbeCaReplyA(letter)); }
    bool ProbeCaReplyB(char letter) override { return Keep(::ProbeCaReplyB(letter)); }
    bool ProbeCaReplyC(char letter) override { return Keep(::ProbeCaReplyC(letter)); }
    bool ProbeVendorId(char letter) override { return Keep(::ProbeVendorId(letter)); }

private:
    static bool Keep(HANDLE volume)
    {
        if (volume)
            g_matchedVolume = volume;
        return volume != nullptr;
    }
};

// The device's first hardware id: the property read into a zero-filled buffer of the size it asks
// for; empty when it cannot be read.
std::string FirstHardwareId(DeviceListPort& port, HDEVINFO list, SP_DEVINFO_DATA& device)
{
    BYTE* buffer = nullptr;
    DWORD size = 0;
    DWORD required = 0;
    bool read = false;
    for (int tries = 0; tries < kPropertyReadTries; ++tries) {
        read = port.SetupDiGetDeviceRegistryPropertyA(list, &device, SPDRP_HARDWAREID, nullptr, buffer,
                                                      size, &required);
        // A size that does not grow would be asked for forever.
        if (read || ::GetLastError() != ERROR_INSUFFICIENT_BUFFER || required <= size)
            break;
        if (buffer)
            ::LocalFree(buffer);
        buffer = static_cast<BYTE*>(::LocalAlloc(LPTR, required));
        size = buffer ? required : 0;
        if (!buffer)
            break;
    }
    std::string id;
    if (read && buffer) {
        // The first id ends at its zero, or at the buffer's end when the list lacks one.
        const char* text = reinterpret_cast<const char*>(buffer);
        id.assign(text, strnlen(text, size));
    }
    if (buffer)
        ::LocalFree(buffer);
    return id;
}

}  // namespace

void ProbeDevices()
{
    DispatcherProbes probes;
    g_detectedKind = probe::RunProbeSequence(probes);
}

DeviceKind GetDetectedKind() { return g_detectedKind; }

HANDLE MatchedVolume() { return g_matchedVolume; }

RezoDeviceHandle OpenRezoDevice()
{
    if (g_rezoDevice == 0) {
        g_rezoDevice = REZO_CreateCUSBDevice();
        if (g_rezoDevice == 0)
            return 0;
        if (REZO_DeviceExist(g_rezoDevice) == 0) {
            CloseRezoDevice();
            return 0;
        }
    }
    short kind = 0;
    short subKind = 0;
    if (REZO_GetDeviceKind(g_rezoDevice, &kind, &subKind) == 0) {
        CloseRezoDevice();
        return 0;
    }
    return g_rezoDevice;
}

void CloseRezoDevice()
{
    REZO_DestroyCUSBDevice(g_rezoDevice);
    g_rezoDevice = 0;
}

bool OpenVolume(char letter, HANDLE& volume)
{
    volume = GetDevicePort().CreateFileA(passthrough::VolumePathOf(letter).text,
                                         GENERIC_READ | GENERIC_WRITE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0);
    return volume != INVALID_HANDLE_VALUE;
}

bool SendScsiCommand(HANDLE volume, const BYTE* cdb, void* data, DWORD dataLength, BYTE cdbLength,
                     bool dataIn)
{
    passthrough::DirectCommand command;
    command.cdb = cdb;
    command.cdbLength = cdbLength;
    command.dataIn = dataIn;
    command.data = data;
    command.dataLength = dataLength;
    command.timeoutSeconds = probe::kProbeTimeoutSeconds;
    command.senseLength = probe::kProbeSenseLength;
    passthrough::DirectBuffer buffer;
    passthrough::FillDirect(buffer, command);
    return passthrough::SendDirect(volume, buffer) != FALSE;
}

HANDLE ProbeCaReplyA(char letter) { return ChipQueryProbe(letter, probe::MatchesCaReplyA); }
HANDLE ProbeCaReplyB(char letter) { return ChipQueryProbe(letter, probe::MatchesCaReplyB); }
HANDLE ProbeCaReplyC(char letter) { return ChipQueryProbe(letter, probe::MatchesCaReplyC); }

HANDLE ProbeVendorId(char letter)
{
    HANDLE volume = INVALID_HANDLE_VALUE;
    if (!OpenVolume(letter, volume))
        return nullptr;
    return Matched(volume, ReadDeviceInfoId(volume));
}

bool ReadDeviceInfoId(HANDLE volume)
{
    BYTE data[smi::kAnswerSize] = {};
    const smi::VendorCommand command = smi::ReadDeviceInfo();
    if (!SendScsiCommand(volume, command.cdb.data(), data, command.dataLength, smi::kNtCdbLength, true))
        return false;
    return probe::MatchesDeviceInfoId(smi::Answer(data, smi::kAnswerSize));
}

ToolIndex DetectByHardwareId()
{
    DeviceListPort& port = GetDeviceListPort();
    HDEVINFO list = port.SetupDiGetClassDevsA(&kVolumeInterfaceClass, nullptr, nullptr,
                                              DIGCF_PRESENT | DIGCF_ALLCLASSES);
    if (list == INVALID_HANDLE_VALUE)
        return ToolIndex::None;
    ToolIndex tool = ToolIndex::None;
    SP_DEVINFO_DATA device;
    std::memset(&device, 0, sizeof device);
    device.cbSize = sizeof device;
    for (DWORD index = 0; tool == ToolIndex::None && port.SetupDiEnumDeviceInfo(list, index, &device); ++index)
        tool = probe::ToolForHardwareId(FirstHardwareId(port, list, device));
    port.SetupDiDestroyDeviceInfoList(list);
    return tool;
}
