// ResolvesInside: whether a file the menu reads from the medium is the medium's own, wherever its
// links lead.
#ifndef TOLVAR_SHARED_ROUTINES_RESOLVES_INSIDE_H_
#define TOLVAR_SHARED_ROUTINES_RESOLVES_INSIDE_H_

#include <string>

namespace tolvar {

// True when `path` (as the menu file writes paths, relative to the current directory) names a file
// that, with every link on the way followed, lies inside the folder `root`, with its links
// followed too. A medium may hold a link to a file of the user's ("menu/config.de.mnu ->
// ~/.netrc"), whose lines the menu would show in its boxes. False when either cannot be resolved.
bool ResolvesInside(const std::string& path, const std::string& root);

}  // namespace tolvar

#endif  // TOLVAR_SHARED_ROUTINES_RESOLVES_INSIDE_H_
