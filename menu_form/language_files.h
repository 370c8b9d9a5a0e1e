// Which menu file a medium's menu reads: menu\config.<language>.mnu for the first of the user's
// languages that the medium has a file for, else menu\config.mnu.
#ifndef TOLVAR_MENU_FORM_LANGUAGE_FILES_H_
#define TOLVAR_MENU_FORM_LANGUAGE_FILES_H_

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "shared_routines/directory_lister.h"

namespace tolvar {

// How much of the user's language list is read: the system's list is the environment's on Linux,
// any length at all, and each tag costs a lookup. No one reads more than a few languages, and no
// tag in use is longer than 35 characters (language, script, region and a variant).
inline constexpr size_t kMostLanguagesTried = 16;
inline constexpr size_t kLongestLanguageTag = 35;

// A language as the system names it ("pt_BR.UTF-8", "de-DE", "sr_RS@latin") as it stands in a
// file name: lower case, hyphens between its parts, without encoding or modifier ("pt-br"). Empty
// for "C", "POSIX" and anything that is not a language tag: no name from the environment may
// reach a path unless it is letters, digits and hyphens. Empty too for a tag longer than
// kLongestLanguageTag.
std::string LanguageFileTag(std::string_view system_name);

// Whether `tag` could be a language tag in a file name: two or three lower-case letters, then
// parts of one to eight lower-case letters or digits, each after a hyphen ("de", "pt-br",
// "zh-hant-tw").
bool IsLanguageFileTag(std::string_view tag);

// The menu files to try, in order, for the user's `languages` (most preferred first, as the system
// names them): for each language its whole tag, then the tag shortened part by part ("zh-hant-tw",
// "zh-hant", "zh"), each once; then the plain menu file. Paths as kDefinitionPath writes them.
// Only the first kMostLanguagesTried languages that are tags count.
std::vector<std::string> DefinitionCandidates(const std::vector<std::string>& languages);

// The name of the menu file for language tag `tag` in the menu folder, e.g. "config.de.mnu".
std::string MenuFileNameOfLanguage(std::string_view tag);

// The path of the menu file for language tag `tag`, e.g. ".\menu\config.de.mnu".
std::string LanguageDefinitionPath(std::string_view tag);

// The menu file to read for the user's `languages`: the first of DefinitionCandidates that
// `usable` takes. The medium's menu folder is listed once, through `lister`, and a language's file
// is asked for only when the listing holds its name in some letter case: a folder of many names
// and a long list of languages would otherwise cost a search of the folder for every tag. ""
// when no file is usable.
std::string ChooseDefinition(const std::vector<std::string>& languages,
                             const DirectoryLister& lister,
                             const std::function<bool(const std::string&)>& usable);

// The other way: what stands between "config." and ".mnu" in the name of a file of the menu
// folder, in any letter case, as the menu finds its files ("DE" of "CONFIG.DE.MNU"); empty for
// config.mnu itself and for other names. The menu reads the file when this, in lower case, is a
// language tag (IsLanguageFileTag).
std::string LanguageOfMenuFileName(std::string_view name);

}  // namespace tolvar

#endif  // TOLVAR_MENU_FORM_LANGUAGE_FILES_H_
