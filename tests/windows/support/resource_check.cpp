// tests/windows/support/resource_check.cpp
// Checks what a built program or DLL carries, under Wine:
//   resource_check carried MODULE TYPE NAME FILE   the resource's bytes equal the file's
//   resource_check version MODULE KEY=VALUE ...     version resource: the fixed file and product
//                                                   versions (FIXED_FILE=1.0.0.8, FIXED_PRODUCT=...)
//                                                   and the strings of block 040904E4
// Prints what it compared; exits 0 when everything is as expected, 1 otherwise, 2 on misuse.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

int Carried(const char* module, const char* type, const char* name, const char* file)
{
    HMODULE loaded = ::LoadLibraryExA(module, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!loaded) {
        std::printf("%s: does not load (error %lu)\n", module, ::GetLastError());
        return 1;
    }
    HRSRC found = ::FindResourceA(loaded, name, type);
    const BYTE* bytes = found ? static_cast<const BYTE*>(::LockResource(::LoadResource(loaded, found))) : nullptr;
    if (!bytes) {
        std::printf("%s: no resource %s of type %s\n", module, name, type);
        return 1;
    }
    const DWORD size = ::SizeofResource(loaded, found);
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::printf("%s: cannot read\n", file);
        return 1;
    }
    const std::vector<char> expected((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (expected.size() != size || std::memcmp(expected.data(), bytes, size) != 0) {
        std::size_t first = 0;
        while (first < size && first < expected.size() && expected[first] == static_cast<char>(bytes[first]))
            ++first;
        std::printf("%s %s: %lu bytes, %s: %zu bytes; first difference at byte %zu\n", type, name, size, file,
                    expected.size(), first);
        return 1;
    }
    std::printf("%s %s: %lu bytes, equal to %s\n", type, name, size, file);
    return 0;
}

std::string FourPart(DWORD high, DWORD low)
{
    return std::to_string(HIWORD(high)) + "." + std::to_string(LOWORD(high)) + "." + std::to_string(HIWORD(low)) +
           "." + std::to_string(LOWORD(low));
}

int Version(const char* module, int count, char** expectations)
{
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(module, &handle);
    std::vector<BYTE> info(size);
    if (size == 0 || !::GetFileVersionInfoA(module, 0, size, info.data())) {
        std::printf("%s: no version resource\n", module);
        return 1;
    }
    int bad = 0;
    for (int i = 0; i < count; ++i) {
        const std::string expectation = expectations[i];
        const std::size_t equals = expectation.find('=');
        if (equals == std::string::npos)
            return 2;
        const std::string key = expectation.substr(0, equals);
        const std::string expected = expectation.substr(equals + 1);
        std::string actual = "(none)";
        if (key == "FIXED_FILE" || key == "FIXED_PRODUCT") {
            VS_FIXEDFILEINFO* fixed = nullptr;
            UINT length = 0;
            if (::VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length) && fixed)
                actual = key == "FIXED_FILE" ? FourPart(fixed->dwFileVersionMS, fixed->dwFileVersionLS)
                                             : FourPart(fixed->dwProductVersionMS, fixed->dwProductVersionLS);
        } else {
            char* text = nullptr;
            UINT length = 0;
            const std::string path = "\\StringFileInfo\\040904E4\\" + key;
            if (::VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&text), &length) && text)
                actual = text;
        }
        const bool equal = actual == expected;
        std::printf("%s: '%s'%s\n", key.c_str(), actual.c_str(), equal ? "" : (" expected '" + expected + "'").c_str());
        bad += !equal;
    }
    return bad ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "carried" && argc == 6)
        return Carried(argv[2], argv[3], argv[4], argv[5]);
    if (mode == "version" && argc >= 4)
        return Version(argv[2], argc - 3, argv + 3);
    std::fprintf(stderr, "usage: resource_check carried MODULE TYPE NAME FILE | version MODULE KEY=VALUE...\n");
    return 2;
}
