// MediumFiles: the one way the checker reads a medium. Each system's names come as a MediumView,
// whose lookups follow links as the kernel does (MediumView::Reach); the bytes the checks need of
// a file (a program's first bytes, a picture up to its budget) are read in one batch per view,
// within one ByteBudget. A folder on the disk and an ISO image are its two kinds.
#ifndef TOLVAR_MENU_CHECK_MODEL_MEDIUM_FILES_H_
#define TOLVAR_MENU_CHECK_MODEL_MEDIUM_FILES_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "menu_check/model/medium_view.h"
#include "menu_form/directive.h"
#include "menu_form/result.h"
#include "shared_routines/text_input.h"

namespace tolvar {

// How many bytes of a medium's files one check keeps in all, in both views: one menu file as large
// as the menu reads, and room for the rest (the other menu files, the autostart files, pictures,
// the heads of programs). A 1 MB image can hold a compressed file of gigabytes, and any number of
// links and language names that lead to it.
inline constexpr uint64_t kImageBytesKept = kLargestTextFile + (uint64_t{64} << 20);

class ByteBudget {
 public:
  explicit ByteBudget(uint64_t bytes = kImageBytesKept) : left_(bytes) {}
  // True, and counted, when `bytes` more fit.
  bool Take(uint64_t bytes) {
    if (bytes > left_) return false;
    left_ -= bytes;
    return true;
  }
  // What was taken and not used after all (a file shorter than it said).
  void Give(uint64_t bytes) { left_ += bytes; }

 private:
  uint64_t left_;
};

// The bytes of some files of a view, by path in the view, and the files whose bytes cannot be
// read (a broken zisofs body, a read error) with the reason: a fault of those files, which the
// system reading the medium meets as well, not of the whole medium.
struct FileBytes {
  std::unordered_map<std::string, std::string> bytes;
  std::unordered_map<std::string, std::string> unreadable;
  std::unordered_set<std::string> left_out;  // not read: over the budget
};

class MediumFiles {
 public:
  virtual ~MediumFiles() = default;
  // The medium's names as `system` finds them.
  virtual const MediumView& View(System system) const = 0;
  // How findings name that view ("the image as Linux sees it (Rock Ridge names)").
  virtual std::string Describe(System system) const { return View(system).description; }
  // Reads the first bytes of the files of `view` (one of View's) in `wanted` (path in the view,
  // how many bytes) into `into`. Empty when the medium could be read at all; else why not.
  virtual std::string Read(const MediumView& view,
                           const std::unordered_map<std::string, size_t>& wanted,
                           FileBytes* into) = 0;
  // True for a folder on the disk, whose findings name it as the menu does ("menu\config.mnu").
  virtual bool IsFolder() const = 0;
  // True when Windows sees only short plain names (an image without Joliet).
  virtual bool WindowsSeesShortNames() const { return false; }
};

// The medium whose root is the folder `root` on the disk. Both systems see the same names, in one
// view (a menu file is kept once however large): Linux finds them as written, with the execute
// bits where the host keeps them, Windows ignoring case. Bytes are read from <root>/<path> of a
// name the view reached, so never through a link out of the medium, each without blocking and no
// more than wanted.
class FolderFiles : public MediumFiles {
 public:
  explicit FolderFiles(const std::string& root);
  const MediumView& View(System) const override { return view_; }
  std::string Describe(System system) const override {
    return system == System::kLinux ? "the folder as Linux sees it"
                                    : "the folder as Windows sees it";
  }
  std::string Read(const MediumView& view, const std::unordered_map<std::string, size_t>& wanted,
                   FileBytes* into) override;
  bool IsFolder() const override { return true; }

 private:
  std::string root_;
  MediumView view_;
  ByteBudget budget_;
};

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_MODEL_MEDIUM_FILES_H_
