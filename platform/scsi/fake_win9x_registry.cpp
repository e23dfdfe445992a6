// platform/scsi/fake_win9x_registry.cpp
#include "platform/scsi/fake_win9x_registry.h"

const FakeWin9xRegistry::Key* FakeWin9xRegistry::Opened(HKEY key) const
{
    auto it = open_.find(key);
    return it == open_.end() ? nullptr : &it->second->second;
}

std::optional<LONG> FakeWin9xRegistry::Open(HKEY parent, LPCSTR subKey, HKEY* key)
{
    std::string root = parent == HKEY_DYN_DATA ? "DYN" : parent == HKEY_LOCAL_MACHINE ? "HKLM" : "";
    if (auto it = open_.find(parent); it != open_.end())
        root = it->second->first;
    auto found = root.empty() ? keys_.end() : keys_.find(root + "\\" + subKey);
    if (found == keys_.end())
        return std::nullopt;
    *key = reinterpret_cast<HKEY>(nextKey_ += 4);
    open_[*key] = found;
    return ERROR_SUCCESS;
}

std::optional<LONG> FakeWin9xRegistry::QueryInfo(HKEY key, DWORD* subKeyCount) const
{
    const Key* node = Opened(key);
    if (!node)
        return std::nullopt;
    *subKeyCount = static_cast<DWORD>(node->subKeys.size());
    return ERROR_SUCCESS;
}

std::optional<LONG> FakeWin9xRegistry::EnumKey(HKEY key, DWORD index, LPSTR name,
                                               DWORD* nameLength) const
{
    const Key* node = Opened(key);
    if (!node)
        return std::nullopt;
    if (index >= node->subKeys.size())
        return ERROR_NO_MORE_ITEMS;
    const std::string& subKey = node->subKeys[index];
    if (subKey.size() + 1 > *nameLength)
        return ERROR_MORE_DATA;
    std::memcpy(name, subKey.c_str(), subKey.size() + 1);
    *nameLength = static_cast<DWORD>(subKey.size());
    return ERROR_SUCCESS;
}

std::optional<LONG> FakeWin9xRegistry::QueryValue(HKEY key, LPCSTR value, DWORD* type, BYTE* data,
                                                  DWORD* dataLength) const
{
    const Key* node = Opened(key);
    if (!node)
        return std::nullopt;
    auto v = node->values.find(value);
    if (v == node->values.end())
        return ERROR_FILE_NOT_FOUND;
    const DWORD size = static_cast<DWORD>(v->second.size() + 1), room = *dataLength;
    if (type)
        *type = REG_SZ;
    *dataLength = size;
    if (data && size > room)
        return ERROR_MORE_DATA;
    if (data)
        std::memcpy(data, v->second.c_str(), size);
    return ERROR_SUCCESS;
}
