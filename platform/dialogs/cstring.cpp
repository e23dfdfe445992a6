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

int CString::Find(char ch, int start) const
{
    if (start < 0 || start >= GetLength())
        return -1;
    size_t at = m_text.find(ch, start);
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::Find(LPCSTR text, int start) const
{
    if (!text || start < 0 || start > GetLength())
        return -1;
    size_t at = m_text.find(text, start);
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(char ch) const
{
    size_t at = m_text.rfind(ch);
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::FindOneOf(LPCSTR characters) const
{
    if (!characters)
        return -1;
    size_t at = m_text.find_first_of(characters);
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::Replace(char oldChar, char newChar)
{
    int count = 0;
    for (char& ch : m_text) {
        if (ch == oldChar) {
            ch = newChar;
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
    for (size_t at = m_text.find(oldText); at != std::string::npos;
         at = m_text.find(oldText, at + replacement.size())) {
        m_text.replace(at, oldLength, replacement);
        ++count;
    }
    return count;
}

int CString::Remove(char ch)
{
    size_t before = m_text.size();
    m_text.erase(std::remove(m_text.begin(), m_text.end(), ch), m_text.end());
    return static_cast<int>(before - m_text.size());
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
    std::reverse(m_text.begin(), m_text.end());
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

CString& CString::TrimLeft(char ch)
{
    m_text.erase(0, std::min(m_text.find_first_not_of(ch), m_text.size()));
    return *this;
}

CString& CString::TrimRight(char ch)
{
    while (!m_text.empty() && m_text.back() == ch)
        m_text.pop_back();
    return *this;
}

CString& CString::TrimLeft(LPCSTR characters)
{
    if (characters)
        m_text.erase(0, std::min(m_text.find_first_not_of(characters), m_text.size()));
    return *this;
}

CString& CString::TrimRight(LPCSTR characters)
{
    if (!characters)
        return *this;
    size_t last = m_text.find_last_not_of(characters);
    m_text.erase(last == std::string::npos ? 0 : last + 1);
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
