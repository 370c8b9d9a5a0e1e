// POSIX body of the checker's console: arguments and terminals are UTF-8 already.
#include "menu_check/report/console.h"

namespace tolvar {

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void WriteText(std::FILE* stream, const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stream);
}

}  // namespace tolvar
