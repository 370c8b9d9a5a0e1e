// RockRidgeLinkTargets: the targets of an image's Rock Ridge symbolic links, read from their SL
// entries as Linux reads them. A target longer than one entry holds is written in several, and
// libarchive joins the last component of one entry to the first of the next ("d" and "d" read as
// "dd"): the checks would judge another path than the one the link holds.
#ifndef TOLVAR_MENU_CHECK_MODEL_ROCK_RIDGE_LINKS_H_
#define TOLVAR_MENU_CHECK_MODEL_ROCK_RIDGE_LINKS_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>

#include "menu_check/model/iso_extents.h"

namespace tolvar {

// The target of each symbolic link in the Rock Ridge tree of an image of `image_size` bytes, by the
// link's path from the root (names joined by '/', as MediumView writes them). Walks at most
// `most_directories` directories; a link in a directory it does not reach (one moved by deep
// directory relocation) or whose entries it cannot make out is left out.
std::unordered_map<std::string, std::string> RockRidgeLinkTargets(uint64_t image_size,
                                                                  ImageReader read, void* context,
                                                                  size_t most_directories);

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_MODEL_ROCK_RIDGE_LINKS_H_
