// platform/dialogs/cstring.h
// CString: a byte string in the program's ANSI code page (Big5 texts stay bytes). Searches,
// replacements, trimming and reversing go by characters of that code page, so the trail byte of
// a double-byte character is never taken for a character of its own (a Big5 or GBK path may hold
// 0x5C, the backslash's value, as a trail byte). Indexes and lengths count bytes.
#pragma once

#include <windows.h>

#include <cstdarg>
#include <string>

class CString
{
public:
    CString() = default;
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString(LPCSTR text) : m_text(text ? text : "") {}
    CString(LPCSTR text, int length) : m_text(text ? text : "", text && length > 0 ? length : 0) {}
    CString(char ch, int repeat = 1) : m_text(repeat > 0 ? repeat : 0, ch) {}
    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(LPCSTR text)
    {
        m_text = text ? text : "";
        return *this;
    }
    CString& operator=(char ch)
    {
        m_text.assign(1, ch);
        return *this;
    }

    int GetLength() const { return static_cast<int>(m_text.size()); }
    BOOL IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    operator LPCSTR() const { return m_text.c_str(); }
    LPCSTR GetString() const { return m_text.c_str(); }
    char GetAt(int index) const { return m_text.at(index); }
    char operator[](int index) const { return GetAt(index); }
    void SetAt(int index, char ch) { m_text.at(index) = ch; }

    CString& operator+=(const CString& text)
    {
        m_text += text.m_text;
        return *this;
    }
    CString& operator+=(LPCSTR text)
    {
        if (text)
            m_text += text;
        return *this;
    }
    CString& operator+=(char ch)
    {
        m_text += ch;
        return *this;
    }
    friend CString operator+(const CString& a, const CString& b) { return CString(a) += b; }
    friend CString operator+(const CString& a, LPCSTR b) { return CString(a) += b; }
    friend CString operator+(LPCSTR a, const CString& b) { return CString(a) += b; }
    friend CString operator+(const CString& a, char b) { return CString(a) += b; }
    friend CString operator+(char a, const CString& b) { return CString(a) += b; }

    // Byte-wise comparisons, as strcmp and lstrcmpiA do.
    int Compare(LPCSTR text) const;
    int CompareNoCase(LPCSTR text) const;
    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CString& a, LPCSTR b) { return a.Compare(b) == 0; }
    friend bool operator==(LPCSTR a, const CString& b) { return b.Compare(a) == 0; }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, LPCSTR b) { return !(a == b); }
    friend bool operator!=(LPCSTR a, const CString& b) { return !(a == b); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_text < b.m_text; }
    friend bool operator>(const CString& a, const CString& b) { return b < a; }
    friend bool operator<=(const CString& a, const CString& b) { return !(b < a); }
    friend bool operator>=(const CString& a, const CString& b) { return !(a < b); }

    CString Left(int count) const;
    CString Right(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    int Find(char ch, int start = 0) const;
    int Find(LPCSTR text, int start = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(LPCSTR characters) const;
    int Replace(char oldChar, char newChar);
    int Replace(LPCSTR oldText, LPCSTR newText);
    int Remove(char ch);
    int Insert(int index, char ch);
    int Insert(int index, LPCSTR text);
    int Delete(int index, int count = 1);
    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();
    CString& TrimLeft();
    CString& TrimRight();
    CString& Trim() { return TrimLeft().TrimRight(); }
    CString& TrimLeft(char ch);
    CString& TrimRight(char ch);
    CString& TrimLeft(LPCSTR characters);
    CString& TrimRight(LPCSTR characters);

    // printf formatting; the result may be of any length.
    void Format(LPCSTR format, ...);
    void FormatV(LPCSTR format, va_list args);
    void AppendFormat(LPCSTR format, ...);
    // String-table entry of the class library's resource module; FALSE (and empty) when absent.
    BOOL LoadString(UINT id);

    // Writable buffer of at least minLength characters; ReleaseBuffer(-1) takes the length up
    // to the first zero, ReleaseBuffer(n) exactly n characters.
    LPSTR GetBuffer(int minLength = 0);
    LPSTR GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);

    const std::string& str() const { return m_text; }

private:
    std::string m_text;
};
