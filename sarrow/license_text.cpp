// sarrow/license_text.cpp
#include "sarrow/license_text.h"

#include "sarrow/resources/licence_text.h"

CString LicenseAgreementText(LANGID systemLanguage)
{
    CString text;
    if (systemLanguage == kChineseTaiwanLanguage)
        text.Format("%s%s", kLicenceChinese1, kLicenceChinese2);
    else
        text.Format("%s%s%s", kLicenceEnglish1, kLicenceEnglish2, kLicenceEnglish3);
    return text;
}
