// SHA-1 (FIPS 180-4, section 6.1) and SHA-256 (section 6.2): one padding and block loop for both,
// since they differ only in the state and the compression.
#include "menu_check/checks/sha_digest.h"

#include <algorithm>
#include <cstring>

namespace tolvar {
namespace {

constexpr uint32_t kSha256Rounds[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

uint32_t Rotl(uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }
uint32_t Rotr(uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

uint32_t BigEndian(const uint8_t* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

}  // namespace

ShaDigest::ShaDigest(DigestKind kind) : kind_(kind) {
  if (kind == DigestKind::kSha1) {
    state_ = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476, 0xc3d2e1f0, 0, 0, 0};
  } else {
    state_ = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
              0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
  }
}

void ShaDigest::Update(const uint8_t* data, size_t size) {
  total_ += size;
  while (size > 0) {
    const size_t taken = std::min(size, pending_.size() - pending_size_);
    std::memcpy(pending_.data() + pending_size_, data, taken);
    pending_size_ += taken;
    data += taken;
    size -= taken;
    if (pending_size_ == pending_.size()) {
      Block(pending_.data());
      pending_size_ = 0;
    }
  }
}

std::string ShaDigest::Finish() {
  const uint64_t bits = total_ * 8;
  const uint8_t one = 0x80, zero = 0;
  Update(&one, 1);
  while (pending_size_ != 56) Update(&zero, 1);
  uint8_t length[8];
  for (int i = 0; i < 8; ++i) length[i] = static_cast<uint8_t>(bits >> (56 - 8 * i));
  Update(length, 8);
  std::string digest;
  for (int i = 0; i < (kind_ == DigestKind::kSha1 ? 5 : 8); ++i) {
    for (int shift = 24; shift >= 0; shift -= 8) digest += static_cast<char>(state_[i] >> shift);
  }
  return digest;
}

void ShaDigest::Block(const uint8_t* block) {
  uint32_t w[80];
  for (int i = 0; i < 16; ++i) w[i] = BigEndian(block + 4 * i);
  std::array<uint32_t, 8> v = state_;
  if (kind_ == DigestKind::kSha1) {
    for (int i = 16; i < 80; ++i) w[i] = Rotl(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
    for (int i = 0; i < 80; ++i) {
      uint32_t f, k;
      if (i < 20) {
        f = (v[1] & v[2]) | (~v[1] & v[3]), k = 0x5a827999;
      } else if (i < 40) {
        f = v[1] ^ v[2] ^ v[3], k = 0x6ed9eba1;
      } else if (i < 60) {
        f = (v[1] & v[2]) | (v[1] & v[3]) | (v[2] & v[3]), k = 0x8f1bbcdc;
      } else {
        f = v[1] ^ v[2] ^ v[3], k = 0xca62c1d6;
      }
      const uint32_t t = Rotl(v[0], 5) + f + v[4] + k + w[i];
      v = {t, v[0], Rotl(v[1], 30), v[2], v[3], 0, 0, 0};
    }
    for (int i = 0; i < 5; ++i) state_[i] += v[i];
    return;
  }
  for (int i = 16; i < 64; ++i) {
    const uint32_t s0 = Rotr(w[i - 15], 7) ^ Rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
    const uint32_t s1 = Rotr(w[i - 2], 17) ^ Rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
    w[i] = w[i - 16] + s0 + w[i - 7] + s1;
  }
  for (int i = 0; i < 64; ++i) {
    const uint32_t s1 = Rotr(v[4], 6) ^ Rotr(v[4], 11) ^ Rotr(v[4], 25);
    const uint32_t choice = (v[4] & v[5]) ^ (~v[4] & v[6]);
    const uint32_t t1 = v[7] + s1 + choice + kSha256Rounds[i] + w[i];
    const uint32_t s0 = Rotr(v[0], 2) ^ Rotr(v[0], 13) ^ Rotr(v[0], 22);
    const uint32_t majority = (v[0] & v[1]) ^ (v[0] & v[2]) ^ (v[1] & v[2]);
    v = {t1 + s0 + majority, v[0], v[1], v[2], v[3] + t1, v[4], v[5], v[6]};
  }
  for (int i = 0; i < 8; ++i) state_[i] += v[i];
}

}  // namespace tolvar
