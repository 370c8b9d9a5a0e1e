// Whether a Windows program's Authenticode signature still matches the file: the digest the
// signature holds against the digest of the file as Windows computes it. Who signed, and whether
// that certificate is trusted, is the system's business on the user's machine, not the checker's.
#ifndef TOLVAR_MENU_CHECK_CHECKS_AUTHENTICODE_H_
#define TOLVAR_MENU_CHECK_CHECKS_AUTHENTICODE_H_

#include <string>
#include <string_view>

namespace tolvar {

struct SignatureVerdict {
  enum class State {
    kNotAProgram,  // not a Windows program (PE) file, or one cut short
    kUnsigned,     // no certificate table
    kUnreadable,   // a certificate table that holds no Authenticode signature that can be read
    kChanged,      // the file's digest differs from the one the signature holds
    kIntact,       // they match
  };
  State state;
  // Why, for kNotAProgram and kUnreadable; the digest's name ("SHA-256") for kChanged and kIntact.
  std::string detail;
};

// Reads the signature of the program file `bytes`. The digest covers the whole file except the
// checksum field, the certificate table's directory entry and the certificate table itself, with
// SHA-256 or SHA-1 as the signature's SpcIndirectDataContent names it.
SignatureVerdict ReadSignature(std::string_view bytes);

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_CHECKS_AUTHENTICODE_H_
