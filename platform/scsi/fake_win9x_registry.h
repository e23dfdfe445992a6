// platform/scsi/fake_win9x_registry.h
// A Windows 9x registry in memory, for the ports that stand in for Windows. A call on a key that
// is not its own answers std::nullopt, so that the port says what Windows would. Its port locks.
#pragma once

#include <windows.h>

#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

class FakeWin9xRegistry {
public:
    struct Key {
        std::vector<std::string> subKeys;
        std::map<std::string, std::string> values;
    };

    // "DYN\\..." under HKEY_DYN_DATA or "HKLM\\..." under HKEY_LOCAL_MACHINE; added when new.
    Key& operator[](const std::string& path) { return keys_[path]; }
    int OpenKeys() const { return static_cast<int>(open_.size()); }

    std::optional<LONG> Open(HKEY parent, LPCSTR subKey, HKEY* key);
    std::optional<LONG> QueryInfo(HKEY key, DWORD* subKeyCount) const;
    std::optional<LONG> EnumKey(HKEY key, DWORD index, LPSTR name, DWORD* nameLength) const;
    std::optional<LONG> QueryValue(HKEY key, LPCSTR value, DWORD* type, BYTE* data,
                                   DWORD* dataLength) const;  // null data asks the size
    std::optional<LONG> Close(HKEY key)
    {
        return open_.erase(key) ? std::optional<LONG>(ERROR_SUCCESS) : std::nullopt;
    }

private:
    struct NoCase {  // as Windows matches key names
        bool operator()(const std::string& a, const std::string& b) const
        {
            return _stricmp(a.c_str(), b.c_str()) < 0;
        }
    };
    using Keys = std::map<std::string, Key, NoCase>;

    const Key* Opened(HKEY key) const;

    Keys keys_;
    std::map<HKEY, Keys::iterator> open_;
    UINT_PTR nextKey_ = 0x7E000000;  // far from the handles the ports give out
};
