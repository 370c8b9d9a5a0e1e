// AnsiToUtf8: text in the system's ANSI code page, as media written on Windows hold it, made into
// the program's UTF-8. One body per platform.
#ifndef TOLVAR_SHARED_ROUTINES_ANSI_CODE_PAGE_H_
#define TOLVAR_SHARED_ROUTINES_ANSI_CODE_PAGE_H_

#include <string>
#include <string_view>

namespace tolvar {

// `bytes` in the ANSI code page as UTF-8: CP_ACP on Windows, Windows-1252 elsewhere. Every byte
// becomes a character; nothing is refused.
std::string AnsiToUtf8(std::string_view bytes);

}  // namespace tolvar

#endif  // TOLVAR_SHARED_ROUTINES_ANSI_CODE_PAGE_H_
