// tests/windows/device/scripted_port.cpp
#include "scripted_port.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace {
std::unique_ptr<ScriptedPort> g_port;

DWORD __cdecl FakeSupportInfo()
{
    return (DWORD{aspi::SS_COMP} << 8) | ScriptedPort::Current().aspiAdapters;
}

DWORD __cdecl FakeSend(void* srb) { return ScriptedPort::Current().SendAspi(srb); }
}  // namespace

DevicePort& GetDevicePort() { return ScriptedPort::Current(); }

ScriptedPort::ScriptedPort() = default;

ScriptedPort& ScriptedPort::Current()
{
    if (!g_port)
        g_port = std::make_unique<ScriptedPort>();
    return *g_port;
}

void ScriptedPort::Reset() { g_port = std::make_unique<ScriptedPort>(); }

HANDLE ScriptedPort::NewHandle()
{
    nextHandle_ += 4;
    return reinterpret_cast<HANDLE>(nextHandle_);
}

std::vector<ScriptedPort::IoctlCall> ScriptedPort::IoctlsWithCode(DWORD code) const
{
    std::vector<IoctlCall> found;
    for (const IoctlCall& call : ioctls)
        if (call.code == code)
            found.push_back(call);
    return found;
}

HANDLE ScriptedPort::CreateFileA(LPCSTR name, DWORD access, DWORD share, DWORD disposition,
                                 DWORD flags)
{
    HANDLE result = INVALID_HANDLE_VALUE;
    const std::string path = name;
    if (path == "\\\\.\\vwin32") {
        if (vwin32Opens) {
            result = NewHandle();
            vwin32Handle_ = result;
            openOthers_.insert(result);
        }
    } else if (path.size() == 6 && path.compare(0, 4, "\\\\.\\") == 0 && path[5] == ':' &&
               volumes.count(path[4])) {
        result = NewHandle();
        openVolumes_[result] = path[4];
    }
    opens.push_back({path, access, share, disposition, flags, result});
    if (result == INVALID_HANDLE_VALUE)
        SetLastError(ERROR_FILE_NOT_FOUND);
    return result;
}

BOOL ScriptedPort::DeviceIoControl(HANDLE device, DWORD code, void* in, DWORD inSize, void* out,
                                   DWORD outSize, DWORD* returned)
{
    IoctlCall call{device, code, {}, in, inSize, out, outSize};
    if (in)
        call.input.assign(static_cast<BYTE*>(in), static_cast<BYTE*>(in) + inSize);
    BOOL result = FALSE;
    *returned = 0;
    if (device == vwin32Handle_ && openOthers_.count(device)) {
        if (code == vwin32::VWIN32_DIOC_DOS_IOCTL && in && inSize == sizeof(vwin32::DIOC_REGISTERS)) {
            auto answer = vwin32Answers.empty() ? std::make_pair(TRUE, false) : vwin32Answers.front();
            if (!vwin32Answers.empty())
                vwin32Answers.pop_front();
            auto* registers = static_cast<vwin32::DIOC_REGISTERS*>(out);
            *registers = *static_cast<vwin32::DIOC_REGISTERS*>(in);
            registers->reg_Flags = answer.second ? vwin32::kCarryFlag : 0;
            result = answer.first;
        }
    } else if (auto it = openVolumes_.find(device); it != openVolumes_.end()) {
        Volume& volume = volumes[it->second];
        switch (code) {
        case IOCTL_SCSI_PASS_THROUGH: {
            auto* record = static_cast<SCSI_PASS_THROUGH*>(in);
            result = volume.inquiryResult;
            if (result && record->DataBufferOffset + 36 <= outSize) {
                std::memcpy(static_cast<BYTE*>(out) + record->DataBufferOffset,
                            volume.inquiry.data(), 36);
                *returned = outSize;
            }
            break;
        }
        case IOCTL_SCSI_PASS_THROUGH_DIRECT:
            result = volume.onDirect ? volume.onDirect(*static_cast<SCSI_PASS_THROUGH_DIRECT*>(in))
                                     : TRUE;
            if (result && out && outSize >= sizeof(SCSI_PASS_THROUGH_DIRECT)) {
                auto* record = static_cast<SCSI_PASS_THROUGH_DIRECT*>(out);
                record->ScsiStatus = volume.directStatus;
                const std::size_t copied = std::min<std::size_t>(record->SenseInfoLength, volume.directSense.size());
                if (copied && record->SenseInfoOffset + copied <= outSize)
                    std::memcpy(static_cast<BYTE*>(out) + record->SenseInfoOffset, volume.directSense.data(), copied);
                record->SenseInfoLength = static_cast<UCHAR>(copied);
            }
            *returned = sizeof(SCSI_PASS_THROUGH_DIRECT);
            break;
        case FSCTL_LOCK_VOLUME:
            result = volume.lockResult;
            break;
        case FSCTL_DISMOUNT_VOLUME:
            result = TRUE;
            break;
        default:
            break;
        }
    }
    ioctls.push_back(std::move(call));
    if (!result)
        SetLastError(ERROR_NOT_SUPPORTED);
    return result;
}

BOOL ScriptedPort::FlushFileBuffers(HANDLE file)
{
    flushes.push_back(file);
    return openVolumes_.count(file) ? TRUE : FALSE;
}

BOOL ScriptedPort::CloseHandle(HANDLE handle)
{
    closes.push_back(handle);
    char name[32];
    std::snprintf(name, sizeof name, "close %p", handle);
    events.push_back(name);
    if (openVolumes_.erase(handle) || openOthers_.erase(handle))
        return TRUE;
    staleCloses.push_back(handle);
    return FALSE;
}

HMODULE ScriptedPort::LoadLibraryA(LPCSTR name)
{
    if (aspiLoads && std::strcmp(name, "wnaspi32.dll") == 0)
        return kAspiModule;
    return nullptr;
}

FARPROC ScriptedPort::GetProcAddress(HMODULE module, LPCSTR name)
{
    if (module != kAspiModule || !aspiEntries.count(name))
        return nullptr;
    if (std::strcmp(name, "GetASPI32SupportInfo") == 0)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&FakeSupportInfo));
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&FakeSend));
}

BOOL ScriptedPort::FreeLibrary(HMODULE module)
{
    freedLibraries.push_back(module);
    return module == kAspiModule;
}

HANDLE ScriptedPort::CreateEventA(BOOL, BOOL)
{
    if (!eventsCreate)
        return nullptr;
    HANDLE event = NewHandle();
    openOthers_.insert(event);
    char name[32];
    std::snprintf(name, sizeof name, "create %p", event);
    events.push_back(name);
    return event;
}

BOOL ScriptedPort::ResetEvent(HANDLE event)
{
    char name[32];
    std::snprintf(name, sizeof name, "reset %p", event);
    events.push_back(name);
    return openOthers_.count(event) ? TRUE : FALSE;
}

DWORD ScriptedPort::WaitForSingleObject(HANDLE handle, DWORD milliseconds)
{
    waits.push_back({handle, milliseconds});
    if (pending_ && aborting_) {
        if (--abortTakesWaits > 0)
            return WAIT_TIMEOUT;
        pending_->SRB_Status = aspi::SS_ABORTED;
        pending_ = nullptr;
        aborting_ = false;
        return WAIT_OBJECT_0;
    }
    if (pending_ && aspiAsyncCompletion) {
        pending_->SRB_Status = aspi::SS_COMP;
        pending_ = nullptr;
        return WAIT_OBJECT_0;
    }
    return pending_ && pending_->SRB_Status == aspi::SS_PENDING ? WAIT_TIMEOUT : WAIT_OBJECT_0;
}

DWORD ScriptedPort::SendAspi(void* block)
{
    auto* header = static_cast<aspi::SRB_Header*>(block);
    if (header->SRB_Cmd == aspi::SC_ABORT_SRB) {
        auto* abort = static_cast<aspi::SRB_Abort*>(block);
        aspiCalls.push_back({block, {static_cast<BYTE*>(block), static_cast<BYTE*>(block) + 12}});
        events.push_back("abort");
        if (pending_ && abort->SRB_ToAbort == pending_) {
            if (abortTakesWaits > 0) {
                aborting_ = true;  // still pending until the abort has gone through
            } else {
                pending_->SRB_Status = aspi::SS_ABORTED;
                pending_ = nullptr;
            }
        }
        abort->SRB_Status = aspi::SS_COMP;
        return aspi::SS_COMP;
    }
    auto* srb = static_cast<aspi::SRB_ExecSCSICmd*>(block);
    aspiCalls.push_back({block, {static_cast<BYTE*>(block), static_cast<BYTE*>(block) + 80}});
    events.push_back("send");
    if (srb->CDBByte[0] == 0x12) {
        auto it = aspiDevices.find(srb->SRB_HaId);
        if (it != aspiDevices.end() && srb->SRB_BufPointer)
            std::memcpy(srb->SRB_BufPointer, it->second.data(),
                        std::min<DWORD>(36, srb->SRB_BufLen));
    }
    if (aspiCompletesAtOnce) {
        srb->SRB_Status = srb->CDBByte[0] == 0x12 ? aspi::SS_COMP : aspiCommandStatus;
    } else {
        srb->SRB_Status = aspi::SS_PENDING;
        pending_ = srb;
    }
    return srb->SRB_Status;
}

LONG ScriptedPort::RegOpenKeyExA(HKEY parent, LPCSTR subKey, REGSAM, HKEY* key)
{
    return registry.Open(parent, subKey, key).value_or(ERROR_FILE_NOT_FOUND);
}

LONG ScriptedPort::RegQueryInfoKeyA(HKEY key, DWORD* subKeyCount)
{
    return registry.QueryInfo(key, subKeyCount).value_or(ERROR_INVALID_HANDLE);
}

LONG ScriptedPort::RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, DWORD* nameLength)
{
    return registry.EnumKey(key, index, name, nameLength).value_or(ERROR_INVALID_HANDLE);
}

LONG ScriptedPort::RegQueryValueExA(HKEY key, LPCSTR value, DWORD* type, BYTE* data,
                                    DWORD* dataLength)
{
    return registry.QueryValue(key, value, type, data, dataLength).value_or(ERROR_INVALID_HANDLE);
}

LONG ScriptedPort::RegCloseKey(HKEY key)
{
    return registry.Close(key).value_or(ERROR_INVALID_HANDLE);
}

ScriptedPort::Inquiry MakeInquiry(const char* at5, const char* at8)
{
    ScriptedPort::Inquiry inquiry{};
    std::memcpy(inquiry.data() + 5, at5, std::strlen(at5));
    std::memcpy(inquiry.data() + 8, at8, std::strlen(at8));
    return inquiry;
}

std::string Hex(const BYTE* bytes, std::size_t count)
{
    std::string text;
    char part[4];
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(part, sizeof part, i ? " %02X" : "%02X", bytes[i]);
        text += part;
    }
    return text;
}
