// core/archive/reader.cpp
#include "core/archive/reader.h"

#include <algorithm>

namespace archive {

EntryHead ReadEntryHead(ByteSource& source, std::size_t baseLength)
{
    EntryHead head;
    if (source.Position() >= source.Length()) {
        head.result = EntryResult::End;
        return head;
    }
    EntryNameReader name;
    for (;;) {
        char byte = 0;
        if (source.Read(&byte, 1) != 1) {
            head.result = EntryResult::Truncated;
            return head;
        }
        if (name.Push(byte))
            break;
    }
    unsigned char length[kLengthSize] = {};
    std::size_t got = 0;
    while (got < kLengthSize) {
        const std::size_t read = source.Read(length + got, kLengthSize - got);
        if (read == 0) {
            head.result = EntryResult::Truncated;
            return head;
        }
        got += read;
    }
    head.result = EntryResult::Extracted;
    head.name.assign(name.Name());
    head.length = DecodeLength(length);
    head.verdict = name.Overlong() ? NameVerdict::Overlong : CheckEntryName(head.name, baseLength);
    return head;
}

EntryResult CopyEntryData(ByteSource& source, std::uint32_t length, ByteSink& sink)
{
    unsigned char piece[kCopyPieceSize];
    std::uint32_t left = length;
    while (left > 0) {
        const std::size_t read = source.Read(piece, std::min<std::size_t>(kCopyPieceSize, left));
        if (read == 0)
            return EntryResult::Truncated;
        if (!sink.Write(piece, read))
            return EntryResult::CopyFailed;
        left -= static_cast<std::uint32_t>(read);
    }
    return EntryResult::Extracted;
}

EntryResult SkipEntryData(ByteSource& source, std::uint32_t length)
{
    return source.Skip(length) ? EntryResult::Skipped : EntryResult::Truncated;
}

}  // namespace archive
