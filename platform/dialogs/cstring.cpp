// platform/dialogs/cstring.cpp
#include "platform/dialogs/cstring.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/dialogs/app.h"

int CString::Compare(LPCSTR text) const { return std::strcmp(m_text.c_str(), text ? text : ""); }

int CString::CompareNoCase(LPCSTR text) const
{
    return lstrcmpiA(m_text.c_str(), text ? text : "");
}

CString CString::Left(int count) const
{
    count = std::clamp(count, 0, GetLength());
    return CString(m_text.c_str(), count);
}

CString CString::Right(int count) const
{
    count = std::clamp(count, 0, GetLength());
    return CString(m_text.c_str() + GetLength() - count, count);
}

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const
{
    first = std::clamp(first, 0, GetLength());
    count = std::clamp(count, 0, GetLength() - first);
    return CString(m_text.c_str() + first, count);
}

namespace {

// Searches walk the text by characters of the process's code page: in a Big5 or GBK text the
// trail byte of a double-byte character (0x5C for many) is not the character of that value.
size_t NextCharacter(const std::string& text, size_t index)
{
    if (index + 1 < text.size() && ::IsDBCSLeadByte(static_cast<BYTE>(text[index])))
        return index + 2;
    return index + 1;
}

// Whether the character of length bytes at text[index] is one of the characters of set.
bool IsOneOf(const std::string& text, size_t index, size_t length, const std::string& set)
{
    for (size_t at = 0; at < set.size(); at = NextCharacter(set, at)) {
        size_t setLength = NextCharacter(set, at) - at;
        if (setLength == length && set.compare(at, length, text, index, length) == 0)
            return true;
    }
    return false;
}

}  // namespace

int CString::Find(char ch, int start) const
{
    if (start < 0 || start >= GetLength())
        return -1;
    for (size_t at = 0; at < m_text.size(); at = NextCharacter(m_text, at)) {
        if (static_cast<int>(at) >= start && NextCharacter(m_text, at) == at + 1 && m_text[at] == ch)
            return static_cast<int>(at);
    }
    return -1;
}

int CString::Find(LPCSTR text, int start) const
{
    if (!text || start < 0 || start > GetLength())
        return -1;
    size_t length = std::strlen(text);
    if (length == 0)
        return start;
    for (size_t at = 0; at < m_text.size(); at = NextCharacter(m_text, at)) {
        if (static_cast<int>(at) >= start && m_text.compare(at, length, text) == 0)
            return static_cast<int>(at);
    }
    return -1;
}

int CString::ReverseFind(char ch) const
{
    int found = -1;
    for (size_t at = 0; at < m_text.size(); at = NextCharacter(m_text, at)) {
        if (NextCharacter(m_text, at) == at + 1 && m_text[at] == ch)
            found = static_cast<int>(at);
    }
    return found;
}

int CString::FindOneOf(LPCSTR characters) const
{
    if (!characters)
        return -1;
    const std::string set = characters;
    for (size_t at = 0; at < m_text.size(); at = NextCharacter(m_text, at)) {
        if (IsOneOf(m_text, at, NextCharacter(m_text, at) - at, set))
            return static_cast<int>(at);
    }
    return -1;
}

int CString::Replace(char oldChar, char newChar)
{
    int count = 0;
    for (size_t at = 0; at < m_text.size(); at = NextCharacter(m_text, at)) {
        if (NextCharacter(m_text, at) == at + 1 && m_text[at] == oldChar) {
            m_text[at] = newChar;
            ++count;
        }
    }
    return count;
}

int CString::Replace(LPCSTR oldText, LPCSTR newText)
{
    if (!oldText || !*oldText)
        return 0;
    std::string replacement = newText ? newText : "";
    size_t oldLength = std::strlen(oldText);
    int count = 0;
    for (int at = Find(oldText); at >= 0; at = Find(oldText, at + static_cast<int>(replacement.size()))) {
        m_text.replace(at, oldLength, replacement);
        ++count;
    }
    return count;
}

int CString::Remove(char ch)
{
    std::string kept;
    kept.reserve(m_text.size());
    for (size_t at = 0; at < m_text.size();) {
        size_t next = NextCharacter(m_text, at);
        if (next != at + 1 || m_text[at] != ch)
            kept.append(m_text, at, next - at);
        at = next;
    }
    int removed = static_cast<int>(m_text.size() - kept.size());
    m_text = std::move(kept);
    return removed;
}

int CString::Insert(int index, char ch)
{
    index = std::clamp(index, 0, GetLength());
    m_text.insert(m_text.begin() + index, ch);
    return GetLength();
}

int CString::Insert(int index, LPCSTR text)
{
    index = std::clamp(index, 0, GetLength());
    if (text)
        m_text.insert(index, text);
    return GetLength();
}

int CString::Delete(int index, int count)
{
    if (index >= 0 && index < GetLength() && count > 0)
        m_text.erase(index, std::min(count, GetLength() - index));
    return GetLength();
}

CString& CString::MakeUpper()
{
    CharUpperBuffA(m_text.data(), static_cast<DWORD>(m_text.size()));
    return *this;
}

CString& CString::MakeLower()
{
    CharLowerBuffA(m_text.data(), static_cast<DWORD>(m_text.size()));
    return *this;
}

CString& CString::MakeReverse()
{
    // Character by character: a double-byte character keeps its lead byte first.
    std::string reversed(m_text.size(), '\0');
    size_t to = m_text.size();
    for (size_t at = 0; at < m_text.size();) {
        size_t next = NextCharacter(m_text, at);
        to -= next - at;
        reversed.replace(to, next - at, m_text, at, next - at);
        at = next;
    }
    m_text = std::move(reversed);
    return *this;
}

static bool IsBlank(char ch) { return ch == ' ' || (ch >= '\t' && ch <= '\r'); }

CString& CString::TrimLeft()
{
    size_t first = 0;
    while (first < m_text.size() && IsBlank(m_text[first]))
        ++first;
    m_text.erase(0, first);
    return *this;
}

CString& CString::TrimRight()
{
    while (!m_text.empty() && IsBlank(m_text.back()))
        m_text.pop_back();
    return *this;
}

CString& CString::TrimLeft(char ch) { return TrimLeft(std::string(1, ch).c_str()); }

CString& CString::TrimRight(char ch) { return TrimRight(std::string(1, ch).c_str()); }

CString& CString::TrimLeft(LPCSTR characters)
{
    if (!characters || !*characters)
        return *this;
    const std::string set = characters;
    size_t first = 0;
    while (first < m_text.size() && IsOneOf(m_text, first, NextCharacter(m_text, first) - first, set))
        first = NextCharacter(m_text, first);
    m_text.erase(0, first);
    return *this;
}

CString& CString::TrimRight(LPCSTR characters)
{
    if (!characters || !*characters)
        return *this;
    const std::string set = characters;
    size_t keep = 0;  // the end of the last character not in the set
    for (size_t at = 0; at < m_text.size(); at = NextCharacter(m_text, at)) {
        if (!IsOneOf(m_text, at, NextCharacter(m_text, at) - at, set))
            keep = NextCharacter(m_text, at);
    }
    m_text.erase(keep);
    return *this;
}

void CString::FormatV(LPCSTR format, va_list args)
{
    if (!format) {
        m_text.clear();
        return;
    }
    va_list measure;
    va_copy(measure, args);
    int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length < 0) {
        m_text.clear();
        return;
    }
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, args);
    text.resize(length);
    m_text = std::move(text);
}

void CString::Format(LPCSTR format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::AppendFormat(LPCSTR format, ...)
{
    CString more;
    va_list args;
    va_start(args, format);
    more.FormatV(format, args);
    va_end(args);
    *this += more;
}

BOOL CString::LoadString(UINT id)
{
    // LoadStringA gives no length up front: grow until the text fits with room to spare.
    for (int size = 256; size <= 65536; size *= 4) {
        std::string buffer(size, '\0');
        int length = ::LoadStringA(AfxGetResourceHandle(), id, buffer.data(), size);
        if (length <= 0) {
            m_text.clear();
            return FALSE;
        }
        if (length < size - 1) {
            buffer.resize(length);
            m_text = std::move(buffer);
            return TRUE;
        }
    }
    return FALSE;
}

LPSTR CString::GetBuffer(int minLength)
{
    if (minLength > GetLength())
        m_text.resize(minLength);
    return m_text.data();
}

LPSTR CString::GetBufferSetLength(int length)
{
    m_text.resize(length > 0 ? length : 0);
    return m_text.data();
}

void CString::ReleaseBuffer(int newLength)
{
    if (newLength < 0)
        newLength = static_cast<int>(std::strlen(m_text.c_str()));
    m_text.resize(std::min<size_t>(newLength, m_text.size()));
}
