// ViewProbe: what the menu file's checks ask of the medium, answered from one system's view of it
// (a folder or an ISO image), as that system's menu finds its files there.
#ifndef TOLVAR_MENU_CHECK_MODEL_VIEW_PROBE_H_
#define TOLVAR_MENU_CHECK_MODEL_VIEW_PROBE_H_

#include <cstddef>
#include <string>
#include <unordered_map>

#include "menu_check/model/medium_files.h"
#include "menu_check/model/medium_probe.h"
#include "menu_check/model/medium_view.h"
#include "menu_form/directive.h"

namespace tolvar {

class ViewProbe : public MediumProbe {
 public:
  // `system`'s menu finds files in `view`: Linux's matching case where one name alone fits,
  // Windows' ignoring letter case as Windows does, beyond ASCII too.
  ViewProbe(const MediumView& view, System system) : view_(view), system_(system) {}

  std::string CaseVariant(const std::string& written) override;
  bool CaseVariantIsUnique(const std::string& written) override;
  bool Exists(const std::string& path) override;
  bool IsFolder(const std::string& path) override;
  std::optional<WithoutExecuteBit> ExecuteBitMissing(const std::string& path) override;
  Result CheckPicture(const std::string& path) override;
  bool ReadPicture(const std::string& path, std::string* bytes) override;

  // The bytes read of files the checks ask about, by path in the view: the first bytes of a
  // program, a picture whole up to one byte over the budget; and those that cannot be read, about
  // which the checks answer as though they were sound (their fault is a finding of its own).
  FileBytes contents;
  // The files asked about whose bytes are not in `contents`, with how many are wanted. The checks
  // answer as though such a file were sound; read the bytes and check again.
  const std::unordered_map<std::string, size_t>& missing() const { return missing_; }

 protected:
  Kind What(const std::string& written) override;

 private:
  const MediumName* Find(const std::string& written) const;
  const std::string* Content(const std::string& path, size_t bytes);

  const MediumView& view_;
  const System system_;
  std::unordered_map<std::string, size_t> missing_;
};

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_MODEL_VIEW_PROBE_H_
