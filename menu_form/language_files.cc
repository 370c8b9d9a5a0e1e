// Language tags from the system's names, and the order in which a medium's menu files are tried.
#include "menu_form/language_files.h"

#include <algorithm>

#include "menu_form/menu_entry.h"
#include "shared_routines/ascii_text.h"
#include "shared_routines/case_match.h"
#include "shared_routines/native_path.h"

namespace tolvar {
namespace {

bool IsLower(char c) { return c >= 'a' && c <= 'z'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string LanguageFileTag(std::string_view system_name) {
  // "de_DE.UTF-8@euro": the encoding and the modifier say nothing about the language's texts.
  const size_t end = system_name.find_first_of(".@");
  if (std::min(end, system_name.size()) > kLongestLanguageTag) return std::string();
  std::string tag(system_name.substr(0, end));
  for (char& c : tag) {
    if (c == '_') c = '-';
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return IsLanguageFileTag(tag) ? tag : std::string();
}

bool IsLanguageFileTag(std::string_view tag) {
  size_t part_start = 0;
  for (size_t at = 0; at <= tag.size(); ++at) {
    if (at < tag.size() && tag[at] != '-') {
      if (!IsLower(tag[at]) && !(part_start > 0 && IsDigit(tag[at]))) return false;
      continue;
    }
    const size_t length = at - part_start;
    if (part_start == 0 ? (length < 2 || length > 3) : (length < 1 || length > 8)) return false;
    part_start = at + 1;
  }
  return true;
}

std::string MenuFileNameOfLanguage(std::string_view tag) {
  return "config." + std::string(tag) + ".mnu";
}

std::string LanguageDefinitionPath(std::string_view tag) {
  return ".\\menu\\" + MenuFileNameOfLanguage(tag);
}

std::string LanguageOfMenuFileName(std::string_view name) {
  constexpr std::string_view kStart = "config.";
  constexpr std::string_view kEnd = ".mnu";
  if (name.size() <= kStart.size() + kEnd.size() ||
      AsciiFolded(std::string(name.substr(0, kStart.size()))) != kStart ||
      AsciiFolded(std::string(name.substr(name.size() - kEnd.size()))) != kEnd) {
    return std::string();
  }
  return std::string(name.substr(kStart.size(), name.size() - kStart.size() - kEnd.size()));
}

std::vector<std::string> DefinitionCandidates(const std::vector<std::string>& languages) {
  std::vector<std::string> candidates;
  size_t tags = 0;
  for (const std::string& language : languages) {
    std::string tag = LanguageFileTag(language);
    if (tag.empty()) continue;
    if (++tags > kMostLanguagesTried) break;
    while (!tag.empty()) {
      std::string path = LanguageDefinitionPath(tag);
      if (std::find(candidates.begin(), candidates.end(), path) == candidates.end()) {
        candidates.push_back(std::move(path));
      }
      const size_t hyphen = tag.rfind('-');
      tag.resize(hyphen == std::string::npos ? 0 : hyphen);
    }
  }
  candidates.emplace_back(kDefinitionPath);
  return candidates;
}

std::string ChooseDefinition(const std::vector<std::string>& languages,
                             const DirectoryLister& lister,
                             const std::function<bool(const std::string&)>& usable) {
  const std::string definition(kDefinitionPath);
  const size_t leaf = definition.rfind('\\') + 1;  // ".\menu\" ends there, as in every candidate
  const std::string folder = NativePath(definition.substr(0, leaf - 1));
  const DirectoryNames& menu_folder = lister.List(MatchCase(folder) + "/");
  for (const std::string& candidate : DefinitionCandidates(languages)) {
    const std::string name = candidate.substr(leaf);
    const bool listed = candidate == kDefinitionPath || menu_folder.Contains(name) ||
                        menu_folder.IgnoringCase(name, Folding::kWindows).count > 0;
    if (listed && usable(candidate)) return candidate;
  }
  return std::string();
}

}  // namespace tolvar
