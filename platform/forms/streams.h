// platform/forms/streams.h
// Streams: a file in create mode, and a program resource read whole from memory. Failures leave
// as exceptions (exceptions.h).
#pragma once

#include <windows.h>

#include <string>

#include "platform/forms/components.h"

enum TSeekOrigin { soFromBeginning = 0, soFromCurrent = 1, soFromEnd = 2 };

class TStream : public TObject {
public:
    // Bytes moved; fewer at the end or on failure.
    virtual long Read(void* buffer, long count) = 0;
    virtual long Write(const void* buffer, long count) = 0;
    // The new position; -1 on failure.
    virtual long Seek(long offset, TSeekOrigin origin) = 0;

    long Position() { return Seek(0, soFromCurrent); }
    long Size();
    // Every byte or EWriteError.
    void WriteBuffer(const void* buffer, long count);
    const char* ClassName() const override { return "TStream"; }
};

class THandleStream : public TStream {
public:
    explicit THandleStream(HANDLE handle) : handle_(handle) {}
    HANDLE Handle() const { return handle_; }
    long Read(void* buffer, long count) override;
    long Write(const void* buffer, long count) override;
    long Seek(long offset, TSeekOrigin origin) override;
    const char* ClassName() const override { return "THandleStream"; }

protected:
    HANDLE handle_;
};

// Create mode: a new file, or an earlier one emptied (CREATE_ALWAYS), opened for reading and
// writing and shared with nobody while the stream lives.
constexpr unsigned short fmCreate = 0xFFFF;

class TFileStream : public THandleStream {
public:
    // Only fmCreate is offered. EFCreateError when the file cannot be created.
    TFileStream(const std::string& fileName, unsigned short mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;
    const std::string& FileName() const { return fileName_; }
    const char* ClassName() const override { return "TFileStream"; }

private:
    std::string fileName_;
};

// A stream over a memory block it does not own; reading only.
class TCustomMemoryStream : public TStream {
public:
    const void* Memory() const { return memory_; }
    long Read(void* buffer, long count) override;
    // A read-only stream: EStreamError.
    long Write(const void* buffer, long count) override;
    long Seek(long offset, TSeekOrigin origin) override;
    // The whole block into a new file (TFileStream, fmCreate).
    void SaveToFile(const std::string& fileName);
    const char* ClassName() const override { return "TCustomMemoryStream"; }

protected:
    void SetPointer(const void* memory, long size);

private:
    const void* memory_ = nullptr;
    long size_ = 0;
    long position_ = 0;
};

// A resource of a module, found by name and type (names and types match whatever their case,
// as Windows looks them up). EResNotFound when the module has no such resource.
class TResourceStream : public TCustomMemoryStream {
public:
    TResourceStream(HINSTANCE instance, const std::string& resourceName, const char* resourceType);
    const char* ClassName() const override { return "TResourceStream"; }
};
