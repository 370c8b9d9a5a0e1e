// CheckImageNames: the entries of each view that its system cannot use as the folder check would
// take them. Links are followed as Linux follows them, within the view.
#include "menu_check/checks/image_names_check.h"

#include <string>

#include "menu_check/model/medium_view.h"
#include "shared_routines/quoted_text.h"

namespace tolvar {
namespace {

void Warn(const std::string& path, std::string message, std::vector<Finding>* findings) {
  findings->push_back({0, Severity::kWarning, std::move(message), path});
}

void CheckLinks(const MediumView& view, std::vector<Finding>* findings) {
  for (const MediumName& name : view.names) {
    if (!name.symlink) continue;
    const auto target = view.link_targets.find(name.path);
    const std::string to =
        QuotedText(target == view.link_targets.end() ? std::string() : target->second);
    std::string missing;
    switch (FollowLink(view, name.path, &missing)) {
      case LinkEnd::kFound:
        break;
      case LinkEnd::kMissing:
        Warn(name.path,
             "in " + view.description + ": the symbolic link leads to " + to +
                 ", and there is no " + QuotedText(missing) +
                 " on the medium: Linux finds nothing there",
             findings);
        break;
      case LinkEnd::kLoop:
        Warn(name.path,
             "in " + view.description + ": the symbolic link to " + to +
                 " goes round in a loop of links: Linux gives up (too many levels of symbolic "
                 "links)",
             findings);
        break;
      case LinkEnd::kOutside:
        Warn(name.path,
             "in " + view.description + ": the symbolic link to " + to +
                 " leads out of the medium: on Linux it names whatever the computer the medium "
                 "is in holds there",
             findings);
        break;
    }
  }
}

// Windows reads Joliet, or the plain names, and neither keeps a link.
void LinksOnWindows(const MediumView& linux_view, const MediumView& windows_view, bool joliet,
                    std::vector<Finding>* findings) {
  for (const MediumName& name : linux_view.names) {
    if (!name.symlink) continue;
    const MediumName* shown = windows_view.IgnoringCase(name.path);
    if (shown != nullptr && !shown->directory) {
      Warn(name.path,
           "the symbolic link is an empty file in " + windows_view.description +
               ": Windows knows no links on a disc; put the file itself there",
           findings);
    } else if (shown == nullptr) {
      Warn(name.path,
           std::string("the symbolic link is missing from ") + windows_view.description + ": " +
               (joliet ? "Joliet keeps no links" : "Windows knows no links on a disc") +
               "; put the file itself there",
           findings);
    }
  }
}

void CheckEntries(const MediumView& view, const char* system, std::vector<Finding>* findings) {
  for (const MediumName& name : view.names) {
    if (name.compressed) {
      Warn(name.path,
           "in " + view.description + ": the file is compressed with zisofs, and " + system +
               " reads its compressed bytes, not the file: only Linux reading Rock Ridge "
               "uncompresses it; master the image without zisofs compression",
           findings);
    }
    // Entries come in the order they were found, and the view finds the first of a name.
    if (view.Exact(name.path) != &name) {
      Warn(name.path,
           "in " + view.description + ": two entries of this name stand in one folder: " + system +
               " shows only one of them",
           findings);
      continue;
    }
    // libarchive joins names with '/': an entry whose folder is missing had one in its name.
    const std::string parent = ParentOf(name.path);
    const MediumName* folder = parent.empty() ? nullptr : view.Exact(parent);
    if (!parent.empty() && (folder == nullptr || !folder->directory)) {
      Warn(name.path,
           "in " + view.description + ": a name holds '/', which no path can spell: " + system +
               " shows it but cannot open it",
           findings);
    }
  }
}

}  // namespace

void CheckImageNames(const ImageViews& views, const Targets& targets,
                     std::vector<Finding>* findings) {
  if (targets.for_linux) {
    CheckEntries(views.linux_view, "Linux", findings);
    CheckLinks(views.linux_view, findings);
  }
  if (targets.for_windows) {
    CheckEntries(views.windows_view, "Windows", findings);
    LinksOnWindows(views.linux_view, views.windows_view, views.joliet, findings);
  }
}

}  // namespace tolvar
