// ViewProbe: the view's lookups for the path questions, and the bytes CheckImage reads for it in
// one pass over the image's tree.
#include "menu_check/model/view_probe.h"

#include <algorithm>
#include <vector>

#include "menu_check/model/medium_view.h"
#include "picture/picture_header.h"
#include "picture/picture_loader.h"
#include "shared_routines/directory_lister.h"

namespace tolvar {

bool PathInView(const std::string& written, std::string* in_view) {
  if (written.empty() || written[0] == '/' || written[0] == '\\' ||
      (written.size() >= 2 && written[1] == ':')) {
    return false;
  }
  std::string path = written;
  std::replace(path.begin(), path.end(), '\\', '/');
  std::vector<std::string> kept;
  for (const std::string& part : PathComponents(path)) {
    if (part.empty() || part == ".") continue;
    if (part != "..") {
      kept.push_back(part);
    } else if (kept.empty()) {
      return false;
    } else {
      kept.pop_back();
    }
  }
  in_view->clear();
  for (const std::string& part : kept) *in_view += (in_view->empty() ? "" : "/") + part;
  return !in_view->empty();
}

const MediumName* ViewProbe::Find(const std::string& written) const {
  std::string path;
  if (!PathInView(written, &path)) return nullptr;
  return system_ == System::kWindows ? view_.IgnoringCase(path) : view_.AsLinuxMenuFinds(path);
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
  std::string path;
  return PathInView(written, &path) && view_.AsLinuxMenuFinds(path) != nullptr;
}

bool ViewProbe::Exists(const std::string& path) {
  const MediumName* found = Find(path);
  return found != nullptr && !found->directory;
}

bool ViewProbe::IsFolder(const std::string& path) {
  const MediumName* found = Find(path);
  return found != nullptr && found->directory;
}

std::optional<WithoutExecuteBit> ViewProbe::ExecuteBitMissing(const std::string& path) {
  if (system_ != System::kLinux || !view_.modes_known) return std::nullopt;
  const MediumName* found = Find(path);
  if (found == nullptr || found->directory || found->executable) return std::nullopt;
  const std::string* head = Content(found->path, kProgramHeadBytes);
  if (head == nullptr) return std::nullopt;
  return LaunchWithoutExecuteBit(*head);
}

Result ViewProbe::CheckPicture(const std::string& path) {
  const MediumName* found = Find(path);
  if (found == nullptr || found->directory) return Result::Failure("there is no such file");
  const std::string* bytes = Content(found->path, kMaxPictureFileBytes + 1);
  return bytes == nullptr ? Result::Ok() : CheckPictureBytes(*bytes);
}

bool ViewProbe::ReadPicture(const std::string& path, std::string* bytes) {
  const MediumName* found = Find(path);
  if (found == nullptr || found->directory) return false;
  const std::string* content = Content(found->path, kMaxPictureFileBytes + 1);
  if (content == nullptr || content->size() > kMaxPictureFileBytes) return false;
  *bytes = *content;
  return true;
}

MediumProbe::Kind ViewProbe::What(const std::string& written) {
  std::string path;
  if (!PathInView(written, &path)) return Kind::kNothing;
  // Windows finds it whatever its letter case; Linux only as written.
  const MediumName* found =
      system_ == System::kLinux ? view_.Reach(path) : view_.IgnoringCase(path);
  if (found == nullptr) return Kind::kNothing;
  return found->directory ? Kind::kFolder : Kind::kOther;
}

}  // namespace tolvar
