// core/archive/reader.h
// Reading one entry of the packed firmware archive from a byte stream: its head (name, marker,
// length) and then its data in pieces. Brimlet's CPackArchive reads its CFile through this; the
// tests, the fuzzer and the benchmark read memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/archive/format.h"

namespace archive {

class ByteSource {
public:
    // Bytes delivered; 0 at the end or on failure.
    virtual std::size_t Read(void* buffer, std::size_t count) = 0;
    virtual std::uint64_t Position() = 0;
    virtual std::uint64_t Length() = 0;
    // Moves `count` bytes on; false (and no move) when fewer are left.
    virtual bool Skip(std::uint64_t count) = 0;

protected:
    ~ByteSource() = default;
};

class ByteSink {
public:
    // False when the bytes could not all be written.
    virtual bool Write(const void* buffer, std::size_t count) = 0;

protected:
    ~ByteSink() = default;
};

// How the reading of one entry ended.
enum class EntryResult : std::uint8_t {
    Extracted,      // written to its target
    Skipped,        // its name may not be written (see NameVerdict); nothing written
    NotWritten,     // its data did not become a file: an unreadable member, or a target that
                    // could not be created
    End,            // no entry: the stream stood at its end (a clean end of the archive)
    Truncated,      // the stream ended inside the entry (name, length or data cut short)
    CopyFailed,     // the data could not be copied out (temporary file not created or written)
    NotOpen,        // no archive open
};

// True for the results after which the next entry may be read.
constexpr bool MayContinue(EntryResult result)
{
    return result == EntryResult::Extracted || result == EntryResult::Skipped || result == EntryResult::NotWritten;
}

struct EntryHead {
    EntryResult result = EntryResult::End;  // End, Truncated, or Extracted for a head read whole
    std::string name;
    std::uint32_t length = 0;
    NameVerdict verdict = NameVerdict::Accepted;
};

// Reads the head of the entry at the stream position: the name byte by byte up to the marker,
// then the length. `baseLength` is the target folder's length, for the name check.
EntryHead ReadEntryHead(ByteSource& source, std::size_t baseLength);

// Copies `length` data bytes to the sink in pieces of min(100, bytes left), writing exactly
// what each read delivered. Truncated when the stream runs dry, CopyFailed when the sink fails,
// else Extracted.
EntryResult CopyEntryData(ByteSource& source, std::uint32_t length, ByteSink& sink);

// Moves past an entry's data without reading it out: Skipped, or Truncated.
EntryResult SkipEntryData(ByteSource& source, std::uint32_t length);

}  // namespace archive
