// CheckNames: the names of a medium's files and folders as Windows sees them: characters and
// device names it refuses, names it cannot tell apart, and the lengths that Joliet and Windows
// programs allow.
#include <map>
#include <string>
#include <vector>

#include "menu_check/checks/medium_checks.h"
#include "menu_check/model/view_probe.h"
#include "shared_routines/ascii_text.h"
#include "shared_routines/quoted_text.h"
#include "shared_routines/windows_case.h"
#include "shared_routines/windows_names.h"

namespace tolvar {
namespace {

// An ISO image's Joliet names, which Windows reads, hold 64 characters at most.
constexpr size_t kLongestJolietName = 64;
// MAX_PATH: 260 characters with the drive ("D:\") and the terminating NUL.
constexpr size_t kLongestWindowsPath = 260 - 4;

// The length in UTF-16 units, as Windows counts; bytes that are not UTF-8 count one each.
size_t Utf16Length(const std::string& text) {
  size_t length = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if ((c & 0xC0) == 0x80) continue;  // a continuation byte
    length += c >= 0xF0 ? 2 : 1;
  }
  return length;
}

// Why Windows cannot use `name`, or "".
std::string RefusedName(const std::string& name) {
  for (const char c : name) {
    if (std::string(":*?\"<>|\\").find(c) != std::string::npos) {
      return std::string("it holds '") + c + "'";
    }
    if (static_cast<unsigned char>(c) < 0x20) return "it holds a control character";
  }
  if (name.back() == '.' || name.back() == ' ') return "it ends in a dot or a blank";
  const std::string_view device = WindowsDeviceIn(name);
  if (device.empty()) return "";
  return "it is the name of a device (" + AsciiFolded(std::string(device)) +
         "), with or without an extension";
}

}  // namespace

void CheckNames(const MediumView& view, const Targets& targets, std::vector<Finding>* findings) {
  if (!targets.for_windows) return;
  const auto warn = [&](const std::string& path, std::string message) {
    findings->push_back({0, Severity::kWarning, std::move(message), path});
  };
  for (const MediumName& entry : view.names) {
    const std::string leaf = LeafOf(entry.path);
    const std::string refused = RefusedName(leaf);
    if (!refused.empty()) warn(entry.path, "Windows cannot use this name: " + refused);
    if (Utf16Length(leaf) > kLongestJolietName) {
      warn(entry.path, "the name is " + std::to_string(Utf16Length(leaf)) +
                           " characters long: the Joliet names of an ISO image, which Windows "
                           "reads, hold " +
                           std::to_string(kLongestJolietName));
    }
    if (Utf16Length(entry.path) > kLongestWindowsPath) {
      warn(entry.path, "the path is " + std::to_string(Utf16Length(entry.path)) +
                           " characters long: with the drive, more than the 260 that Windows "
                           "programs can open");
    }
  }
  // Folders first, in a stable order, so that the report reads the same every time.
  std::map<std::string, bool> folders{{"", true}};
  for (const MediumName& entry : view.names) {
    if (entry.directory) folders.emplace(entry.path, true);
  }
  for (const auto& folder : folders) {
    std::map<std::string, std::vector<std::string>> alike;
    for (const std::string& child : view.Children(folder.first)) {
      alike[FoldedAsWindows(child)].push_back(child);
    }
    for (const auto& group : alike) {
      if (group.second.size() < 2) continue;
      std::string names;
      for (const std::string& name : group.second)
        names += (names.empty() ? "" : ", ") + QuotedText(name);
      const std::string first =
          folder.first.empty() ? group.second[0] : folder.first + "/" + group.second[0];
      warn(first, "names that differ only in letter case stand in one folder (" + names +
                      "): Windows keeps only one of them, and the Linux menu matches neither "
                      "when a path spells them otherwise");
    }
  }
}

}  // namespace tolvar
