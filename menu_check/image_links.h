// FollowLink: where a symbolic link of an image leads, followed as Linux follows it, within the
// image's view: the image is all the checker reads.
#ifndef TOLVAR_MENU_CHECK_IMAGE_LINKS_H_
#define TOLVAR_MENU_CHECK_IMAGE_LINKS_H_

#include <string>

#include "menu_check/medium_view.h"

namespace tolvar {

enum class LinkEnd { kFound, kMissing, kLoop, kOutside };

// Where the link at `link` (an indexed view's path) leads, walking each component as Linux does: a
// link met on the way is replaced by its target, ".." climbs from where the walk has got to, and
// more than 40 links is a loop. `end` is the path found (kFound), or the first not found
// (kMissing).
LinkEnd FollowLink(const MediumView& view, const std::string& link, std::string* end);

// The same walk for a path from the view's root, through any links on the way, as Linux opens
// it: `end` is the path of what it reaches, in the view.
LinkEnd FollowPath(const MediumView& view, const std::string& path, std::string* end);

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_IMAGE_LINKS_H_
