// ViewProbe: the view's lookups for the path questions, and the bytes the check reads for it in
// one batch from the medium.
#include "menu_check/model/view_probe.h"

#include <algorithm>
#include <vector>

#include "menu_check/model/medium_view.h"
#include "menu_check/model/menu_lookup.h"
#include "menu_form/directive.h"
#include "picture/picture_header.h"
#include "picture/picture_loader.h"
#include "shared_routines/ascii_text.h"
#include "shared_routines/case_match.h"
#include "shared_routines/directory_lister.h"
#include "shared_routines/quoted_text.h"
#include "shared_routines/wildcard.h"
#include "shared_routines/windows_case.h"

namespace tolvar {

const MediumName* ViewProbe::Find(const std::string& written) const {
  return FindAsMenu(view_, system_, written);
}

const std::string* ViewProbe::Content(const std::string& name, size_t bytes) {
  const std::string& path = view_.ContentsPath(name);  // read once, whatever name led to it
  const auto found = contents.bytes.find(path);
  if (found != contents.bytes.end()) return &found->second;
  if (contents.unreadable.count(path) != 0 || contents.left_out.count(path) != 0) return nullptr;
  size_t& wanted = missing_[path];
  wanted = std::max(wanted, bytes);
  return nullptr;
}

std::string ViewProbe::CaseVariant(const std::string& written) {
  std::string path;
  if (!PathInView(written, &path)) return "";
  const std::optional<std::string> spelled_in_view = view_.Spelled(path, CaseRule::kFirstMatch);
  if (!spelled_in_view || *spelled_in_view == path) return "";
  const MediumName* found = view_.Reach(*spelled_in_view);
  if (found == nullptr || found->directory) return "";
  const char separator =
      written.find('/') != std::string::npos && written.find('\\') == std::string::npos ? '/'
                                                                                        : '\\';
  std::string spelled = *spelled_in_view;
  std::replace(spelled.begin(), spelled.end(), '/', separator);
  return spelled;
}

bool ViewProbe::CaseVariantIsUnique(const std::string& written) {
  return FindAsMenu(view_, System::kLinux, written) != nullptr;
}

bool ViewProbe::Exists(const std::string& path) {
  const MediumName* found = Find(path);
  return found != nullptr && !found->directory && !found->special;
}

bool ViewProbe::LeadsOutside(const std::string& written) {
  std::string path;
  if (!PathInView(written, &path)) return false;
  const CaseRule rule = system_ == System::kWindows ? CaseRule::kFirstMatch : CaseRule::kOnlyMatch;
  std::string end;
  return FollowPath(view_, view_.Spelled(path, rule).value_or(path), &end) == LinkEnd::kOutside;
}

bool ViewProbe::IsFolder(const std::string& path) {
  const MediumName* found = Find(path);
  return found != nullptr && found->directory;
}

std::optional<WithoutExecuteBit> ViewProbe::ExecuteBitMissing(const std::string& path) {
  if (system_ != System::kLinux || !view_.modes_known) return std::nullopt;
  const MediumName* found = Find(path);
  if (found == nullptr || found->directory || found->special || found->executable) {
    return std::nullopt;
  }
  const std::string* head = Content(found->path, kProgramHeadBytes);
  if (head == nullptr) return std::nullopt;
  return LaunchWithoutExecuteBit(*head);
}

Result ViewProbe::CheckPicture(const std::string& path) {
  const MediumName* found = OpenAsMenu(view_, system_, path);
  if (found == nullptr) {
    const std::string pattern = PatternNotOpened(path);
    return Result::Failure(pattern.empty() ? "there is no such file" : pattern);
  }
  const std::string* bytes = Content(found->path, kMaxPictureFileBytes + 1);
  return bytes == nullptr ? Result::Ok() : CheckPictureBytes(*bytes);
}

std::string ViewProbe::PatternNotOpened(const std::string& path) {
  if (!HoldsWildcard(path) || OpenAsMenu(view_, system_, path) != nullptr || !Exists(path)) {
    return "";
  }
  return "the name holds a wildcard (* or ?): the menu finds a file by the pattern, but opens a "
         "picture by its own name alone, and no file is named so; write the file's own name";
}

bool ViewProbe::ReadPicture(const std::string& path, std::string* bytes) {
  const MediumName* found = OpenAsMenu(view_, system_, path);
  if (found == nullptr) return false;
  const std::string* content = Content(found->path, kMaxPictureFileBytes + 1);
  if (content == nullptr || content->size() > kMaxPictureFileBytes) return false;
  *bytes = *content;
  return true;
}

ViewProbe::Kind ViewProbe::What(const std::string& written) {
  std::string path;
  if (!PathInView(written, &path)) return Kind::kNothing;
  // Windows finds it whatever its letter case; Linux only as written.
  const MediumName* found =
      system_ == System::kLinux ? view_.Reach(path) : view_.IgnoringCase(path);
  if (found == nullptr) return Kind::kNothing;
  return found->directory ? Kind::kFolder : Kind::kOther;  // kOther: hidden, or a device
}

bool ViewProbe::EndsInBlanksWindowsDrops(const std::string& written) {
  const size_t last = written.find_last_not_of(' ');
  if (last == std::string::npos || last + 1 == written.size()) return false;
  const std::string kept = written.substr(0, last + 1);
  return Exists(kept) || !CaseVariant(kept).empty();
}

std::string ViewProbe::WhyNotFound(const std::string& written) {
  const std::string shown = QuotedText(written);
  if (TrimBlanks(written).empty()) return "the line holds only blanks";

  const Kind kind = What(written);
  if (kind == Kind::kFolder) return shown + " is a directory, not a file";
  if (kind != Kind::kNothing) {
    return shown + " is a hidden, system or special file, which the menu does not count as a file";
  }

  const std::string trimmed = TrimBlanks(written);
  if (trimmed != written && (Exists(trimmed) || !CaseVariant(trimmed).empty())) {
    return "the line has blanks before or after the path " + QuotedText(trimmed);
  }
  for (size_t blank = written.find(' '); blank != std::string::npos;
       blank = written.find(' ', blank + 1)) {
    const std::string program = written.substr(0, blank);
    if (Exists(program) || !CaseVariant(program).empty()) {
      return "the command carries arguments after the program " + QuotedText(program) +
             ", but the whole line is taken as the program's path: make the command " +
             QuotedText(program) + " and put the line " +
             QuotedText(DirectiveSpelling(DirectiveName::kArguments) + " " +
                        TrimBlanks(written.substr(blank + 1))) +
             " above the entry's caption";
    }
  }
  return "there is no file " + shown + " on the medium";
}

bool LooksLikeKeyword(const std::string& line, const std::string& keyword) {
  return line != keyword && AsciiFolded(TrimBlanks(line)) == keyword;
}

std::string WhyLinuxMisses(const std::string& written, const std::string& variant) {
  if (!EqualIgnoringAsciiCase(written, variant) &&
      FoldedAsWindows(written) == FoldedAsWindows(variant)) {
    return "a difference in the case of letters beyond A to Z, which only Windows "
           "ignores";
  }
  return "beside a name that differs from it only in letter case";
}

}  // namespace tolvar
