// sarrow/license_text.h
// The licence agreement in the system's language: Traditional Chinese (Big5) on a Chinese
// (Taiwan) system, English on every other, Simplified Chinese systems included.
#pragma once

#include "platform/dialogs/dialogs.h"

constexpr LANGID kChineseTaiwanLanguage = 0x0404;

// Joined from the pieces the build cut the text into.
CString LicenseAgreementText(LANGID systemLanguage);

// How many of the box's first characters are shown as the title: 45, the English title line
// with its line end, or fewer where a title line (the Chinese one) ends earlier. Characters, not
// bytes, of `text` in `codePage`.
int LicenseTitleCharacters(const char* text, UINT codePage);
