// PlainProgramRunner: how to start a file that is plainly a program (an ELF executable, or a script
// whose first line is "#!") when the medium gives it no execute permission: a FAT32 stick mounted
// with "showexec", an ISO image without Rock Ridge. Linux runs such a file through the program that
// would run it anyway, which needs only read permission on the file.
#ifndef TOLVAR_SHARED_ROUTINES_PLAIN_PROGRAM_H_
#define TOLVAR_SHARED_ROUTINES_PLAIN_PROGRAM_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tolvar {

// How many of a file's first bytes PlainProgramRunner needs.
inline constexpr size_t kProgramHeadBytes = 4096;

struct ProgramRunner {
  enum class Kind { kNone, kElf, kScript };
  Kind kind = Kind::kNone;
  // The program that runs the file, and its own argument where a "#!" line gives one: the words
  // that come before the file's path. Empty for kNone.
  std::vector<std::string> words;
};

// `head` holds the file's first bytes (kProgramHeadBytes, or the whole file when shorter). An ELF
// executable is run by its dynamic loader (its PT_INTERP; a static one has none and cannot be run
// this way); a script by the interpreter its "#!" line names, with the rest of that line as one
// argument, as Linux itself does. Only an absolute interpreter path of printable characters counts:
// anything else is kNone, and the file is a document.
ProgramRunner PlainProgramRunner(std::string_view head);

// What Launch on Linux does with a file that nobody may execute, by the rule above: the one rule
// the menu follows and the checker asks.
enum class WithoutExecuteBit {
  kOpened,            // no program (a document, a Windows program): the desktop opens it
  kStartedAnyway,     // plainly a program: started through its loader or interpreter
  kOpenedNotStarted,  // shaped as a program (ELF, "#!"), but a static ELF or a "#!" line without
                      // an absolute interpreter: nothing but the bit starts it, the desktop opens
                      // it
};
WithoutExecuteBit LaunchWithoutExecuteBit(std::string_view head);

}  // namespace tolvar

#endif  // TOLVAR_SHARED_ROUTINES_PLAIN_PROGRAM_H_
