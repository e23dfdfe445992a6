// brimlet/archive/pack_archive.cpp
#include "brimlet/archive/pack_archive.h"

#include <cstdio>
#include <vector>

#include "brimlet/archive/gzip_file.h"
#include "core/archive/format.h"

namespace {

using archive::EntryResult;

constexpr ULONGLONG kSeekFailed = static_cast<ULONGLONG>(-1);

// The archive stream as the core reader sees it.
class StreamSource final : public archive::ByteSource {
public:
    explicit StreamSource(CFile& stream) : m_stream(stream) {}
    std::size_t Read(void* buffer, std::size_t count) override
    {
        return m_stream.Read(buffer, static_cast<UINT>(count));
    }
    std::uint64_t Position() override { return m_stream.GetPosition(); }
    std::uint64_t Length() override { return m_stream.GetLength(); }
    bool Skip(std::uint64_t count) override
    {
        const ULONGLONG position = m_stream.GetPosition();
        if (position == kSeekFailed || count > m_stream.GetLength() - position)
            return false;
        return m_stream.Seek(static_cast<LONGLONG>(count), CFile::current) != kSeekFailed;
    }

private:
    CFile& m_stream;
};

class FileSink final : public archive::ByteSink {
public:
    explicit FileSink(CFile& file) : m_file(file) {}
    bool Write(const void* buffer, std::size_t count) override
    {
        return m_file.Write(buffer, static_cast<UINT>(count)) != FALSE;
    }

private:
    CFile& m_file;
};

// A fresh, not yet taken file name with the prefix "T" in the folder TMP names, or, when TMP
// names no folder, in `fallback` (a folder that exists). The file exists, empty, when this
// returns TRUE.
BOOL MakeTemporaryPath(LPCSTR fallback, CString& path)
{
    char folder[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableA("TMP", folder, sizeof folder);
    const DWORD attributes = length > 0 && length < sizeof folder ? ::GetFileAttributesA(folder) : INVALID_FILE_ATTRIBUTES;
    const char* chosen = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? folder : fallback;
    char name[MAX_PATH] = {};
    if (!::GetTempFileNameA(chosen, "T", 0, name))
        return FALSE;
    path = name;
    return TRUE;
}

// The folder part of a path, without its last backslash ("" when there is none).
CString FolderOf(const CString& path)
{
    const int slash = path.ReverseFind('\\');
    return slash < 0 ? CString() : path.Left(slash);
}

CString TrimTrailingBlanks(LPCSTR text)
{
    CString trimmed = text;
    int length = trimmed.GetLength();
    while (length > 0) {
        const char c = trimmed[length - 1];
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\v' && c != '\f')
            break;
        --length;
    }
    return trimmed.Left(length);
}

}  // namespace

CPackArchive::~CPackArchive()
{
    if (m_bOpen)
        CloseArchive();
}

BOOL CPackArchive::OpenArchiveFile(LPCSTR path, BOOL create)
{
    if (m_bOpen)
        CloseArchive();
    if (!path)
        return FALSE;
    CString name = TrimTrailingBlanks(path);
    if (name.GetLength() < 2 || name.Right(2) != ".r")
        name += ".r";
    CFileStatus status;
    if (!create && !CFile::GetStatus(name, status))
        return FALSE;
    CFile* stream = new CFile;
    const UINT flags = CFile::modeReadWrite | CFile::shareExclusive | (create ? UINT{CFile::modeCreate} : 0u);
    if (!stream->Open(name, flags)) {
        delete stream;
        return FALSE;
    }
    m_pStream = stream;
    m_bOpen = true;
    m_bFromResource = false;
    m_lastResult = EntryResult::End;
    m_entriesNotWritten = 0;
    return TRUE;
}

BOOL CPackArchive::OpenArchiveResource(int resourceId)
{
    char name[16];
    std::snprintf(name, sizeof name, "#%d", resourceId);
    HRSRC resource = ::FindResourceA(nullptr, name, "RFILE");
    if (!resource)
        return FALSE;
    HGLOBAL loaded = ::LoadResource(nullptr, resource);
    void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes)
        return FALSE;
    // A second open must not leak the first stream.
    if (m_bOpen)
        CloseArchive();
    m_pStream = new CMemFile(static_cast<BYTE*>(bytes), ::SizeofResource(nullptr, resource));
    m_bOpen = true;
    m_bFromResource = true;
    m_lastResult = EntryResult::End;
    m_entriesNotWritten = 0;
    return TRUE;
}

BOOL CPackArchive::RewindArchive()
{
    if (!m_bOpen)
        return FALSE;
    m_pStream->SeekToBegin();
    m_lastResult = EntryResult::End;
    m_entriesNotWritten = 0;
    return TRUE;
}

int CPackArchive::ExtractNextEntry()
{
    if (!m_bOpen) {
        m_lastResult = EntryResult::NotOpen;
        return 0;
    }
    StreamSource source(*m_pStream);
    const archive::EntryHead head = archive::ReadEntryHead(source, m_strBaseDirectory.GetLength());
    if (head.result != EntryResult::Extracted) {
        m_lastResult = head.result;
        return 0;
    }
    // A name that would leave the folder, open a device, overflow the path or name a folder
    // Windows cannot create is passed over without writing anything.
    if (head.verdict != archive::NameVerdict::Accepted) {
        m_lastResult = archive::SkipEntryData(source, head.length);
        if (m_lastResult != EntryResult::Skipped)
            return 0;
        ++m_entriesNotWritten;
        return 1;
    }

    const CString target = m_strBaseDirectory + head.name.c_str();
    MakeDirectoriesForPath(target);

    CString temporaryPath;
    if (!MakeTemporaryPath(FolderOf(target), temporaryPath)) {
        m_lastResult = EntryResult::CopyFailed;
        return 0;
    }
    CFile temporary;
    if (!temporary.Open(temporaryPath, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive)) {
        ::DeleteFileA(temporaryPath);
        m_lastResult = EntryResult::CopyFailed;
        return 0;
    }
    FileSink sink(temporary);
    const EntryResult copied = archive::CopyEntryData(source, head.length, sink);
    temporary.Close();
    if (copied != EntryResult::Extracted) {
        ::DeleteFileA(temporaryPath);
        m_lastResult = copied;
        return 0;
    }
    const BOOL written = DecompressFile(temporaryPath, target);
    ::DeleteFileA(temporaryPath);
    if (written) {
        m_lastResult = EntryResult::Extracted;
    } else {
        m_lastResult = EntryResult::NotWritten;
        ++m_entriesNotWritten;
    }
    return 1;
}

BOOL CPackArchive::AddArchiveEntry(LPCSTR relativeName)
{
    if (!m_bOpen || m_bFromResource || !relativeName)
        return FALSE;
    if (relativeName[0] == '\\')
        ++relativeName;
    // What the reader would refuse, or could not read back, is not written.
    if (archive::CheckEntryName(relativeName, m_strBaseDirectory.GetLength()) != archive::NameVerdict::Accepted)
        return FALSE;
    if (m_pStream->SeekToEnd() == kSeekFailed)
        return FALSE;

    CString temporaryPath;
    if (!MakeTemporaryPath(FolderOf(m_strBaseDirectory + relativeName), temporaryPath))
        return FALSE;
    if (!CompressFile(m_strBaseDirectory + relativeName, temporaryPath)) {
        ::DeleteFileA(temporaryPath);
        return FALSE;
    }
    CFile compressed;
    if (!compressed.Open(temporaryPath, CFile::modeRead | CFile::shareExclusive)) {
        ::DeleteFileA(temporaryPath);
        return FALSE;
    }
    const ULONGLONG length = compressed.GetLength();
    BOOL written = length <= 0xFFFFFFFFu;
    if (written) {
        const std::vector<unsigned char> head = archive::EncodeEntryHead(relativeName, static_cast<std::uint32_t>(length));
        written = m_pStream->Write(head.data(), static_cast<UINT>(head.size()));
    }
    char piece[archive::kCopyPieceSize];
    for (ULONGLONG left = length; written && left > 0;) {
        const UINT got = compressed.Read(piece, left < sizeof piece ? static_cast<UINT>(left) : static_cast<UINT>(sizeof piece));
        written = got > 0 && m_pStream->Write(piece, got);
        left -= got;
    }
    compressed.Close();
    ::DeleteFileA(temporaryPath);
    return written;
}

BOOL CPackArchive::CloseArchive()
{
    if (m_pStream) {
        m_pStream->Close();
        delete m_pStream;
        m_pStream = nullptr;
    }
    m_bOpen = false;
    m_bFromResource = false;
    return TRUE;
}

int CPackArchive::GetArchiveProgress()
{
    if (!m_bOpen)
        return -1;
    return archive::ProgressPercent(m_pStream->GetPosition(), m_pStream->GetLength());
}

BOOL MakeDirectoriesForPath(LPCSTR filePath)
{
    if (!filePath)
        return TRUE;
    for (const std::string& folder : archive::DirectoriesToCreate(filePath))
        CreateDir(folder.c_str());
    return TRUE;
}

BOOL CreateDir(LPCSTR folder)
{
    CFileStatus status;
    if (CFile::GetStatus(folder, status))
        return TRUE;
    if (!::CreateDirectoryA(folder, nullptr))
        ::FatalAppExitA(0, "Couldn't create dir");
    return TRUE;
}
