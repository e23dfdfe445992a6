// How Windows would resolve a path that Brimlet builds from its firmware folder and an entry
// name, written apart from the archive's name check so that the fuzzer can hold one against the
// other. Pessimistic where Windows' rules are murky: a component that Windows would shorten to
// nothing (dots and blanks only) is taken to climb one folder.
#pragma once

#include <string>
#include <string_view>

namespace path_model {

struct Resolution {
    bool insideBase = false;   // strictly below the base folder
    bool opensDevice = false;  // some component names a DOS device
    bool usesStream = false;   // a colon: a drive or an alternate data stream
    std::string resolved;      // the folders and file below the drive, joined by backslashes
};

// `base` is an absolute folder "X:\...\" ending in a backslash.
Resolution Resolve(std::string_view base, std::string_view name);

// Why CreateDirectoryA would refuse to make `folder` (an absolute path whose parent folder
// exists), or nullptr when it would make it: a path of 248 characters or more, or a last
// component holding a character no Windows name may hold (a slash there is a separator, so the
// folder's own parent would be missing).
const char* FolderRefusal(std::string_view folder);
// A character no Windows file or folder name holds: < > : " / \ | ? * or a control character.
bool HoldsForbiddenCharacter(std::string_view name);

}  // namespace path_model
