// CheckMenuPrograms and SignatureFindings.
#include "menu_check/checks/menu_program_check.h"

#include <fstream>

#include "menu_check/checks/authenticode.h"
#include "menu_form/menu_entry.h"
#include "shared_routines/case_match.h"
#include "shared_routines/file_exists.h"
#include "shared_routines/native_path.h"

namespace tolvar {

void SignatureFindings(std::string_view bytes, std::vector<Finding>* findings) {
  const SignatureVerdict verdict = ReadSignature(bytes);
  using State = SignatureVerdict::State;
  switch (verdict.state) {
    case State::kNotAProgram:
    case State::kIntact:
      return;
    case State::kUnsigned:
      findings->push_back(
          {0, Severity::kNote,
           "the menu carries no signature: Windows warns the users of a downloaded image that "
           "\"Windows protected your PC\" (SmartScreen) and names no publisher before it starts; "
           "sign it with your own certificate after the last change (see \"Signing the menu\")",
           kWindowsMenuProgram});
      return;
    case State::kUnreadable:
      findings->push_back({0, Severity::kWarning,
                           "the menu's signature cannot be read (" + verdict.detail +
                               "): Windows takes it as a broken signature; sign the file again",
                           kWindowsMenuProgram});
      return;
    case State::kChanged:
      findings->push_back(
          {0, Severity::kWarning,
           "the menu was changed after it was signed: the " + verdict.detail +
               " digest in its signature does not match the file, so Windows reports the "
               "signature as invalid and refuses to start it from a downloaded image; sign it "
               "again after the last change",
           kWindowsMenuProgram});
      return;
  }
}

void CheckMenuPrograms(const Targets& targets, std::vector<Finding>* findings) {
  if (!FileExists(kDefinitionPath)) {
    findings->push_back(
        {0, Severity::kNote,
         "the menu looks for menu/config.mnu in the folder it is started in, and then in the "
         "folder of its own program: put the menu folder in the medium's root, beside "
         "tolvar-autorun.exe and tolvar-autorun, and the menu opens however it is started",
         "."});
  }
  if (!targets.for_windows || !FileExists(kWindowsMenuProgram)) return;
  // The program is read whole: a signature's digest covers the whole file.
  std::ifstream file(MatchCase(NativePath(kWindowsMenuProgram)), std::ios::binary | std::ios::ate);
  const std::streamoff size = file.tellg();
  if (!file || size < 0 || static_cast<uint64_t>(size) > kLargestMenuProgram) return;
  std::string bytes(static_cast<size_t>(size), '\0');
  file.seekg(0);
  if (!file.read(bytes.data(), size)) return;
  SignatureFindings(bytes, findings);
}

}  // namespace tolvar
