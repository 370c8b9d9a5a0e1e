// BatchFileRefusal: the extension, then the characters cmd.exe treats specially.
#include "shared_routines/batch_file.h"

#include "shared_routines/ascii_text.h"

namespace tolvar {

std::string BatchFileRefusal(const std::string& path) {
  if (path.size() < 4) return std::string();
  const std::string extension = AsciiFolded(path.substr(path.size() - 4));
  if (extension != ".bat" && extension != ".cmd") return std::string();
  const size_t special = path.find_first_of("%^&|<>\"");
  if (special == std::string::npos) return std::string();
  return std::string("it is a batch file whose path holds '") + path[special] +
         "', which cmd.exe would expand or split, starting another file";
}

}  // namespace tolvar
