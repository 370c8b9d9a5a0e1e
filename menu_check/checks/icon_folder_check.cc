// IconWarning and FolderCommandWarning, through the medium's probe, which reads a folder or an
// image alike.
#include "menu_check/checks/icon_folder_check.h"

#include <utility>

#include "menu_check/checks/path_hint.h"
#include "menu_form/folder_command.h"
#include "picture/icon_picture.h"
#include "shared_routines/native_path.h"
#include "shared_routines/quoted_text.h"

namespace tolvar {

std::string IconWarning(ViewProbe& probe, const std::string& path) {
  constexpr char kNoIcon[] = "no icon is shown";
  if (path.empty()) return std::string(kNoIcon) + ": the directive names no file";
  const std::string hint = PathHint(path, kNoIcon);
  if (!hint.empty()) return hint;
  if (!probe.Exists(path)) return std::string(kNoIcon) + ": " + probe.WhyNotFound(path);
  const std::string pattern = probe.PatternNotOpened(path);
  if (!pattern.empty()) return std::string(kNoIcon) + ": " + pattern;
  std::string bytes;
  if (!probe.ReadPicture(path, &bytes)) {
    return std::string(kNoIcon) + ": " + QuotedText(path) + " cannot be read";
  }
  // The list's size at 96 dots per inch: 16 x 16 pixels.
  const Expected<PicturePixels> shown = DecodeIconPicture(std::move(bytes), 16);
  if (!shown) return std::string(kNoIcon) + ": " + QuotedText(path) + ": " + shown.reason();
  return "";
}

std::string FolderCommandWarning(ViewProbe& probe, const std::string& command) {
  if (!AsksForFolder(command)) return "";
  if (probe.IsFolder(command)) return "";
  return "the command ends in a separator, which asks for a folder to show in the file "
         "manager, but " +
         QuotedText(command) + " is no folder of the medium: Launch says \"Can't find file!!\"";
}

}  // namespace tolvar
