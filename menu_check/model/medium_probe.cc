// MediumProbe: the reasons a path names no ordinary file; FolderProbe: the letter-case walk over
// cached directory listings of the disk.
#include "menu_check/model/medium_probe.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "menu_check/model/execute_permission.h"
#include "menu_form/directive.h"
#include "picture/picture_file.h"
#include "picture/picture_loader.h"
#include "shared_routines/ascii_text.h"
#include "shared_routines/case_match.h"
#include "shared_routines/file_exists.h"
#include "shared_routines/native_path.h"
#include "shared_routines/quoted_text.h"
#include "shared_routines/windows_case.h"

namespace tolvar {
namespace {

namespace fs = std::filesystem;

// The walk takes '/' alone between components; Windows paths also use '\\'.
std::string ForwardSlashes(std::string native) {
#ifdef _WIN32
  for (char& c : native) {
    if (c == '\\') c = '/';
  }
#endif
  return native;
}

bool IsAbsolute(const std::string& native) {
  if (!native.empty() && (native[0] == '/' || native[0] == '\\')) return true;
  return native.size() >= 2 && native[1] == ':';  // a drive letter
}

}  // namespace

std::string FolderProbe::CaseVariant(const std::string& written) {
  const std::string native = ForwardSlashes(NativePath(written));
  if (IsAbsolute(native)) return "";
  const std::optional<std::string> found =
      FindIgnoringCase(directories_, native, CaseRule::kFirstMatch);
  std::error_code error;
  if (!found || *found == native || !fs::is_regular_file(fs::u8path(*found), error)) return "";
  const char separator =
      written.find('/') != std::string::npos && written.find('\\') == std::string::npos ? '/'
                                                                                        : '\\';
  std::string spelled = *found;
  for (char& c : spelled) {
    if (c == '/') c = separator;
  }
  return spelled;
}

bool FolderProbe::CaseVariantIsUnique(const std::string& written) {
  return FindIgnoringCase(directories_, ForwardSlashes(NativePath(written)), CaseRule::kOnlyMatch)
      .has_value();
}

bool MediumProbe::EndsInBlanksWindowsDrops(const std::string& written) {
  const size_t last = written.find_last_not_of(' ');
  if (last == std::string::npos || last + 1 == written.size()) return false;
  const std::string kept = written.substr(0, last + 1);
  return Exists(kept) || !CaseVariant(kept).empty();
}

std::string MediumProbe::WhyNotFound(const std::string& written) {
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

bool FolderProbe::Exists(const std::string& path) { return FileExists(path); }

bool FolderProbe::FileFound(const std::string& path) {
  const std::string native = NativePath(path);
  if (native.empty() || native[0] == '/' || native[0] == '\\' ||
      native.find(':') != std::string::npos || native.find_first_of("*?") != std::string::npos) {
    return FileExists(path);
  }
  if (!CaseVariant(path).empty()) return CaseVariantIsUnique(path);
  std::error_code error;
  return fs::exists(fs::symlink_status(fs::u8path(native), error)) && FileExists(path);
}

bool FolderProbe::IsFolder(const std::string& path) {
  std::error_code error;
  return fs::is_directory(fs::u8path(MatchCase(NativePath(path))), error);
}

std::optional<WithoutExecuteBit> FolderProbe::ExecuteBitMissing(const std::string& path) {
  return tolvar::ExecuteBitMissing(path);
}

Result FolderProbe::CheckPicture(const std::string& path) { return tolvar::CheckPicture(path); }

bool FolderProbe::ReadPicture(const std::string& path, std::string* bytes) {
  Expected<std::string> read = ReadPictureFile(MatchCase(NativePath(path)));
  if (read) *bytes = std::move(read).value();
  return read.ok();
}

MediumProbe::Kind FolderProbe::What(const std::string& written) {
  std::error_code error;
  const fs::file_status status = fs::status(fs::u8path(NativePath(written)), error);
  if (fs::is_directory(status)) return Kind::kFolder;
  return fs::exists(status) ? Kind::kOther : Kind::kNothing;
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
