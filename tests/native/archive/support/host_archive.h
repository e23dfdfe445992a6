// The packed firmware archive read on the host the way Brimlet's CPackArchive reads it on
// Windows: the same core reader, zlib's own gzip reader for each member, and backslashes as
// folders. Shared by the native tests, the fuzzer and the generated archive's check.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/archive/reader.h"

namespace host_archive {

using Bytes = std::vector<unsigned char>;

class MemorySource final : public archive::ByteSource {
public:
    explicit MemorySource(std::span<const unsigned char> bytes) : bytes_(bytes) {}
    std::size_t Read(void* buffer, std::size_t count) override;
    std::uint64_t Position() override { return position_; }
    std::uint64_t Length() override { return bytes_.size(); }
    bool Skip(std::uint64_t count) override;

private:
    std::span<const unsigned char> bytes_;
    std::size_t position_ = 0;
};

class VectorSink final : public archive::ByteSink {
public:
    bool Write(const void* buffer, std::size_t count) override;
    Bytes bytes;
};

// What zlib's gzread makes of `member` (gzip members, or plain bytes taken as they are);
// nothing when zlib reports an error or the content would exceed `limit` bytes.
std::optional<Bytes> Gunzip(std::span<const unsigned char> member, std::size_t limit = 64u << 20);

// A gzip member as zlib's writer makes it on Windows (mode "wb": default level and strategy,
// header 1F 8B 08 00 00 00 00 00 00 0B).
Bytes GzipLikeWindows(std::span<const unsigned char> content);

// One entry: name, framing + name check, and its data.
Bytes Entry(const std::string& name, std::span<const unsigned char> data);
Bytes Entry(const std::string& name, const std::string& content);  // gzipped

struct ExtractedEntry {
    std::string name;
    archive::EntryResult result;
    Bytes content;  // for Extracted
};

struct Extraction {
    std::vector<ExtractedEntry> entries;  // every entry read, with what became of it
    archive::EntryResult last = archive::EntryResult::End;
};

// Reads every entry as ExtractNextEntry does, for a target folder of `baseLength` characters,
// keeping the contents in memory.
Extraction ReadArchive(std::span<const unsigned char> bytes, std::size_t baseLength);

// As ReadArchive, and writes each content under `folder` (backslashes and slashes becoming
// folders). `windowsBaseLength` is the length of the folder the archive would go to on
// Windows, for the 260-character check.
Extraction ExtractTo(std::span<const unsigned char> bytes, const std::filesystem::path& folder,
                     std::size_t windowsBaseLength);

}  // namespace host_archive
