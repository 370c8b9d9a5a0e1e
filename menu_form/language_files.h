// Which menu file a medium's menu reads: menu\config.<language>.mnu for the first of the user's
// languages that the medium has a file for, else menu\config.mnu.
#ifndef TOLVAR_MENU_FORM_LANGUAGE_FILES_H_
#define TOLVAR_MENU_FORM_LANGUAGE_FILES_H_

#include <string>
#include <string_view>
#include <vector>

namespace tolvar {

// A language as the system names it ("pt_BR.UTF-8", "de-DE", "sr_RS@latin") as it stands in a
// file name: lower case, hyphens between its parts, without encoding or modifier ("pt-br"). Empty
// for "C", "POSIX" and anything that is not a language tag: no name from the environment may
// reach a path unless it is letters, digits and hyphens.
std::string LanguageFileTag(std::string_view system_name);

// Whether `tag` could be a language tag in a file name: two or three lower-case letters, then
// parts of one to eight lower-case letters or digits, each after a hyphen ("de", "pt-br",
// "zh-hant-tw").
bool IsLanguageFileTag(std::string_view tag);

// The menu files to try, in order, for the user's `languages` (most preferred first, as the system
// names them): for each language its whole tag, then the tag shortened part by part ("zh-hant-tw",
// "zh-hant", "zh"), each once; then the plain menu file. Paths as kDefinitionPath writes them.
std::vector<std::string> DefinitionCandidates(const std::vector<std::string>& languages);

// The path of the menu file for language tag `tag`, e.g. ".\menu\config.de.mnu".
std::string LanguageDefinitionPath(std::string_view tag);

// The other way: what stands between "config." and ".mnu" in the name of a file of the menu
// folder, in any letter case, as the menu finds its files ("DE" of "CONFIG.DE.MNU"); empty for
// config.mnu itself and for other names. The menu reads the file when this, in lower case, is a
// language tag (IsLanguageFileTag).
std::string LanguageOfMenuFileName(std::string_view name);

}  // namespace tolvar

#endif  // TOLVAR_MENU_FORM_LANGUAGE_FILES_H_
