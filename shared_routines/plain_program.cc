// PlainProgramRunner: the ELF header's interpreter and the "#!" line, read from a file's first
// bytes.
#include "shared_routines/plain_program.h"

#include <cstdint>

namespace tolvar {
namespace {

// An interpreter Linux would accept and the menu may hand to posix_spawn: absolute, printable.
bool IsInterpreterPath(std::string_view path) {
  if (path.empty() || path[0] != '/') return false;
  for (const char c : path) {
    if (static_cast<unsigned char>(c) <= ' ' || c == 0x7F) return false;
  }
  return true;
}

// Reads an unsigned value of `size` bytes at `at`, in the file's byte order; false past `head`.
bool ReadUnsigned(std::string_view head, size_t at, size_t size, bool little, uint64_t* value) {
  if (at > head.size() || size > head.size() - at) return false;
  *value = 0;
  for (size_t i = 0; i < size; ++i) {
    const auto byte = static_cast<unsigned char>(head[at + (little ? size - 1 - i : i)]);
    *value = (*value << 8) | byte;
  }
  return true;
}

ProgramRunner ElfRunner(std::string_view head) {
  const bool wide = head.size() > 4 && head[4] == 2;  // ELFCLASS64
  const bool little = head.size() > 5 && head[5] == 1;
  if (head.size() < 6 || (head[4] != 1 && head[4] != 2) || (head[5] != 1 && head[5] != 2)) {
    return {};
  }
  const size_t address = wide ? 8 : 4;
  uint64_t table = 0, entry_size = 0, entries = 0;
  if (!ReadUnsigned(head, wide ? 0x20 : 0x1C, address, little, &table) ||
      !ReadUnsigned(head, wide ? 0x36 : 0x2A, 2, little, &entry_size) ||
      !ReadUnsigned(head, wide ? 0x38 : 0x2C, 2, little, &entries)) {
    return {};
  }
  for (uint64_t i = 0; i < entries; ++i) {
    const uint64_t at = table + i * entry_size;
    uint64_t type = 0;
    if (at > head.size() || !ReadUnsigned(head, at, 4, little, &type)) return {};
    if (type != 3) continue;  // PT_INTERP
    uint64_t offset = 0, size = 0;
    if (!ReadUnsigned(head, at + (wide ? 0x08 : 0x04), address, little, &offset) ||
        !ReadUnsigned(head, at + (wide ? 0x20 : 0x10), address, little, &size) || size == 0 ||
        offset > head.size() || size > head.size() - offset) {
      return {};
    }
    std::string_view interpreter = head.substr(offset, size);
    if (interpreter.back() == '\0') interpreter.remove_suffix(1);
    if (!IsInterpreterPath(interpreter)) return {};
    return {ProgramRunner::Kind::kElf, {std::string(interpreter)}};
  }
  return {};  // static: nothing but the kernel can start it
}

ProgramRunner ScriptRunner(std::string_view head) {
  // Linux reads no more of the "#!" line than this.
  constexpr size_t kLongestLine = 256;
  const std::string_view first = head.substr(0, kLongestLine);
  const size_t newline = first.find('\n');
  const std::string_view line =
      first.substr(2, newline == std::string_view::npos ? std::string_view::npos : newline - 2);
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  size_t start = 0;
  while (start < line.size() && blank(line[start])) ++start;
  size_t end = start;
  while (end < line.size() && !blank(line[end]) && line[end] != '\r') ++end;
  const std::string_view interpreter = line.substr(start, end - start);
  if (!IsInterpreterPath(interpreter)) return {};
  std::string_view rest = line.substr(end);
  while (!rest.empty() && blank(rest.front())) rest.remove_prefix(1);
  while (!rest.empty() && (blank(rest.back()) || rest.back() == '\r')) rest.remove_suffix(1);
  ProgramRunner runner{ProgramRunner::Kind::kScript, {std::string(interpreter)}};
  if (!rest.empty()) runner.words.emplace_back(rest);
  return runner;
}

}  // namespace

ProgramRunner PlainProgramRunner(std::string_view head) {
  if (head.substr(0, 4) ==
      "\x7F"
      "ELF")
    return ElfRunner(head);
  if (head.substr(0, 2) == "#!") return ScriptRunner(head);
  return {};
}

WithoutExecuteBit LaunchWithoutExecuteBit(std::string_view head) {
  if (PlainProgramRunner(head).kind != ProgramRunner::Kind::kNone) {
    return WithoutExecuteBit::kStartedAnyway;
  }
  const bool shaped_as_program = head.substr(0, 4) ==
                                     "\x7F"
                                     "ELF" ||
                                 head.substr(0, 2) == "#!";
  return shaped_as_program ? WithoutExecuteBit::kOpenedNotStarted : WithoutExecuteBit::kOpened;
}

}  // namespace tolvar
