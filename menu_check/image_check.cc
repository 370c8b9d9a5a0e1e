// CheckImage: reads the image's two views, runs the medium's one check over them, and adds what
// only an image has: its extensions, the trees that differ, the Windows menu's signature read from
// it.
#include "menu_check/image_check.h"

#include <new>
#include <string>
#include <unordered_map>
#include <vector>

#include "menu_check/checks/image_names_check.h"
#include "menu_check/medium_check.h"
#include "menu_check/model/image_reader.h"
#include "shared_routines/quoted_text.h"

namespace tolvar {
namespace {

// The image's two views, and their files' bytes read from the image within one budget.
class ImageFiles : public MediumFiles {
 public:
  ImageFiles(const std::string& image, const ImageViews& views, ByteBudget* budget)
      : image_(image), views_(views), budget_(budget) {}
  const MediumView& View(System system) const override {
    return system == System::kLinux ? views_.linux_view : views_.windows_view;
  }
  std::string Read(const MediumView& view, const std::unordered_map<std::string, size_t>& wanted,
                   FileBytes* into) override {
    const std::string problem = ReadImageContents(image_, view, wanted, into, budget_);
    return problem.empty()
               ? problem
               : QuotedText(image_) + " is not an ISO 9660 image that can be read: " + problem;
  }
  bool IsFolder() const override { return false; }
  bool WindowsSeesShortNames() const override { return !views_.joliet; }

 private:
  const std::string& image_;
  const ImageViews& views_;
  ByteBudget* budget_;
};

CheckReport CheckWithin(const std::string& image, const std::string& decimal_separator,
                        const Targets& targets) {
  CheckReport report;
  report.file = "menu/config.mnu";
  ByteBudget budget;
  const ImageViews views = ReadImageViews(image, &budget);
  if (!views.problem.empty()) {
    report.checked = false;
    report.image_unreadable = true;
    report.findings.push_back(
        {0, Severity::kError,
         QuotedText(image) + " is not an ISO 9660 image that can be read: " + views.problem, "."});
    return report;
  }
  if (targets.for_linux && !views.rock_ridge) {
    report.findings.push_back(
        {0, Severity::kWarning,
         "the image has no Rock Ridge extension: Linux shows " +
             std::string(views.joliet ? "its Joliet names" : "its plain names in lower case") +
             " and no execute permissions (desktops mount it with mode=0400): the menu's "
             "autorun.sh and the menu start their programs all the same, through the program "
             "loader or a script's interpreter, but a file manager will not; master it with Rock "
             "Ridge (xorriso writes it unless told --norock)",
         "."});
  }
  if (targets.for_windows && !views.joliet) {
    report.findings.push_back(
        {0, Severity::kWarning,
         "the image has no Joliet extension: Windows shows its plain ISO 9660 names, short and "
         "in capitals; master it with Joliet (-J)",
         "."});
  }

  ImageFiles files(image, views, &budget);
  CheckMenus(files, decimal_separator, targets, &report);
  if (!report.checked) return report;  // as a folder without its menu file
  CheckAroundMenus(files, targets, &report.findings);
  CheckImageNames(views, targets, &report.findings);
  return report;
}

}  // namespace

CheckReport CheckImage(const std::string& image, const std::string& decimal_separator,
                       const Targets& targets) {
  // The budget bounds what the check keeps, but not what libarchive or a check of a large menu
  // file asks for on the way: a machine (or a limit) with less memory than that still gets its
  // report, which says that nothing was checked.
  try {
    return CheckWithin(image, decimal_separator, targets);
  } catch (const std::bad_alloc&) {
    CheckReport report;
    report.file = "menu/config.mnu";
    report.checked = false;
    report.findings.push_back(
        {0, Severity::kError,
         "the checker ran out of memory while checking " + QuotedText(image) +
             ": nothing is checked; try it on a machine with more free memory",
         "."});
    return report;
  }
}

}  // namespace tolvar
