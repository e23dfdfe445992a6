// core/rezo_sim/call_log.h
// The lines of the simulating library's call log, which the tests read. One line per call:
//   <program> <thread> <function>(<arguments>) -> <result>
// e.g.
//   Brimlet.exe 1 REZO_GetChipID(0x10000001) -> chipId=355 chipVersion=1
//   Brimlet.exe 2 REZO_RunRepairDevice(0x10000001, mode=0xC0) -> running
//   Brimlet.exe 1 REZO_GetCurrentProgress(0x10000001) -> 35
// <program> is the file name of the process's program; <thread> numbers the calling threads of
// the process 1, 2, ... in the order of their first call. The handle comes first as 8 hex
// digits; texts are in double quotes, with a double quote or a control character written as
// \xNN. What the library does on its own is an event line:
//   <program> <thread> event <what>
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/sync/mutex.h"

namespace rezo_sim {

std::string FormatHandle(std::uint32_t handle);  // 0x10000001
std::string FormatHex(std::uint32_t value);      // 0xC0, upper case, no leading zeros
std::string Quote(std::string_view text);
std::string FormatLogLine(std::string_view program, unsigned thread, std::string_view text);

// Small numbers for thread ids, in the order they are first seen; safe from any thread.
class ThreadNumbers {
public:
    unsigned NumberOf(std::uint32_t threadId);

private:
    core::Mutex mutex_;
    std::vector<std::pair<std::uint32_t, unsigned>> seen_;
};

}  // namespace rezo_sim
