// brimlet/boot_code.h
// The second stage's unpacking of the packed firmware archive into the firmware folder.
#pragma once

#include "platform/dialogs/dialogs.h"

enum class BootCodeResult {
    Unpacked,
    CannotOpen,
    CannotRewind,
    // The archive ended inside an entry, or an entry could not be read: images would be missing.
    Damaged,
};

// Unpacks every entry of the archive at `archivePath` beneath `firmwareFolder` (a backslash is
// appended when it has none).
BootCodeResult UnpackBootCode(const CString& archivePath, CString firmwareFolder);
