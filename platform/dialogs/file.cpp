// platform/dialogs/file.cpp
#include "platform/dialogs/file.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CFile, CObject)
IMPLEMENT_DYNAMIC(CMemFile, CFile)

namespace {

constexpr ULONGLONG kSeekFailed = static_cast<ULONGLONG>(-1);

// 100 ns units between 1601 and 1970.
constexpr ULONGLONG kUnixEpoch = 116444736000000000ULL;

// BY_HANDLE_FILE_INFORMATION and WIN32_FILE_ATTRIBUTE_DATA name these fields alike.
template <class Info>
CFileStatus StatusOf(const Info& info)
{
    CFileStatus status{};
    status.m_ctime = CTime(info.ftCreationTime);
    status.m_mtime = CTime(info.ftLastWriteTime);
    status.m_atime = CTime(info.ftLastAccessTime);
    status.m_size = (static_cast<ULONGLONG>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    status.m_attribute = static_cast<BYTE>(info.dwFileAttributes);
    return status;
}

}  // namespace

CTime::CTime(const FILETIME& fileTime)
{
    ULONGLONG units = (static_cast<ULONGLONG>(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime;
    m_time = units > kUnixEpoch ? static_cast<std::time_t>((units - kUnixEpoch) / 10000000ULL) : 0;
}

std::tm CTime::Local() const
{
    std::tm fields = {};
    if (std::tm* local = std::localtime(&m_time))
        fields = *local;
    return fields;
}

CFile::~CFile()
{
    if (m_hFile != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_hFile);
}

BOOL CFile::Open(LPCSTR fileName, UINT openFlags)
{
    Close();
    if (!fileName)
        return FALSE;
    DWORD access = 0;
    switch (openFlags & 3) {
    case modeRead: access = GENERIC_READ; break;
    case modeWrite: access = GENERIC_WRITE; break;
    case modeReadWrite: access = GENERIC_READ | GENERIC_WRITE; break;
    default: return FALSE;
    }
    DWORD share = 0;
    switch (openFlags & 0x70) {
    case shareCompat:
    case shareDenyNone: share = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    case shareExclusive: share = 0; break;
    case shareDenyWrite: share = FILE_SHARE_READ; break;
    case shareDenyRead: share = FILE_SHARE_WRITE; break;
    default: return FALSE;
    }
    DWORD creation = OPEN_EXISTING;
    if (openFlags & modeCreate)
        creation = (openFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
    SECURITY_ATTRIBUTES security = {sizeof security, nullptr, (openFlags & modeNoInherit) ? FALSE : TRUE};
    HANDLE file = ::CreateFileA(fileName, access, share, &security, creation, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    m_hFile = file;
    m_fileName = fileName;
    return TRUE;
}

void CFile::Close()
{
    if (m_hFile != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    m_fileName.Empty();
}

UINT CFile::Read(void* buffer, UINT count)
{
    DWORD read = 0;
    if (count == 0 || !::ReadFile(m_hFile, buffer, count, &read, nullptr))
        return 0;
    return read;
}

BOOL CFile::Write(const void* buffer, UINT count)
{
    DWORD written = 0;
    if (count == 0)
        return TRUE;
    return ::WriteFile(m_hFile, buffer, count, &written, nullptr) && written == count;
}

// SetFilePointer and GetFileSize rather than their Ex forms, which Windows 9x lacks.
namespace {

ULONGLONG MoveFilePointer(HANDLE file, LONGLONG offset, DWORD method)
{
    LONG high = static_cast<LONG>(offset >> 32);
    ::SetLastError(NO_ERROR);
    DWORD low = ::SetFilePointer(file, static_cast<LONG>(offset & 0xFFFFFFFF), &high, method);
    if (low == INVALID_SET_FILE_POINTER && ::GetLastError() != NO_ERROR)
        return kSeekFailed;
    return (static_cast<ULONGLONG>(static_cast<DWORD>(high)) << 32) | low;
}

}  // namespace

ULONGLONG CFile::Seek(LONGLONG offset, UINT from)
{
    return MoveFilePointer(m_hFile, offset, from == current ? FILE_CURRENT : from == end ? FILE_END : FILE_BEGIN);
}

ULONGLONG CFile::GetPosition() const
{
    return MoveFilePointer(m_hFile, 0, FILE_CURRENT);
}

ULONGLONG CFile::GetLength() const
{
    DWORD high = 0;
    ::SetLastError(NO_ERROR);
    DWORD low = ::GetFileSize(m_hFile, &high);
    if (low == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR)
        return 0;
    return (static_cast<ULONGLONG>(high) << 32) | low;
}

BOOL CFile::SetLength(ULONGLONG length)
{
    ULONGLONG position = GetPosition();
    if (Seek(static_cast<LONGLONG>(length), begin) == kSeekFailed || !::SetEndOfFile(m_hFile))
        return FALSE;
    Seek(static_cast<LONGLONG>(position < length ? position : length), begin);
    return TRUE;
}

BOOL CFile::Flush() { return m_hFile != INVALID_HANDLE_VALUE && ::FlushFileBuffers(m_hFile); }

CString CFile::GetFileName() const
{
    int slash = m_fileName.ReverseFind('\\');
    return slash < 0 ? m_fileName : m_fileName.Mid(slash + 1);
}

BOOL CFile::GetStatus(CFileStatus& status) const
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(m_hFile, &info))
        return FALSE;
    status = StatusOf(info);
    lstrcpynA(status.m_szFullName, m_fileName, MAX_PATH);
    return TRUE;
}

BOOL CFile::GetStatus(LPCSTR fileName, CFileStatus& status)
{
    if (!fileName || !*fileName)
        return FALSE;
    // FindFirstFileA (GetFileAttributesExA is not in Windows 95) would take these as wildcards
    // and answer for another file; no name holds them. None is a trail byte of a double-byte
    // code page.
    for (LPCSTR c = fileName; *c; ++c) {
        if (*c == '*' || *c == '?' || *c == '<' || *c == '>' || *c == '"')
            return FALSE;
    }
    char fullName[MAX_PATH];
    const DWORD length = ::GetFullPathNameA(fileName, MAX_PATH, fullName, nullptr);
    if (length == 0 || length >= MAX_PATH)
        return FALSE;
    // A folder is found by its name without the separator after it (a drive's root keeps it);
    // a file named with one is none.
    char search[MAX_PATH];
    lstrcpyA(search, fullName);
    bool folderOnly = false;
    for (;;) {
        char* last = ::CharPrevA(search, search + lstrlenA(search));
        if (last == search || (*last != '\\' && *last != '/'))
            break;
        const char before = *::CharPrevA(search, last);
        if (before == ':' || before == '\\' || before == '/')
            break;
        *last = '\0';
        folderOnly = true;
    }
    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileA(search, &found);
    if (find != INVALID_HANDLE_VALUE) {
        ::FindClose(find);
        if (folderOnly && !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            return FALSE;
        status = StatusOf(found);
    } else {
        // A drive's root or a share is no entry of a folder: only its attributes can be known.
        const DWORD attributes = ::GetFileAttributesA(fullName);
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return FALSE;
        status = CFileStatus{};
        status.m_attribute = static_cast<BYTE>(attributes);
    }
    lstrcpynA(status.m_szFullName, fullName, MAX_PATH);
    return TRUE;
}

void CMemFile::Attach(BYTE* buffer, UINT size)
{
    m_buffer = buffer;
    m_capacity = buffer ? size : 0;
    m_length = m_capacity;
    m_position = 0;
}

BYTE* CMemFile::Detach()
{
    BYTE* buffer = m_buffer;
    m_buffer = nullptr;
    m_capacity = m_length = m_position = 0;
    return buffer;
}

void CMemFile::Close() { Detach(); }

UINT CMemFile::Read(void* buffer, UINT count)
{
    if (!m_buffer || m_position >= m_length)
        return 0;
    UINT available = m_length - m_position;
    UINT taken = count < available ? count : available;
    std::memcpy(buffer, m_buffer + m_position, taken);
    m_position += taken;
    return taken;
}

BOOL CMemFile::Write(const void* buffer, UINT count)
{
    if (!m_buffer || count > m_capacity - m_position)
        return FALSE;
    std::memcpy(m_buffer + m_position, buffer, count);
    m_position += count;
    if (m_position > m_length)
        m_length = m_position;
    return TRUE;
}

ULONGLONG CMemFile::Seek(LONGLONG offset, UINT from)
{
    LONGLONG base = from == current ? m_position : from == end ? m_length : 0;
    LONGLONG target = base + offset;
    if (target < 0 || target > static_cast<LONGLONG>(m_length))
        return kSeekFailed;
    m_position = static_cast<UINT>(target);
    return m_position;
}

BOOL CMemFile::SetLength(ULONGLONG length)
{
    if (length > m_capacity)
        return FALSE;
    m_length = static_cast<UINT>(length);
    if (m_position > m_length)
        m_position = m_length;
    return TRUE;
}
