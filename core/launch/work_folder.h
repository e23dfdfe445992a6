// core/launch/work_folder.h
// The work folder "ZEM_fix\" under the temporary directory, where the launcher and the
// dispatcher write their files, and the parameter text the launcher hands the dispatcher.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace launch {

constexpr std::string_view kWorkFolderName = "ZEM_fix\\";
// MAX_PATH: the ANSI file functions take no longer path, terminating zero included.
constexpr std::size_t kPathCapacity = 260;

// The folder path: the temporary path (which ends in a backslash) followed by "ZEM_fix\".
// Nullopt when the folder path followed by any of `fileNames` would not fit in kPathCapacity
// characters with its terminating zero: then nothing may be written, rather than into a cut path.
std::optional<std::string> WorkFolderPath(std::string_view tempPath,
                                          std::initializer_list<std::string_view> fileNames);

// Tells whether a byte starts a double-byte character in the running ANSI code page.
using LeadByteTest = bool (*)(unsigned char byte);

// The launcher's parameter text: the current directory, "\", the launcher's own path, unquoted.
// A text longer than `capacity` - 1 characters is cut there, at a character boundary (a
// double-byte character is never split).
std::string ParameterText(std::string_view currentDirectory, std::string_view programPath,
                          std::size_t capacity, LeadByteTest isLeadByte);

// `text` cut to at most `maximum` bytes without splitting a double-byte character.
std::string CutAtCharacter(std::string_view text, std::size_t maximum, LeadByteTest isLeadByte);

}  // namespace launch
