// tests/windows/support/files.h
// Files and folders the Windows tests and benchmarks work with: the program's own folder, where
// the build puts what a test reads, and the removal of a sandbox with all it holds.
#pragma once

#include <windows.h>

#include <string>

namespace test_support {

// The folder of this program's file, with its trailing backslash.
inline std::string ProgramFolder()
{
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string text = path;
    return text.substr(0, text.find_last_of('\\') + 1);
}

// The folder and everything below it; what cannot be removed stays.
inline void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                ::DeleteFileA(path.c_str());
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryA(folder.c_str());
}

}  // namespace test_support
