// core/rezo_sim/call_log.cpp
#include "core/rezo_sim/call_log.h"

#include <cstdio>
#include <mutex>

namespace rezo_sim {

std::string FormatHandle(std::uint32_t handle)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(handle));
    return text;
}

std::string FormatHex(std::uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
    return text;
}

std::string Quote(std::string_view text)
{
    std::string quoted = "\"";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '"') {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            quoted += escape;
        } else {
            quoted += c;
        }
    }
    quoted += '"';
    return quoted;
}

std::string FormatLogLine(std::string_view program, unsigned thread, std::string_view text)
{
    std::string line(program);
    line += ' ';
    line += std::to_string(thread);
    line += ' ';
    line += text;
    return line;
}

unsigned ThreadNumbers::NumberOf(std::uint32_t threadId)
{
    std::lock_guard<core::Mutex> lock(mutex_);
    for (const auto& [id, number] : seen_) {
        if (id == threadId)
            return number;
    }
    const unsigned number = static_cast<unsigned>(seen_.size()) + 1;
    seen_.emplace_back(threadId, number);
    return number;
}

}  // namespace rezo_sim
