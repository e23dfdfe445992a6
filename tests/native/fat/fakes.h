// tests/native/fat/fakes.h
// Recording stand-ins for the builders' seams: a sparse in-memory device with scripted faults,
// a progress bar, the pause and the debugger output. The repair routine, the device layer and
// the boot test image use the last three too; they are portable.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/fat/volume_builder.h"

namespace fat_test {

struct Command {
    bool write;
    std::uint32_t sector;
    std::uint8_t lun;
};

class MemoryDevice : public fat::SectorDevice {
public:
    // Decides whether command number `index` (1-based, writes and reads together) fails.
    std::function<bool(const Command&, std::size_t index)> fails;
    // A read of this sector returns its byte `corruptOffset` flipped.
    std::int64_t corruptSector = -1;
    std::size_t corruptOffset = 0;
    // Reads from this sector on report success without touching the buffer, as a legacy
    // transport may.
    std::int64_t silentReadsFrom = -1;

    std::vector<Command> log;
    std::unordered_map<std::uint32_t, fat::Sector> sectors;

    bool WriteSector(std::uint32_t sector, const fat::Sector& data, std::uint8_t lun) override
    {
        if (!Record({true, sector, lun}))
            return false;
        sectors[sector] = data;
        return true;
    }

    bool ReadSector(std::uint32_t sector, fat::Sector& data, std::uint8_t lun) override
    {
        if (!Record({false, sector, lun}))
            return false;
        if (silentReadsFrom >= 0 && sector >= silentReadsFrom)
            return true;
        data = At(sector);
        if (corruptSector == static_cast<std::int64_t>(sector))
            data[corruptOffset] ^= 0x01;
        return true;
    }

    fat::Sector At(std::uint32_t sector) const
    {
        const auto it = sectors.find(sector);
        return it == sectors.end() ? fat::Sector{} : it->second;
    }

    std::size_t Writes() const { return Count(true); }
    std::size_t Reads() const { return Count(false); }

private:
    bool Record(const Command& command)
    {
        log.push_back(command);
        return !fails || !fails(command, log.size());
    }

    std::size_t Count(bool write) const
    {
        std::size_t n = 0;
        for (const Command& c : log)
            n += c.write == write ? 1 : 0;
        return n;
    }
};

class RecordingProgress : public progress::ProgressSink {
public:
    explicit RecordingProgress(int start = 0) : position_(start) {}

    // Records the value as given; keeps it clamped into 0..100, as a bar of that range does.
    int SetPos(int value, bool refresh) override
    {
        positions.push_back(value);
        refreshed = refreshed && refresh;
        const int before = position_;
        position_ = std::clamp(value, 0, 100);
        return before;
    }

    int GetPos(bool percent) const override { return percent ? position_ * 256 : position_; }

    std::vector<int> positions;
    bool refreshed = true;

private:
    int position_;
};

class RecordingPause : public timing::Pause {
public:
    void Sleep(std::uint32_t milliseconds) override { pauses.push_back(milliseconds); }
    std::vector<std::uint32_t> pauses;
};

class RecordingDebug : public fat::DebugOutput {
public:
    void Write(const char* text) override { lines.emplace_back(text); }
    std::vector<std::string> lines;
};

inline std::uint32_t Get16(const fat::Sector& s, std::size_t offset)
{
    return s[offset] | std::uint32_t{s[offset + 1]} << 8;
}

inline std::uint32_t Get32(const fat::Sector& s, std::size_t offset)
{
    return Get16(s, offset) | Get16(s, offset + 2) << 16;
}

inline std::string Text(const fat::Sector& s, std::size_t offset, std::size_t length)
{
    return std::string(reinterpret_cast<const char*>(s.data() + offset), length);
}

}  // namespace fat_test
