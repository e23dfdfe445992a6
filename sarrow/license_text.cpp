// sarrow/license_text.cpp
#include "sarrow/license_text.h"

#include <algorithm>
#include <cstring>

#include "sarrow/resources/licence_text.h"

namespace {
constexpr int kHighlightedCharacters = 45;
// The build decides how many pieces each text is cut into; the joins below name them all.
static_assert(kLicenceEnglishPieceCount == 3 && kLicenceChinesePieceCount == 2);
}  // namespace

CString LicenseAgreementText(LANGID systemLanguage)
{
    CString text;
    if (systemLanguage == kChineseTaiwanLanguage)
        text.Format("%s%s", kLicenceChinese1, kLicenceChinese2);
    else
        text.Format("%s%s%s", kLicenceEnglish1, kLicenceEnglish2, kLicenceEnglish3);
    return text;
}

int LicenseTitleCharacters(const char* text, UINT codePage)
{
    const std::size_t lineBytes = std::strcspn(text, "\r\n");
    const int line = MultiByteToWideChar(codePage, 0, text, static_cast<int>(lineBytes), nullptr, 0);
    return std::min(kHighlightedCharacters, line + 2);  // the line end counts as two, as CR LF
}
