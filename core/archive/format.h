// core/archive/format.h
// The packed firmware archive ("BootCode.r"): entries back to back from offset 0 to the end of
// the file, with no header, index or trailer. Each entry is
//   name    1 or more bytes: a path relative to the target folder (ANSI, backslashes)
//   marker  8 bytes " \~#$&* " (20 5C 7E 23 24 26 2A 20)
//   length  unsigned 32-bit little-endian: the size of the data
//   data    one gzip member holding the file's content
// The name ends at the first marker, looked for in the last 8 bytes read once at least 9 bytes
// are there, so a name ending in part of the marker is still read right.
// Pure rules shared by Brimlet's archive classes, the tests, the fuzzer and the benchmark.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace archive {

inline constexpr std::array<char, 8> kMarker{' ', '\\', '~', '#', '$', '&', '*', ' '};
constexpr std::size_t kLengthSize = 4;
// Data is copied in pieces of this size (and the writer copies files in them too).
constexpr std::size_t kCopyPieceSize = 100;
// Windows' path limit, terminator included: a target path must stay below it.
constexpr std::size_t kMaxPath = 260;
// CreateDirectory keeps room for an 8.3 name below the path limit: a folder path must stay
// below 260 - 12 characters.
constexpr std::size_t kMaxFolderPath = 248;
// A name longer than this could never fit a target path; the reader stops keeping its bytes
// and only looks for the marker.
constexpr std::size_t kMaxNameBytes = kMaxPath;

// Collects an entry's name byte by byte until the marker.
class EntryNameReader {
public:
    // Adds the next byte; true when it completed the marker, which ends the name.
    bool Push(char byte);
    // The name without the marker (complete once Push returned true). Empty when Overlong.
    std::string_view Name() const;
    // The name ran past kMaxNameBytes; its bytes were not kept.
    bool Overlong() const { return overlong_; }

private:
    std::string bytes_;
    std::uint64_t count_ = 0;
    bool overlong_ = false;
    bool complete_ = false;
};

// Why a name may not be written (the reader skips such an entry; the writer refuses it).
enum class NameVerdict : std::uint8_t {
    Accepted,
    Empty,             // no name at all
    Overlong,          // longer than kMaxNameBytes
    TooLong,           // base folder + name reaches kMaxPath
    ContainsNul,       // would be cut short on its way to Windows
    ContainsMarker,    // the marker would be found in it: it could not be read back
    Rooted,            // starts with a backslash or slash
    Drive,             // a colon: a drive ("C:"), or an alternate data stream
    DotsComponent,     // a component of dots and blanks only: "..", ".", "... ", " "
    DeviceName,        // CON, NUL, COM1 ... in any component, with any extension
    BadCharacter,      // < > " | ? * or a control character: no Windows file name holds one
    Slash,             // the format's folders are backslashes; a slash would name folders that
                       // are never made
    FolderTooLong,     // base folder + the name's folder part reaches kMaxFolderPath
};

// `baseLength` is the length of the target folder, which ends in a backslash.
NameVerdict CheckEntryName(std::string_view name, std::size_t baseLength);
const char* DescribeVerdict(NameVerdict verdict);

std::uint32_t DecodeLength(const unsigned char bytes[kLengthSize]);
// Name, marker and length: what precedes an entry's data.
std::vector<unsigned char> EncodeEntryHead(std::string_view name, std::uint32_t length);

// Stream position as a percentage of its length: 0-100, also for an empty stream (100: all of
// nothing is read) and for positions beyond 42 MB, where position x 100 leaves 32 bits.
int ProgressPercent(std::uint64_t position, std::uint64_t length);

// The folders to create for a file path, shortest first: every prefix before a backslash
// except the first one (the one after the drive), then the whole folder part. None when the
// path holds no backslash.
std::vector<std::string> DirectoriesToCreate(std::string_view filePath);

}  // namespace archive
