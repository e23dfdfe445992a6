// platform/dialogs/file.h
// CFile over a Win32 file handle and CMemFile over a memory block (e.g. a locked resource).
// Failures are results (FALSE, or fewer bytes), never exceptions.
#pragma once

#include <windows.h>

#include <ctime>

#include "platform/dialogs/cstring.h"
#include "platform/dialogs/object.h"

// A point in time, in seconds since 1970 (UTC); the fields are local time.
class CTime
{
public:
    CTime() = default;
    explicit CTime(std::time_t time) : m_time(time) {}
    explicit CTime(const FILETIME& fileTime);
    static CTime GetCurrentTime() { return CTime(std::time(nullptr)); }
    std::time_t GetTime() const { return m_time; }
    int GetYear() const { return Local().tm_year + 1900; }
    int GetMonth() const { return Local().tm_mon + 1; }
    int GetDay() const { return Local().tm_mday; }
    int GetHour() const { return Local().tm_hour; }
    int GetMinute() const { return Local().tm_min; }
    int GetSecond() const { return Local().tm_sec; }
    int GetDayOfWeek() const { return Local().tm_wday + 1; }
    bool operator==(const CTime& other) const { return m_time == other.m_time; }
    bool operator!=(const CTime& other) const { return m_time != other.m_time; }
    bool operator<(const CTime& other) const { return m_time < other.m_time; }

private:
    std::tm Local() const;
    std::time_t m_time = 0;
};

struct CFileStatus
{
    CTime m_ctime;
    CTime m_mtime;
    CTime m_atime;
    ULONGLONG m_size = 0;
    BYTE m_attribute = 0;  // the low byte of the FILE_ATTRIBUTE_* bits
    char m_szFullName[MAX_PATH] = {};
};

class CFile : public CObject
{
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
    };
    enum SeekPosition { begin = 0, current = 1, end = 2 };

    CFile() = default;
    CFile(LPCSTR fileName, UINT openFlags) { Open(fileName, openFlags); }
    ~CFile() override;

    HANDLE m_hFile = INVALID_HANDLE_VALUE;

    operator HANDLE() const { return m_hFile; }
    virtual BOOL Open(LPCSTR fileName, UINT openFlags);
    virtual void Close();
    virtual void Abort() { Close(); }
    // Bytes read; 0 at the end or on failure.
    virtual UINT Read(void* buffer, UINT count);
    // FALSE unless every byte was written.
    virtual BOOL Write(const void* buffer, UINT count);
    // The new position, or (ULONGLONG)-1 on failure.
    virtual ULONGLONG Seek(LONGLONG offset, UINT from);
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG GetLength() const;
    virtual BOOL SetLength(ULONGLONG length);
    virtual BOOL Flush();
    BOOL GetStatus(CFileStatus& status) const;
    CString GetFilePath() const { return m_fileName; }
    CString GetFileName() const;

    // Status of the file or folder of that name; FALSE when there is none.
    static BOOL GetStatus(LPCSTR fileName, CFileStatus& status);
    static BOOL Remove(LPCSTR fileName) { return ::DeleteFileA(fileName); }
    static BOOL Rename(LPCSTR oldName, LPCSTR newName) { return ::MoveFileA(oldName, newName); }

protected:
    CString m_fileName;
};

// A file over a fixed memory block that the caller keeps alive (a locked resource, a buffer):
// reads and writes stay within the block, and the length never exceeds it.
class CMemFile : public CFile
{
    DECLARE_DYNAMIC(CMemFile)
public:
    CMemFile() = default;
    CMemFile(BYTE* buffer, UINT size) { Attach(buffer, size); }
    ~CMemFile() override { Close(); }

    // The whole block is the file's content (a resource is read from its start).
    void Attach(BYTE* buffer, UINT size);
    BYTE* Detach();

    BOOL Open(LPCSTR, UINT) override { return FALSE; }
    void Close() override;
    UINT Read(void* buffer, UINT count) override;
    BOOL Write(const void* buffer, UINT count) override;
    ULONGLONG Seek(LONGLONG offset, UINT from) override;
    ULONGLONG GetPosition() const override { return m_position; }
    ULONGLONG GetLength() const override { return m_length; }
    BOOL SetLength(ULONGLONG length) override;
    BOOL Flush() override { return TRUE; }

private:
    BYTE* m_buffer = nullptr;
    UINT m_capacity = 0;
    UINT m_length = 0;
    UINT m_position = 0;
};
