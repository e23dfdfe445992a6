// core/sim/image_file.cpp
#include "core/sim/smi_controller.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace sim {

namespace {

// Large enough that a FAT32 build of a few thousand single-sector writes in a row goes out in a
// handful of system calls.
constexpr std::uint32_t kPendingCapacity = 1u << 20;

#ifdef _WIN32
int OpenReadWrite(const std::string& path) { return _open(path.c_str(), _O_RDWR | _O_BINARY | _O_CREAT, _S_IREAD | _S_IWRITE); }
std::int64_t FileSize(int fd) { return _lseeki64(fd, 0, SEEK_END); }
void CloseFd(int fd) { _close(fd); }

// msvcrt has no positioned I/O: seek, then move the bytes.
long long PositionedRead(int fd, std::uint64_t offset, std::uint8_t* data, std::uint32_t length)
{
    if (_lseeki64(fd, static_cast<__int64>(offset), SEEK_SET) < 0)
        return -1;
    return _read(fd, data, length);
}
long long PositionedWrite(int fd, std::uint64_t offset, const std::uint8_t* data, std::uint32_t length)
{
    if (_lseeki64(fd, static_cast<__int64>(offset), SEEK_SET) < 0)
        return -1;
    return _write(fd, data, length);
}
#else
int OpenReadWrite(const std::string& path) { return ::open(path.c_str(), O_RDWR | O_CREAT, 0644); }
std::int64_t FileSize(int fd)
{
    struct stat st {};
    return ::fstat(fd, &st) == 0 ? static_cast<std::int64_t>(st.st_size) : -1;
}
void CloseFd(int fd) { ::close(fd); }
long long PositionedRead(int fd, std::uint64_t offset, std::uint8_t* data, std::uint32_t length)
{
    return ::pread(fd, data, length, static_cast<off_t>(offset));
}
long long PositionedWrite(int fd, std::uint64_t offset, const std::uint8_t* data, std::uint32_t length)
{
    return ::pwrite(fd, data, length, static_cast<off_t>(offset));
}
#endif

}  // namespace

ImageFile::~ImageFile() { Close(); }

bool ImageFile::Open(const std::string& path, std::uint64_t minimumSize, std::string& error)
{
    Close();
    if (path.empty()) {
        error = "no image file given";
        return false;
    }
    fd_ = OpenReadWrite(path);
    if (fd_ < 0) {
        error = "cannot open image file '" + path + "': " + std::strerror(errno);
        return false;
    }
    const std::int64_t size = FileSize(fd_);
    if (size < 0) {
        error = "cannot read the size of image file '" + path + "'";
        Close();
        return false;
    }
    size_ = static_cast<std::uint64_t>(size);
    if (size_ < minimumSize) {
        // One byte at the end gives the file its size and leaves the rest a hole.
        const std::uint8_t zero = 0;
        if (PositionedWrite(fd_, minimumSize - 1, &zero, 1) != 1) {
            error = "cannot extend image file '" + path + "'";
            Close();
            return false;
        }
        size_ = minimumSize;
    }
    pending_ = std::make_unique<std::uint8_t[]>(kPendingCapacity);
    pendingLength_ = 0;
    return true;
}

bool ImageFile::RawRead(std::uint64_t offset, std::uint8_t* data, std::uint32_t length)
{
    std::uint32_t done = 0;
    while (done < length) {
        const long long got = PositionedRead(fd_, offset + done, data + done, length - done);
        if (got < 0)
            return false;
        if (got == 0) {
            // Past the end of a short image the drive reads as zeros.
            std::memset(data + done, 0, length - done);
            return true;
        }
        done += static_cast<std::uint32_t>(got);
    }
    return true;
}

bool ImageFile::RawWrite(std::uint64_t offset, const std::uint8_t* data, std::uint32_t length)
{
    std::uint32_t done = 0;
    while (done < length) {
        const long long put = PositionedWrite(fd_, offset + done, data + done, length - done);
        if (put <= 0)
            return false;
        done += static_cast<std::uint32_t>(put);
    }
    return true;
}

bool ImageFile::Read(std::uint64_t offset, std::uint8_t* data, std::uint32_t length)
{
    if (fd_ < 0)
        return false;
    if (pendingLength_ != 0 && offset < pendingOffset_ + pendingLength_ && pendingOffset_ < offset + length) {
        if (!Flush())
            return false;
    }
    return RawRead(offset, data, length);
}

bool ImageFile::Write(std::uint64_t offset, const std::uint8_t* data, std::uint32_t length)
{
    if (fd_ < 0)
        return false;
    const std::uint64_t pendingEnd = pendingOffset_ + pendingLength_;
    if (pendingLength_ != 0 && offset >= pendingOffset_ && offset + length <= pendingEnd) {
        std::memcpy(pending_.get() + (offset - pendingOffset_), data, length);
        return true;
    }
    if (pendingLength_ != 0 && offset == pendingEnd && pendingLength_ + length <= kPendingCapacity) {
        std::memcpy(pending_.get() + pendingLength_, data, length);
        pendingLength_ += length;
        if (offset + length > size_)
            size_ = offset + length;
        return true;
    }
    if (!Flush())
        return false;
    if (offset + length > size_)
        size_ = offset + length;
    if (length > kPendingCapacity)
        return RawWrite(offset, data, length);
    std::memcpy(pending_.get(), data, length);
    pendingOffset_ = offset;
    pendingLength_ = length;
    return true;
}

bool ImageFile::Flush()
{
    if (fd_ < 0 || pendingLength_ == 0)
        return true;
    const bool ok = RawWrite(pendingOffset_, pending_.get(), pendingLength_);
    pendingLength_ = 0;
    return ok;
}

void ImageFile::Close()
{
    if (fd_ < 0)
        return;
    Flush();
    CloseFd(fd_);
    fd_ = -1;
    size_ = 0;
}

}  // namespace sim
