// SHA-1 and SHA-256, the two digests an Authenticode signature names, computed over bytes fed in
// pieces: the signature check hashes a program file with three holes in it.
#ifndef TOLVAR_MENU_CHECK_CHECKS_SHA_DIGEST_H_
#define TOLVAR_MENU_CHECK_CHECKS_SHA_DIGEST_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace tolvar {

enum class DigestKind { kSha1, kSha256 };

class ShaDigest {
 public:
  explicit ShaDigest(DigestKind kind);

  void Update(const uint8_t* data, size_t size);
  // The digest of everything fed in: 20 bytes for SHA-1, 32 for SHA-256. The object is spent.
  std::string Finish();

 private:
  void Block(const uint8_t* block);

  DigestKind kind_;
  std::array<uint32_t, 8> state_;
  std::array<uint8_t, 64> pending_ = {};
  size_t pending_size_ = 0;
  uint64_t total_ = 0;
};

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_CHECKS_SHA_DIGEST_H_
