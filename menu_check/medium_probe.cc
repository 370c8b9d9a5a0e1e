// MediumProbe: case-insensitive lookup over cached directory listings, and the reasons a path
// names no ordinary file.
#include "menu_check/medium_probe.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "shared_routines/file_exists.h"
#include "shared_routines/native_path.h"
#include "shared_routines/quoted_text.h"

namespace tolvar {
namespace {

namespace fs = std::filesystem;

// Windows ignores the case of every letter; ASCII is what media names use in practice, and a
// non-ASCII name that differs in case is only missed, never wrongly reported.
std::string AsciiLower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

bool IsSeparator(char c) {
#ifdef _WIN32
  return c == '\\' || c == '/';
#else
  return c == '/';
#endif
}

std::vector<std::string> Components(const std::string& native) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t i = 0; i <= native.size(); ++i) {
    if (i == native.size() || IsSeparator(native[i])) {
      if (i > start) parts.push_back(native.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

bool IsAbsolute(const std::string& native) {
  if (!native.empty() && (native[0] == '/' || native[0] == '\\')) return true;
  return native.size() >= 2 && native[1] == ':';  // a drive letter
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

const MediumProbe::Listing& MediumProbe::ListingOf(const std::string& directory) {
  auto found = listings_.find(directory);
  if (found != listings_.end()) return found->second;
  Listing& listing = listings_[directory];
  std::error_code error;
  for (fs::directory_iterator it(fs::u8path(directory), error), end; !error && it != end;
       it.increment(error)) {
    const std::string name = it->path().filename().u8string();
    listing.names.insert(name);
    listing.by_lower_case.emplace(AsciiLower(name), name);
    ++listing.lower_case_count[AsciiLower(name)];
  }
  return listing;
}

std::string MediumProbe::CaseVariant(const std::string& written) {
  const std::string native = NativePath(written);
  if (IsAbsolute(native)) return "";
  const char separator =
      written.find('/') != std::string::npos && written.find('\\') == std::string::npos ? '/'
                                                                                        : '\\';
  std::string directory = ".";
  std::string spelled;
  bool differs = false;
  for (const std::string& part : Components(native)) {
    std::string name;
    if (part == "." || part == "..") {
      name = part;
    } else {
      const Listing& listing = ListingOf(directory);
      if (listing.names.count(part) > 0) {
        name = part;
      } else {
        const auto folded = listing.by_lower_case.find(AsciiLower(part));
        if (folded != listing.by_lower_case.end()) {
          name = folded->second;
          differs = true;
        }
      }
      if (name.empty()) return "";
    }
    directory += "/" + name;
    spelled += (spelled.empty() ? "" : std::string(1, separator)) + name;
  }
  std::error_code error;
  if (!differs || !fs::is_regular_file(fs::u8path(directory), error)) return "";
  return spelled;
}

bool MediumProbe::CaseVariantIsUnique(const std::string& written) {
  std::string directory = ".";
  for (const std::string& part : Components(NativePath(written))) {
    if (part == "." || part == "..") {
      directory += "/" + part;
      continue;
    }
    const Listing& listing = ListingOf(directory);
    if (listing.names.count(part) > 0) {
      directory += "/" + part;
      continue;
    }
    const std::string lower = AsciiLower(part);
    const auto count = listing.lower_case_count.find(lower);
    if (count == listing.lower_case_count.end() || count->second != 1) return false;
    directory += "/" + listing.by_lower_case.at(lower);
  }
  return true;
}

bool MediumProbe::EndsInBlanksWindowsDrops(const std::string& written) {
  const size_t last = written.find_last_not_of(' ');
  if (last == std::string::npos || last + 1 == written.size()) return false;
  const std::string kept = written.substr(0, last + 1);
  return FileExists(kept) || !CaseVariant(kept).empty();
}

std::string MediumProbe::WhyNotFound(const std::string& written) {
  const std::string shown = QuotedText(written);
  if (Trimmed(written).empty()) return "the line holds only blanks";

  std::error_code error;
  const fs::file_status status = fs::status(fs::u8path(NativePath(written)), error);
  if (fs::is_directory(status)) return shown + " is a directory, not a file";
  if (fs::exists(status)) {
    return shown + " is a hidden, system or special file, which the menu does not count as a file";
  }

  const std::string trimmed = Trimmed(written);
  if (trimmed != written && (FileExists(trimmed) || !CaseVariant(trimmed).empty())) {
    return "the line has blanks before or after the path " + QuotedText(trimmed);
  }
  for (size_t blank = written.find(' '); blank != std::string::npos;
       blank = written.find(' ', blank + 1)) {
    const std::string program = written.substr(0, blank);
    if (FileExists(program) || !CaseVariant(program).empty()) {
      return "the command carries arguments after the program " + QuotedText(program) +
             ", but the whole line is taken as the program's path";
    }
  }
  return "there is no file " + shown + " on the medium";
}

bool LooksLikeKeyword(const std::string& line, const std::string& keyword) {
  return line != keyword && AsciiLower(Trimmed(line)) == keyword;
}

}  // namespace tolvar
