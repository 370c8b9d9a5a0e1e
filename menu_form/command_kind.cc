// The link schemes the menu opens, and how any scheme is told from a path.
#include "menu_form/command_kind.h"

#include <algorithm>

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

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A parameter's name as a mail program reads it: escapes decoded, blanks around it dropped,
// letter case ignored.
std::string ParameterName(std::string_view parameter) {
  const std::string_view written = parameter.substr(0, parameter.find('='));
  std::string name;
  for (size_t at = 0; at < written.size(); ++at) {
    if (written[at] == '%' && at + 2 < written.size() && HexValue(written[at + 1]) >= 0 &&
        HexValue(written[at + 2]) >= 0) {
      name += static_cast<char>(HexValue(written[at + 1]) * 16 + HexValue(written[at + 2]));
      at += 2;
    } else {
      name += written[at];
    }
  }
  const size_t first = name.find_first_not_of(" \t");
  const size_t last = name.find_last_not_of(" \t");
  return first == std::string::npos ? "" : AsciiFolded(name.substr(first, last - first + 1));
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

std::string WithoutAttachments(std::string_view link) {
  const size_t query = link.find('?');
  if (AsciiFolded(std::string(Scheme(link))) != "mailto" || query == std::string_view::npos) {
    return std::string(link);
  }
  std::string kept(link.substr(0, query));
  // Mail programs part the parameters at "&", some at ";" too, and a stray "?" starts one for
  // others: a part between any two of them is a parameter here, so none slips through.
  bool first = true;
  for (size_t start = query; start < link.size();) {
    const size_t end = std::min(link.find_first_of("&;?", start + 1), link.size());
    const std::string_view parameter = link.substr(start + 1, end - start - 1);
    const std::string name = ParameterName(parameter);
    if (name != "attach" && name != "attachment") {
      kept += first ? '?' : link[start];
      kept += parameter;
      first = false;
    }
    start = end;
  }
  return kept;
}

std::string LinkAsOpened(std::string_view link) {
  std::string opened;
  for (const char c : WithoutAttachments(link)) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte >= 0x7f || c == '"') {
      constexpr char kHex[] = "0123456789ABCDEF";
      opened += '%';
      opened += kHex[byte >> 4];
      opened += kHex[byte & 0xf];
    } else {
      opened += c;
    }
  }
  return opened;
}

}  // namespace tolvar
