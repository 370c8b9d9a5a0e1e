// Letter case as Windows ignores it in file names: each character compared in upper case, beyond
// ASCII too ("Instalação" and "INSTALAÇÃO" are one name on NTFS, FAT32 and Joliet). Plain C++.
#ifndef TOLVAR_SHARED_ROUTINES_WINDOWS_CASE_H_
#define TOLVAR_SHARED_ROUTINES_WINDOWS_CASE_H_

#include <string>
#include <string_view>

namespace tolvar {

// The upper-case form of `code` where Windows' file systems map it: the letters of Latin (with
// Vietnamese), Greek, Cyrillic and Armenian, and the full-width Latin ones. Letters without a
// one-to-one mapping stay as they are: "ß" is not "SS", and the Turkish dotless "ı" is not "I".
char32_t WindowsUpper(char32_t code);

// `name` with every character WindowsUpper maps replaced by its upper-case form, so that two names
// Windows takes as one fold to the same text. Bytes that are no valid UTF-8 stay as they are.
std::string FoldedAsWindows(std::string_view name);

}  // namespace tolvar

#endif  // TOLVAR_SHARED_ROUTINES_WINDOWS_CASE_H_
