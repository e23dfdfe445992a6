// core/archive/format.cpp
#include "core/archive/format.h"

#include <algorithm>
#include <cstring>

namespace archive {

namespace {

constexpr std::string_view kMarkerText(kMarker.data(), kMarker.size());

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Upper(x) == Upper(y); });
}

// Windows opens these as devices in any folder, whatever extension follows ("nul.bin").
bool IsDeviceName(std::string_view component)
{
    std::string_view base = component.substr(0, component.find('.'));
    while (!base.empty() && base.back() == ' ')
        base.remove_suffix(1);
    for (std::string_view device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"}) {
        if (EqualsIgnoringCase(base, device))
            return true;
    }
    if (base.size() == 4 && (EqualsIgnoringCase(base.substr(0, 3), "COM") || EqualsIgnoringCase(base.substr(0, 3), "LPT"))) {
        const auto digit = static_cast<unsigned char>(base[3]);
        // 1-9, and the superscript digits of the Western code page, which Windows also takes.
        return (digit >= '0' && digit <= '9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
    }
    return false;
}

// Characters Windows refuses in a file or folder name (the colon and the separators aside).
bool IsBadCharacter(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || c == '<' || c == '>' || c == '"' || c == '|' || c == '?' || c == '*';
}

// Windows drops trailing dots and blanks from a component, so "..", ". ." and "... " may all
// climb; a component of nothing else names no file of its own.
bool IsDotsComponent(std::string_view component)
{
    return !component.empty() && component.find_first_not_of(". ") == std::string_view::npos;
}

}  // namespace

bool EntryNameReader::Push(char byte)
{
    if (complete_)
        return true;
    bytes_ += byte;
    ++count_;
    if (!overlong_ && bytes_.size() > kMaxNameBytes + kMarker.size())
        overlong_ = true;
    // Past the limit only the last marker-length bytes matter.
    if (overlong_ && bytes_.size() > kMarker.size())
        bytes_.erase(0, bytes_.size() - kMarker.size());
    if (count_ > kMarker.size() && bytes_.size() >= kMarker.size()
        && std::string_view(bytes_).substr(bytes_.size() - kMarker.size()) == kMarkerText) {
        complete_ = true;
        bytes_.resize(overlong_ ? 0 : bytes_.size() - kMarker.size());
    }
    return complete_;
}

std::string_view EntryNameReader::Name() const
{
    return overlong_ ? std::string_view{} : std::string_view(bytes_);
}

NameVerdict CheckEntryName(std::string_view name, std::size_t baseLength)
{
    if (name.empty())
        return NameVerdict::Empty;
    if (name.size() > kMaxNameBytes)
        return NameVerdict::Overlong;
    if (baseLength + name.size() >= kMaxPath)
        return NameVerdict::TooLong;
    if (name.find('\0') != std::string_view::npos)
        return NameVerdict::ContainsNul;
    // The reader would stop at a marker inside the name, or at one that begins in its last
    // bytes (a name ending in the marker's first seven bytes).
    const std::string framed = std::string(name) + std::string(kMarkerText);
    if (framed.find(kMarkerText) != name.size())
        return NameVerdict::ContainsMarker;
    if (IsSeparator(name.front()))
        return NameVerdict::Rooted;
    if (name.find(':') != std::string_view::npos)
        return NameVerdict::Drive;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = start;
        while (end < name.size() && !IsSeparator(name[end]))
            ++end;
        const std::string_view component = name.substr(start, end - start);
        if (IsDotsComponent(component))
            return NameVerdict::DotsComponent;
        if (IsDeviceName(component))
            return NameVerdict::DeviceName;
        start = end + 1;
    }
    // Refused here rather than met later: a folder Windows cannot create ends the program.
    if (std::any_of(name.begin(), name.end(), IsBadCharacter))
        return NameVerdict::BadCharacter;
    if (name.find('/') != std::string_view::npos)
        return NameVerdict::Slash;
    const std::size_t lastFolder = name.rfind('\\');
    if (lastFolder != std::string_view::npos && baseLength + lastFolder >= kMaxFolderPath)
        return NameVerdict::FolderTooLong;
    return NameVerdict::Accepted;
}

const char* DescribeVerdict(NameVerdict verdict)
{
    switch (verdict) {
    case NameVerdict::Accepted: return "accepted";
    case NameVerdict::Empty: return "empty name";
    case NameVerdict::Overlong: return "name too long";
    case NameVerdict::TooLong: return "target path reaches 260 characters";
    case NameVerdict::ContainsNul: return "name holds a NUL byte";
    case NameVerdict::ContainsMarker: return "the entry marker would be found in the name";
    case NameVerdict::Rooted: return "name starts with a separator";
    case NameVerdict::Drive: return "name holds a colon (drive or stream)";
    case NameVerdict::DotsComponent: return "name climbs out with a dots component";
    case NameVerdict::DeviceName: return "name opens a device";
    case NameVerdict::BadCharacter: return "name holds a character Windows refuses";
    case NameVerdict::Slash: return "name holds a slash";
    case NameVerdict::FolderTooLong: return "folder path reaches 248 characters";
    }
    return "unknown";
}

std::uint32_t DecodeLength(const unsigned char bytes[kLengthSize])
{
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8
           | static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

std::vector<unsigned char> EncodeEntryHead(std::string_view name, std::uint32_t length)
{
    std::vector<unsigned char> head(name.begin(), name.end());
    head.insert(head.end(), kMarker.begin(), kMarker.end());
    for (int shift = 0; shift < 32; shift += 8)
        head.push_back(static_cast<unsigned char>(length >> shift));
    return head;
}

int ProgressPercent(std::uint64_t position, std::uint64_t length)
{
    if (position >= length)
        return 100;
    // Below 2^57 bytes position x 100 fits 64 bits; a larger stream is scaled down first.
    if (length >= (std::uint64_t{1} << 57))
        return static_cast<int>(position / (length / 100 + 1));
    return static_cast<int>(position * 100 / length);
}

std::vector<std::string> DirectoriesToCreate(std::string_view filePath)
{
    std::vector<std::string> folders;
    const std::size_t last = filePath.rfind('\\');
    if (last == std::string_view::npos)
        return folders;
    const std::string_view directory = filePath.substr(0, last);
    bool first = true;
    for (std::size_t i = 0; i < directory.size(); ++i) {
        if (directory[i] != '\\')
            continue;
        if (first) {
            first = false;
            continue;
        }
        folders.emplace_back(directory.substr(0, i));
    }
    folders.emplace_back(directory);
    return folders;
}

}  // namespace archive
