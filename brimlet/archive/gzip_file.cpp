// brimlet/archive/gzip_file.cpp
#include "brimlet/archive/gzip_file.h"

#include <io.h>

#include <climits>
#include <cstring>
#include <new>
#include <vector>

#include "core/archive/format.h"
#include "platform/dialogs/file.h"

namespace {

// A read chunk never exceeds this, whatever the compressed size says.
constexpr DWORD kMaxChunk = 1u << 26;

}  // namespace

CCompressedFile::~CCompressedFile() = default;

BOOL CCompressedFile::SetMode(int mode)
{
    m_mode = mode;
    return TRUE;
}

CGzipFile::~CGzipFile()
{
    if (m_file)
        Close();
}

BOOL CGzipFile::Open(LPCSTR path, int mode)
{
    if (IsOpen() || !path)
        return FALSE;
    if (mode == modeWriting) {
        m_file = gzopen(path, "wb");
    } else if (mode == modeReading) {
        if (_access(path, 2) != 0)
            return FALSE;
        CFile compressed;
        if (!compressed.Open(path, CFile::modeRead | CFile::shareDenyNone))
            return FALSE;
        const ULONGLONG length = compressed.GetLength();
        compressed.Close();
        m_compressedSize = length > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<DWORD>(length);
        m_file = gzopen(path, "rb");
    } else {
        return FALSE;
    }
    SetMode(m_file ? mode : modeClosed);
    return m_file != nullptr;
}

BOOL CGzipFile::Close()
{
    if (!m_file)
        return FALSE;
    const int result = gzclose(m_file);
    m_file = nullptr;
    SetMode(modeClosed);
    return result == Z_OK;
}

BOOL CGzipFile::Write(const void* buffer, int length)
{
    if (!m_file || m_mode != modeWriting || length < 0 || (length > 0 && !buffer))
        return FALSE;
    if (length == 0)
        return TRUE;
    return gzwrite(m_file, buffer, static_cast<unsigned>(length)) == length;
}

BOOL CGzipFile::WriteString(LPCSTR text)
{
    return text && Write(text, static_cast<int>(std::strlen(text)));
}

int CGzipFile::Read(void* buffer, int length)
{
    if (!m_file || m_mode != modeReading || length <= 0 || !buffer)
        return 0;
    return gzread(m_file, buffer, static_cast<unsigned>(length));
}

// Reads the whole content in chunks of the compressed size, then joins them, copying each
// chunk's own count. `extra` more bytes are allocated (and zeroed) after the content.
BOOL CGzipFile::ReadChunks(BYTE** buffer, int* size, int extra)
{
    m_readError = FALSE;
    if (buffer)
        *buffer = nullptr;
    if (size)
        *size = 0;
    if (!buffer || !size || !m_file || m_mode != modeReading || m_compressedSize == 0)
        return FALSE;
    const DWORD chunkSize = m_compressedSize < kMaxChunk ? m_compressedSize : kMaxChunk;
    struct Chunk {
        BYTE* bytes;
        int count;
    };
    std::vector<Chunk> chunks;
    const auto freeChunks = [&] {
        for (const Chunk& chunk : chunks)
            delete[] chunk.bytes;
        chunks.clear();
    };
    long long total = 0;
    int result = 0;
    for (;;) {
        BYTE* chunk = new (std::nothrow) BYTE[chunkSize];
        if (!chunk) {
            result = -1;
            break;
        }
        result = gzread(m_file, chunk, chunkSize);
        if (result <= 0) {
            delete[] chunk;
            break;
        }
        chunks.push_back({chunk, result});
        total += result;
        // The content and what follows it must fit an int.
        if (total > INT_MAX - extra) {
            result = -1;
            break;
        }
    }
    // zlib hands out what it could decode of a member cut short and only notes the cut; such
    // a member is as damaged as one it cannot decode.
    int error = Z_OK;
    if (result == 0)
        gzerror(m_file, &error);
    if (result < 0 || error == Z_BUF_ERROR) {
        m_readError = TRUE;
        freeChunks();
        return FALSE;
    }
    BYTE* whole = new (std::nothrow) BYTE[static_cast<std::size_t>(total) + extra];
    if (!whole) {
        m_readError = TRUE;
        freeChunks();
        return FALSE;
    }
    std::size_t offset = 0;
    for (const Chunk& chunk : chunks) {
        std::memcpy(whole + offset, chunk.bytes, chunk.count);
        offset += chunk.count;
    }
    freeChunks();
    std::memset(whole + offset, 0, extra);
    *buffer = whole;
    *size = static_cast<int>(total);
    return total > 0;
}

BOOL CGzipFile::ReadAll(BYTE** buffer, int* size)
{
    const BOOL read = ReadChunks(buffer, size, 0);
    if (!read && buffer && *buffer) {
        delete[] *buffer;
        *buffer = nullptr;
    }
    return read;
}

BOOL CGzipFile::ReadAllText(char** buffer)
{
    BYTE* bytes = nullptr;
    int size = 0;
    const BOOL read = ReadChunks(&bytes, &size, 1);
    if (!read) {
        delete[] bytes;
        bytes = nullptr;
    }
    if (buffer)
        *buffer = reinterpret_cast<char*>(bytes);
    else
        delete[] bytes;
    return read;
}

int CGzipFile::SetParams()
{
    if (!m_file || m_mode != modeWriting)
        return Z_STREAM_ERROR;
    return gzsetparams(m_file, m_level, m_strategy);
}

BOOL CGzipFile::Flush(int flushMode)
{
    return m_file && m_mode == modeWriting && gzflush(m_file, flushMode) == Z_OK;
}

BOOL CGzipFile::IsEof()
{
    return !m_file || gzeof(m_file) == 1;
}

BOOL CompressFile(LPCSTR source, LPCSTR destination)
{
    if (!source || !destination)
        return FALSE;
    ::DeleteFileA(destination);
    CGzipFile compressed;
    CFile plain;
    if (!compressed.Open(destination, CGzipFile::modeWriting) || !plain.Open(source, CFile::modeRead | CFile::shareExclusive))
        return FALSE;
    ULONGLONG left = plain.GetLength();
    BOOL copied = TRUE;
    char piece[archive::kCopyPieceSize];
    while (left > 0 && copied) {
        const UINT want = left < sizeof piece ? static_cast<UINT>(left) : static_cast<UINT>(sizeof piece);
        const UINT got = plain.Read(piece, want);
        copied = got > 0 && compressed.Write(piece, static_cast<int>(got));
        left -= got;
    }
    plain.Close();
    return compressed.Close() && copied;
}

BOOL DecompressFile(LPCSTR source, LPCSTR destination)
{
    if (!source || !destination)
        return FALSE;
    CGzipFile compressed;
    if (!compressed.Open(source, CGzipFile::modeReading))
        return FALSE;
    BYTE* content = nullptr;
    int size = 0;
    compressed.ReadAll(&content, &size);
    const BOOL damaged = compressed.HadReadError();
    compressed.Close();
    if (damaged)
        return FALSE;

    CFile target;
    if (!target.Open(destination, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive)) {
        CString caption = CString(source) + destination;
        ::MessageBoxA(nullptr, "Failed to open file to decompress", caption, MB_OK);
        delete[] content;
        return FALSE;
    }
    const BOOL written = target.Write(content, static_cast<UINT>(size));
    target.Close();
    delete[] content;
    return written;
}
