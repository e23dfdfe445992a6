// sarrow/license_text.h
// The licence agreement in the system's language: Traditional Chinese (Big5) on a Chinese
// (Taiwan) system, English on every other, Simplified Chinese systems included.
#pragma once

#include "platform/dialogs/dialogs.h"

constexpr LANGID kChineseTaiwanLanguage = 0x0404;

// Joined from the pieces the build cut the text into.
CString LicenseAgreementText(LANGID systemLanguage);
