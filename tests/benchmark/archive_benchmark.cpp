// archive_benchmark [BootCode.r] [REPEAT]: in one run, the time Brimlet's CPackArchive takes
// to unpack the shipped firmware archive into a folder (temporary file per entry, 100-byte
// pieces, zlib's gzip reader, the image written), beside the time zlib alone takes to inflate
// the same members in memory. Figures only, not a test; run under Wine, in a started session
// (tools/wine/session start build/win32/wine):
//   tools/wine/run --session build/win32/wine build/win32/tests/benchmark/archive_benchmark.exe
// It reads BootCode.r beside the program, or the archive its first argument names (a Windows
// path); a second argument sets the number of runs (default 3).
#include <windows.h>

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "brimlet/archive/pack_archive.h"
#include "core/archive/reader.h"
#include "tests/windows/support/files.h"

namespace {

using test_support::ProgramFolder;
using test_support::RemoveTree;

class MemorySource final : public archive::ByteSource {
public:
    explicit MemorySource(const std::vector<unsigned char>& bytes) : m_bytes(bytes) {}
    std::size_t Read(void* buffer, std::size_t count) override
    {
        const std::size_t taken = std::min(count, m_bytes.size() - m_position);
        std::memcpy(buffer, m_bytes.data() + m_position, taken);
        m_position += taken;
        return taken;
    }
    std::uint64_t Position() override { return m_position; }
    std::uint64_t Length() override { return m_bytes.size(); }
    bool Skip(std::uint64_t count) override
    {
        if (count > m_bytes.size() - m_position)
            return false;
        m_position += static_cast<std::size_t>(count);
        return true;
    }

private:
    const std::vector<unsigned char>& m_bytes;
    std::size_t m_position = 0;
};

double Milliseconds(LARGE_INTEGER start, LARGE_INTEGER end)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Every member inflated in memory; the unpacked byte count, or 0 when one fails.
std::size_t InflateAll(const std::vector<unsigned char>& bytes, int& entries)
{
    MemorySource source(bytes);
    std::vector<unsigned char> output(1 << 18);
    std::size_t unpacked = 0;
    entries = 0;
    for (;;) {
        const archive::EntryHead head = archive::ReadEntryHead(source, 0);
        if (head.result != archive::EntryResult::Extracted)
            break;
        const std::size_t at = static_cast<std::size_t>(source.Position());
        if (!source.Skip(head.length))
            return 0;
        z_stream stream{};
        if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK)
            return 0;
        stream.next_in = const_cast<unsigned char*>(bytes.data() + at);
        stream.avail_in = head.length;
        stream.next_out = output.data();
        stream.avail_out = static_cast<uInt>(output.size());
        const int result = inflate(&stream, Z_FINISH);
        unpacked += stream.total_out;
        inflateEnd(&stream);
        if (result != Z_STREAM_END)
            return 0;
        ++entries;
    }
    return unpacked;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string path = argc > 1 && *argv[1] ? argv[1] : ProgramFolder() + "BootCode.r";
    const int repeat = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "archive_benchmark: cannot open %s\n", path.c_str());
        return 1;
    }
    std::vector<unsigned char> bytes(GetFileSize(file, nullptr));
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);

    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string work = std::string(temp) + "archive_benchmark_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(work.c_str(), nullptr);
    const std::string copy = work + "\\BootCode.r";
    CopyFileA(path.c_str(), copy.c_str(), FALSE);

    double bestArchive = 1e30, totalArchive = 0, bestZlib = 1e30, totalZlib = 0;
    int archiveEntries = 0, zlibEntries = 0;
    std::size_t unpacked = 0;
    for (int run = 0; run < repeat; ++run) {
        RemoveTree(work + "\\Boot");
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        {
            CPackArchive archive;
            if (!archive.OpenArchiveFile(copy.c_str(), FALSE)) {
                std::fprintf(stderr, "archive_benchmark: cannot open the archive copy\n");
                return 1;
            }
            archive.m_strBaseDirectory = (work + "\\Boot\\").c_str();
            archive.RewindArchive();
            archiveEntries = 0;
            while (archive.ExtractNextEntry() == 1)
                ++archiveEntries;
            archive.CloseArchive();
        }
        QueryPerformanceCounter(&end);
        const double archiveMs = Milliseconds(start, end);
        bestArchive = std::min(bestArchive, archiveMs);
        totalArchive += archiveMs;

        QueryPerformanceCounter(&start);
        unpacked = InflateAll(bytes, zlibEntries);
        QueryPerformanceCounter(&end);
        const double zlibMs = Milliseconds(start, end);
        bestZlib = std::min(bestZlib, zlibMs);
        totalZlib += zlibMs;
    }
    RemoveTree(work);

    std::printf("archive: %s\n", path.c_str());
    std::printf("  %d entries, %u bytes packed, %u bytes unpacked\n", zlibEntries, static_cast<unsigned>(bytes.size()),
                static_cast<unsigned>(unpacked));
    std::printf("  CPackArchive unpack to disk: best %8.1f ms, mean %8.1f ms (%d entries, %d runs)\n", bestArchive,
                totalArchive / repeat, archiveEntries, repeat);
    std::printf("  zlib inflate in memory:      best %8.1f ms, mean %8.1f ms\n", bestZlib, totalZlib / repeat);
    std::printf("  the archive class takes %.1f times zlib's time\n", bestZlib > 0 ? bestArchive / bestZlib : 0.0);
    return archiveEntries == zlibEntries && unpacked > 0 ? 0 : 1;
}
