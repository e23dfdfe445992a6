// tests/windows/support/files.h
// Files and folders the Windows tests and benchmarks work with: the program's own folder, where
// the build puts what a test reads, the removal of a sandbox with all it holds, a temporary
// folder of a test's own, and a file's bytes.
#pragma once

#include <windows.h>

#include <fstream>
#include <iterator>
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

// A temporary folder `name` of this process's own, emptied: what GetTempPathA gives from now on
// (through TMP and TEMP). Returned with its trailing backslash.
inline std::string FreshTemporaryFolder(const char* name)
{
    char base[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, base);
    const std::string temp = std::string(base) + name;
    RemoveTree(temp);
    ::CreateDirectoryA(temp.c_str(), nullptr);
    ::SetEnvironmentVariableA("TMP", temp.c_str());
    ::SetEnvironmentVariableA("TEMP", temp.c_str());
    return temp + "\\";
}

// The file's bytes; empty when it cannot be read.
inline std::string FileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace test_support
