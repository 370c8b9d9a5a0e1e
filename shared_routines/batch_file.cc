// BatchFileRefusal: the extension, then the characters cmd.exe treats specially.
#include "shared_routines/batch_file.h"

#include "shared_routines/ascii_text.h"

namespace tolvar {
namespace {

bool IsBatchFile(const std::string& path) {
  if (path.size() < 4) return false;
  const std::string extension = AsciiFolded(path.substr(path.size() - 4));
  return extension == ".bat" || extension == ".cmd";
}

}  // namespace

std::string BatchFileRefusal(const std::string& path) {
  if (!IsBatchFile(path)) return std::string();
  const size_t special = path.find_first_of("%^&|<>\"");
  if (special == std::string::npos) return std::string();
  return std::string("it is a batch file whose path holds '") + path[special] +
         "', which cmd.exe would expand or split, starting another file";
}

std::string BatchFileRefusal(const std::string& path, const std::string& arguments) {
  std::string refusal = BatchFileRefusal(path);
  if (!refusal.empty() || arguments.empty() || !IsBatchFile(path)) return refusal;
  const size_t special = arguments.find_first_of("%^&|<>!");
  if (special != std::string::npos) {
    return std::string("it is a batch file whose arguments hold '") + arguments[special] +
           "', which cmd.exe would expand or split, passing it other arguments or starting "
           "another program";
  }
  size_t quotes = 0;
  for (const char c : arguments) quotes += c == '"';
  if (quotes % 2 != 0) {
    return "it is a batch file whose arguments hold an odd number of double quotes, which "
           "leaves cmd.exe reading the rest of its command line differently";
  }
  return std::string();
}

}  // namespace tolvar
