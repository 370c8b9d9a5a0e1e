// Win32 only: the one pair of conversions between the program's UTF-8 strings and the UTF-16 that
// the wide Windows API takes, and the system's text for an error code in UTF-8.
#ifndef TOLVAR_SHARED_ROUTINES_UTF16_WIN32_H_
#define TOLVAR_SHARED_ROUTINES_UTF16_WIN32_H_

#include <string>
#include <string_view>

namespace tolvar {

// Invalid UTF-8 becomes U+FFFD, so that a name is never silently cut short.
std::wstring Widen(std::string_view utf8);
std::string Narrow(const std::wstring& utf16);

// The system's own text for a GetLastError() code, without the trailing line break.
std::string SystemErrorText(unsigned long error);

}  // namespace tolvar

#endif  // TOLVAR_SHARED_ROUTINES_UTF16_WIN32_H_
