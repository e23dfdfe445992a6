// brimlet/archive/pack_archive.h
// The packed firmware archive "BootCode.r" (format: core/archive/format.h): CPackArchive reads
// it entry by entry into a folder, and can append to it; MakeDirectoriesForPath and CreateDir
// make the folders an entry lands in.
//
// Telling a finished archive from a damaged one: ExtractNextEntry returns 0 both at the end and
// when the archive breaks off. After the loop, GetLastEntryResult() is EntryResult::End only
// when the archive ended cleanly where an entry would start; Truncated (a name, length or data
// cut short) or CopyFailed (no temporary file) mean images are missing. Entries read whole but
// not written (a refused name, an unreadable member, a target that could not be created) are
// counted by GetEntriesNotWritten().
#pragma once

#include <windows.h>

#include "core/archive/reader.h"
#include "platform/dialogs/cstring.h"
#include "platform/dialogs/file.h"

class CPackArchive
{
public:
    CPackArchive() = default;
    CPackArchive(const CPackArchive&) = delete;
    CPackArchive& operator=(const CPackArchive&) = delete;
    virtual ~CPackArchive();

    // Opens `path` (with ".r" appended unless it ends in ".r"); without `create` the file must
    // exist. An archive already open is closed first.
    BOOL OpenArchiveFile(LPCSTR path, BOOL create);
    // Opens the program's own resource "#id" of type "RFILE", read only.
    BOOL OpenArchiveResource(int resourceId);
    BOOL RewindArchive();
    // 1 when an entry was read (written, or skipped for a name that may not be written), 0 at
    // the end of the archive or on a failure: see GetLastEntryResult.
    int ExtractNextEntry();
    // Appends the file base directory + name as a new entry.
    BOOL AddArchiveEntry(LPCSTR relativeName);
    BOOL CloseArchive();
    // Stream position x 100 / length; -1 when nothing is open.
    int GetArchiveProgress();

    archive::EntryResult GetLastEntryResult() const { return m_lastResult; }
    int GetEntriesNotWritten() const { return m_entriesNotWritten; }

    bool m_bOpen = false;
    // A read-only memory file over a resource: the writer refuses to append.
    bool m_bFromResource = false;
    CFile* m_pStream = nullptr;
    // Where entries are extracted and whence the writer reads files; ends in a backslash.
    CString m_strBaseDirectory;

private:
    archive::EntryResult m_lastResult = archive::EntryResult::NotOpen;
    int m_entriesNotWritten = 0;
};

// Creates every missing folder of the path's folder part, shortest first. TRUE.
BOOL MakeDirectoriesForPath(LPCSTR filePath);
// TRUE when a file or folder of that name exists or the folder was made; a folder that cannot
// be made ends the program ("Couldn't create dir").
BOOL CreateDir(LPCSTR folder);
