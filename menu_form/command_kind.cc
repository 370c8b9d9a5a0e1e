// The link schemes the menu opens, and how any scheme is told from a path.
#include "menu_form/command_kind.h"

#include "shared_routines/ascii_text.h"

namespace tolvar {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The scheme before the first colon, or "" when the command does not start with one.
std::string_view Scheme(std::string_view command) {
  const size_t colon = command.find(':');
  if (colon == std::string_view::npos || colon == 0 || !IsAsciiLetter(command[0])) return {};
  for (size_t at = 1; at < colon; ++at) {
    const char c = command[at];
    if (!IsAsciiLetter(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') {
      return {};
    }
  }
  return command.substr(0, colon);
}

}  // namespace

bool IsLink(std::string_view command) {
  const std::string scheme = AsciiFolded(std::string(Scheme(command)));
  const std::string_view rest = command.substr(scheme.size());
  if (scheme == "mailto") return true;
  return (scheme == "https" || scheme == "http") && rest.substr(0, 3) == "://";
}

bool NamesOtherScheme(std::string_view command) {
  return Scheme(command).size() >= 2 && !IsLink(command);
}

}  // namespace tolvar
