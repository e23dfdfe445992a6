// brimlet/boot_code.cpp
#include "brimlet/boot_code.h"

#include "brimlet/archive/pack_archive.h"

BootCodeResult UnpackBootCode(const CString& archivePath, CString firmwareFolder)
{
    CPackArchive archive;
    if (!archive.OpenArchiveFile(archivePath, FALSE))
        return BootCodeResult::CannotOpen;
    if (firmwareFolder.IsEmpty() || firmwareFolder[firmwareFolder.GetLength() - 1] != '\\')
        firmwareFolder += '\\';
    archive.m_strBaseDirectory = firmwareFolder;
    if (!archive.RewindArchive())
        return BootCodeResult::CannotRewind;
    while (archive.ExtractNextEntry() == 1) {
    }
    // A loop that stopped anywhere but at the clean end, or an entry that did not become its
    // image, leaves images missing: the library would then repair with what is not there.
    const bool whole = archive.GetLastEntryResult() == archive::EntryResult::End && archive.GetEntriesNotWritten() == 0;
    archive.CloseArchive();
    return whole ? BootCodeResult::Unpacked : BootCodeResult::Damaged;
}
