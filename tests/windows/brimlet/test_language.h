// tests/windows/brimlet/test_language.h
// The system language a test program runs under (its command line names it: en, zh_TW or zh_CN,
// as the ctest entry set Wine's locale), and what Brimlet should pick there. The expectations
// are written out here, apart from the program's own rules.
#pragma once

#include <windows.h>

#include <string>

namespace brimlet_test {

// Set by main from the command line; "en" when none is given.
std::string& TestLanguage();

inline const char* ExpectedLicenceFile()
{
    if (TestLanguage() == "zh_TW")
        return "Agreement.cht";
    if (TestLanguage() == "zh_CN")
        return "Agreement.chs";
    return "Agreement.eng";
}

inline const UINT (&ExpectedSplashFrames())[4]
{
    static const UINT traditional[4] = {156, 157, 158, 160};
    static const UINT other[4] = {180, 181, 182, 183};
    return TestLanguage() == "zh_TW" ? traditional : other;
}

// The system default locale Wine gives the language.
inline LCID ExpectedLcid()
{
    if (TestLanguage() == "zh_TW")
        return 0x0404;
    if (TestLanguage() == "zh_CN")
        return 0x0804;
    return 0x0409;
}

}  // namespace brimlet_test
