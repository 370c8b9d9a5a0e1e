// SignatureFindings: what the signature of the Windows menu means to its users.
#include "menu_check/checks/menu_program_check.h"

#include "menu_check/checks/authenticode.h"
#include "menu_form/menu_entry.h"

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

}  // namespace tolvar
