// platform/forms/streams.cpp
#include "platform/forms/streams.h"

#include <cstring>

#include "platform/forms/exceptions.h"

long TStream::Size()
{
    const long position = Seek(0, soFromCurrent);
    const long size = Seek(0, soFromEnd);
    Seek(position, soFromBeginning);
    return size;
}

void TStream::WriteBuffer(const void* buffer, long count)
{
    if (count != 0 && Write(buffer, count) != count)
        throw EWriteError();
}

long THandleStream::Read(void* buffer, long count)
{
    DWORD done = 0;
    if (count <= 0 || !::ReadFile(handle_, buffer, static_cast<DWORD>(count), &done, nullptr))
        return 0;
    return static_cast<long>(done);
}

long THandleStream::Write(const void* buffer, long count)
{
    DWORD done = 0;
    if (count <= 0 || !::WriteFile(handle_, buffer, static_cast<DWORD>(count), &done, nullptr))
        return 0;
    return static_cast<long>(done);
}

long THandleStream::Seek(long offset, TSeekOrigin origin)
{
    const DWORD position = ::SetFilePointer(handle_, offset, nullptr, static_cast<DWORD>(origin));
    return position == INVALID_SET_FILE_POINTER ? -1 : static_cast<long>(position);
}

TFileStream::TFileStream(const std::string& fileName, unsigned short mode)
    : THandleStream(INVALID_HANDLE_VALUE), fileName_(fileName)
{
    if (mode != fmCreate)
        throw EFCreateError(fileName);
    handle_ = ::CreateFileA(fileName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE)
        throw EFCreateError(fileName);
}

TFileStream::~TFileStream()
{
    if (handle_ != INVALID_HANDLE_VALUE)
        ::CloseHandle(handle_);
}

void TCustomMemoryStream::SetPointer(const void* memory, long size)
{
    memory_ = memory;
    size_ = size;
    position_ = 0;
}

long TCustomMemoryStream::Read(void* buffer, long count)
{
    if (count <= 0 || position_ >= size_)
        return 0;
    const long moved = count < size_ - position_ ? count : size_ - position_;
    std::memcpy(buffer, static_cast<const char*>(memory_) + position_, moved);
    position_ += moved;
    return moved;
}

long TCustomMemoryStream::Write(const void*, long)
{
    throw EStreamError("Cannot write to a read-only memory stream");
}

long TCustomMemoryStream::Seek(long offset, TSeekOrigin origin)
{
    long base = 0;
    if (origin == soFromCurrent)
        base = position_;
    else if (origin == soFromEnd)
        base = size_;
    if (offset < -base)
        return -1;
    position_ = base + offset;
    return position_;
}

void TCustomMemoryStream::SaveToFile(const std::string& fileName)
{
    TFileStream file(fileName, fmCreate);
    file.WriteBuffer(memory_, size_);
}

TResourceStream::TResourceStream(HINSTANCE instance, const std::string& resourceName,
                                 const char* resourceType)
{
    HRSRC found = ::FindResourceA(instance, resourceName.c_str(), resourceType);
    HGLOBAL loaded = found ? ::LoadResource(instance, found) : nullptr;
    const void* memory = loaded ? ::LockResource(loaded) : nullptr;
    if (!memory)
        throw EResNotFound(resourceName);
    SetPointer(memory, static_cast<long>(::SizeofResource(instance, found)));
}
