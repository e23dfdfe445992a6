#include "tests/native/archive/support/host_archive.h"

#include <sys/mman.h>
#include <unistd.h>
#include <zlib.h>

#include <cstring>
#include <fstream>
#include <stdexcept>

namespace host_archive {

std::size_t MemorySource::Read(void* buffer, std::size_t count)
{
    const std::size_t taken = std::min(count, bytes_.size() - position_);
    if (taken > 0)
        std::memcpy(buffer, bytes_.data() + position_, taken);
    position_ += taken;
    return taken;
}

bool MemorySource::Skip(std::uint64_t count)
{
    if (count > bytes_.size() - position_)
        return false;
    position_ += static_cast<std::size_t>(count);
    return true;
}

bool VectorSink::Write(const void* buffer, std::size_t count)
{
    const auto* first = static_cast<const unsigned char*>(buffer);
    bytes.insert(bytes.end(), first, first + count);
    return true;
}

std::optional<Bytes> Gunzip(std::span<const unsigned char> member, std::size_t limit)
{
    // zlib's gzip reader works on a file descriptor; an anonymous memory file stands in for the
    // temporary file Brimlet writes.
    const int fd = memfd_create("member", 0);
    if (fd < 0)
        throw std::runtime_error("memfd_create failed");
    std::size_t written = 0;
    while (written < member.size()) {
        const ssize_t n = ::write(fd, member.data() + written, member.size() - written);
        if (n <= 0) {
            ::close(fd);
            throw std::runtime_error("write to the memory file failed");
        }
        written += static_cast<std::size_t>(n);
    }
    ::lseek(fd, 0, SEEK_SET);
    gzFile file = gzdopen(fd, "rb");
    if (!file) {
        ::close(fd);
        return std::nullopt;
    }
    Bytes content;
    unsigned char chunk[16384];
    bool damaged = false;
    for (;;) {
        const int n = gzread(file, chunk, sizeof chunk);
        if (n < 0) {
            damaged = true;
            break;
        }
        if (n == 0) {
            // A member cut short: zlib gives what it could decode and notes the cut.
            int error = Z_OK;
            gzerror(file, &error);
            damaged = error == Z_BUF_ERROR;
            break;
        }
        content.insert(content.end(), chunk, chunk + n);
        if (content.size() > limit) {
            damaged = true;
            break;
        }
    }
    gzclose(file);  // closes fd
    if (damaged)
        return std::nullopt;
    return content;
}

Bytes GzipLikeWindows(std::span<const unsigned char> content)
{
    z_stream stream{};
    if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2 failed");
    Bytes member(deflateBound(&stream, content.size()) + 16);
    stream.next_in = const_cast<unsigned char*>(content.data());
    stream.avail_in = static_cast<uInt>(content.size());
    stream.next_out = member.data();
    stream.avail_out = static_cast<uInt>(member.size());
    if (deflate(&stream, Z_FINISH) != Z_STREAM_END)
        throw std::runtime_error("deflate did not finish");
    member.resize(stream.total_out);
    deflateEnd(&stream);
    member[9] = 0x0B;  // the operating system byte zlib's Windows builds of old wrote
    return member;
}

Bytes Entry(const std::string& name, std::span<const unsigned char> data)
{
    Bytes entry = archive::EncodeEntryHead(name, static_cast<std::uint32_t>(data.size()));
    entry.insert(entry.end(), data.begin(), data.end());
    return entry;
}

Bytes Entry(const std::string& name, const std::string& content)
{
    const Bytes plain(content.begin(), content.end());
    return Entry(name, GzipLikeWindows(plain));
}

namespace {

template <class Write>
Extraction Read(std::span<const unsigned char> bytes, std::size_t baseLength, Write write)
{
    Extraction extraction;
    MemorySource source(bytes);
    for (;;) {
        const archive::EntryHead head = archive::ReadEntryHead(source, baseLength);
        if (head.result != archive::EntryResult::Extracted) {
            extraction.last = head.result;
            return extraction;
        }
        ExtractedEntry entry{head.name, archive::EntryResult::Extracted, {}};
        if (head.verdict != archive::NameVerdict::Accepted) {
            entry.result = archive::SkipEntryData(source, head.length);
        } else {
            VectorSink data;
            entry.result = archive::CopyEntryData(source, head.length, data);
            if (entry.result == archive::EntryResult::Extracted) {
                std::optional<Bytes> content = Gunzip(data.bytes);
                if (!content || !write(head.name, *content))
                    entry.result = archive::EntryResult::NotWritten;
                else
                    entry.content = std::move(*content);
            }
        }
        const archive::EntryResult result = entry.result;
        extraction.entries.push_back(std::move(entry));
        if (!archive::MayContinue(result)) {
            extraction.last = result;
            return extraction;
        }
    }
}

}  // namespace

Extraction ReadArchive(std::span<const unsigned char> bytes, std::size_t baseLength)
{
    return Read(bytes, baseLength, [](const std::string&, const Bytes&) { return true; });
}

Extraction ExtractTo(std::span<const unsigned char> bytes, const std::filesystem::path& folder,
                     std::size_t windowsBaseLength)
{
    return Read(bytes, windowsBaseLength, [&](const std::string& name, const Bytes& content) {
        std::string relative = name;
        for (char& c : relative) {
            if (c == '\\')
                c = '/';
        }
        const std::filesystem::path target = folder / relative;
        std::error_code error;
        std::filesystem::create_directories(target.parent_path(), error);
        if (error)
            return false;
        std::ofstream out(target, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out.write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(content.size()));
        return static_cast<bool>(out);
    });
}

}  // namespace host_archive
