// BatchFileRefusal: the extension, then the characters cmd.exe treats specially.
#include "shared_routines/batch_file.h"

#include <cctype>

namespace tolvar {

std::string BatchFileRefusal(const std::string& path) {
  if (path.size() < 4) return std::string();
  std::string extension = path.substr(path.size() - 4);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (extension != ".bat" && extension != ".cmd") return std::string();
  const size_t special = path.find_first_of("%^&|<>\"");
  if (special == std::string::npos) return std::string();
  return std::string("it is a batch file whose path holds '") + path[special] +
         "', which cmd.exe would expand or split, starting another file";
}

}  // namespace tolvar
