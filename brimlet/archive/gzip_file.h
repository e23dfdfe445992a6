// brimlet/archive/gzip_file.h
// Single files compressed and decompressed through zlib's gzip file functions: the abstract
// CCompressedFile and CGzipFile, and the two copies CompressFile and DecompressFile that the
// packed firmware archive makes through temporary files.
#pragma once

#include <windows.h>

#include <zlib.h>

// A compressed file: closed (mode 0), open for writing (1) or reading (2).
class CCompressedFile
{
public:
    enum { modeClosed = 0, modeWriting = 1, modeReading = 2 };

    CCompressedFile() = default;
    CCompressedFile(const CCompressedFile&) = delete;
    CCompressedFile& operator=(const CCompressedFile&) = delete;
    virtual ~CCompressedFile();
    virtual BOOL SetMode(int mode);
    virtual BOOL Close() = 0;
    virtual BOOL IsOpen() = 0;
    virtual BOOL Write(const void* buffer, int length) = 0;
    virtual BOOL WriteString(LPCSTR text) = 0;
    virtual int Read(void* buffer, int length) = 0;
    // Hands out the whole content in a buffer of `new BYTE[]` that the caller frees with
    // delete[]; TRUE when at least one byte was read.
    virtual BOOL ReadAll(BYTE** buffer, int* size) = 0;
    virtual int SetParams() = 0;

protected:
    int m_mode = modeClosed;
    int m_level = Z_DEFAULT_COMPRESSION;
    int m_strategy = Z_DEFAULT_STRATEGY;
};

class CGzipFile : public CCompressedFile
{
public:
    CGzipFile() = default;
    ~CGzipFile() override;

    // mode 1 writes a new gzip file ("wb"); mode 2 reads one ("rb"), which must be writable.
    BOOL Open(LPCSTR path, int mode);
    BOOL Close() override;
    BOOL IsOpen() override { return m_file != nullptr; }
    BOOL Write(const void* buffer, int length) override;
    BOOL WriteString(LPCSTR text) override;
    // gzread's result: bytes, 0 at the end, -1 on an error; 0 when not reading.
    int Read(void* buffer, int length) override;
    // FALSE, with no buffer, also for a member cut short (HadReadError).
    BOOL ReadAll(BYTE** buffer, int* size) override;
    // As ReadAll, with a terminating 0 after the content.
    BOOL ReadAllText(char** buffer);
    int SetParams() override;
    BOOL Flush(int flushMode);
    BOOL IsEof();

    // The last ReadAll or ReadAllText met a member zlib could not read (corrupt or cut short),
    // as opposed to a clean end: what tells an empty member from a damaged one.
    BOOL HadReadError() const { return m_readError; }

private:
    BOOL ReadChunks(BYTE** buffer, int* size, int extra);

    gzFile m_file = nullptr;
    DWORD m_compressedSize = 0;
    BOOL m_readError = FALSE;
};

// Compresses `source` into a new gzip file `destination` (an existing one is deleted first).
// FALSE when either file cannot be opened or the copy does not complete.
BOOL CompressFile(LPCSTR source, LPCSTR destination);

// Decompresses the gzip file `source` into `destination`. The whole member is read before the
// destination is created, so a damaged member (FALSE) leaves a file already on disk as it was;
// an empty member gives an empty file. A destination that cannot be created is reported in a
// message box; FALSE.
BOOL DecompressFile(LPCSTR source, LPCSTR destination);
