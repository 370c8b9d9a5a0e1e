// ReadSignature: the PE headers as far as the checksum and the certificate table, and the PKCS#7
// SignedData inside the table read with a minimal DER walk down to the digest Authenticode signs.
#include "menu_check/checks/authenticode.h"

#include <cstdint>
#include <optional>
#include <utility>

#include "menu_check/checks/sha_digest.h"

namespace tolvar {
namespace {

using State = SignatureVerdict::State;

// Object identifiers, as DER writes their contents.
constexpr std::string_view kSignedData = "\x2a\x86\x48\x86\xf7\x0d\x01\x07\x02";        // pkcs7
constexpr std::string_view kIndirectData = "\x2b\x06\x01\x04\x01\x82\x37\x02\x01\x04";  // Spc
constexpr std::string_view kSha1 = "\x2b\x0e\x03\x02\x1a";
constexpr std::string_view kSha256 = "\x60\x86\x48\x01\x65\x03\x04\x02\x01";

constexpr uint8_t kSequence = 0x30, kSet = 0x31, kInteger = 0x02, kOid = 0x06, kOctets = 0x04,
                  kExplicit0 = 0xa0;

uint32_t Little(std::string_view bytes, size_t at, int size) {
  uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
  return value;
}

// A DER element read off the front of `in`: its tag and contents. Nothing when the bytes are no
// definite-length element (Authenticode signatures are DER, which has no other kind).
std::optional<std::pair<uint8_t, std::string_view>> Next(std::string_view& in) {
  if (in.size() < 2) return std::nullopt;
  const uint8_t tag = static_cast<uint8_t>(in[0]);
  size_t length = static_cast<uint8_t>(in[1]);
  size_t head = 2;
  if (length & 0x80) {
    const size_t octets = length & 0x7f;
    if (octets == 0 || octets > 4 || in.size() < 2 + octets) return std::nullopt;
    length = 0;
    for (size_t i = 0; i < octets; ++i) length = length << 8 | static_cast<uint8_t>(in[2 + i]);
    head += octets;
  }
  if (length > in.size() - head) return std::nullopt;
  const std::string_view contents = in.substr(head, length);
  in.remove_prefix(head + length);
  return std::make_pair(tag, contents);
}

// The contents of the next element of `in` when it has tag `tag`.
std::optional<std::string_view> Expect(std::string_view& in, uint8_t tag) {
  const auto element = Next(in);
  if (!element || element->first != tag) return std::nullopt;
  return element->second;
}

struct SignedDigest {
  DigestKind kind;
  std::string_view digest;
};

// ContentInfo { signedData, [0] SignedData { version, digestAlgorithms, encapContentInfo
// { SpcIndirectDataContent, [0] { data, DigestInfo { algorithm { oid }, digest } } } ... } }.
std::optional<SignedDigest> FindSignedDigest(std::string_view der, std::string* why) {
  *why = "it holds no PKCS#7 signed data";
  auto content_info = Expect(der, kSequence);
  if (!content_info || Expect(*content_info, kOid) != kSignedData) return std::nullopt;
  auto wrapped = Expect(*content_info, kExplicit0);
  if (!wrapped) return std::nullopt;
  auto signed_data = Expect(*wrapped, kSequence);
  if (!signed_data || !Expect(*signed_data, kInteger) || !Expect(*signed_data, kSet)) {
    return std::nullopt;
  }
  *why = "its signed data is no Authenticode signature of a program";
  auto encapsulated = Expect(*signed_data, kSequence);
  if (!encapsulated || Expect(*encapsulated, kOid) != kIndirectData) return std::nullopt;
  auto inner = Expect(*encapsulated, kExplicit0);
  if (!inner) return std::nullopt;
  auto indirect = Expect(*inner, kSequence);
  if (!indirect || !Expect(*indirect, kSequence)) return std::nullopt;
  auto digest_info = Expect(*indirect, kSequence);
  if (!digest_info) return std::nullopt;
  auto algorithm = Expect(*digest_info, kSequence);
  if (!algorithm) return std::nullopt;
  const auto oid = Expect(*algorithm, kOid);
  const auto digest = Expect(*digest_info, kOctets);
  if (!oid || !digest) return std::nullopt;
  if (*oid == kSha256 && digest->size() == 32) return SignedDigest{DigestKind::kSha256, *digest};
  if (*oid == kSha1 && digest->size() == 20) return SignedDigest{DigestKind::kSha1, *digest};
  *why = "its digest is of a kind other than SHA-256 and SHA-1, or of the wrong length";
  return std::nullopt;
}

}  // namespace

SignatureVerdict ReadSignature(std::string_view bytes) {
  if (bytes.size() < 0x40 || bytes.substr(0, 2) != "MZ") {
    return {State::kNotAProgram, "it does not begin as a Windows program does (MZ)"};
  }
  const uint64_t pe = Little(bytes, 0x3c, 4);
  if (pe + 24 > bytes.size() || bytes.substr(pe, 4) != std::string_view("PE\0\0", 4)) {
    return {State::kNotAProgram, "it has no PE header"};
  }
  const uint64_t optional = pe + 24;
  const uint64_t optional_size = Little(bytes, pe + 20, 2);
  if (optional + optional_size > bytes.size() || optional_size < 2) {
    return {State::kNotAProgram, "its optional header is cut short"};
  }
  const uint32_t magic = Little(bytes, optional, 2);
  if (magic != 0x10b && magic != 0x20b) {
    return {State::kNotAProgram, "its optional header is neither PE32 nor PE32+"};
  }
  const uint64_t checksum = optional + 64;
  const uint64_t directories = optional + (magic == 0x10b ? 96 : 112);
  const uint64_t entry = directories + 4 * 8;  // the certificate table's
  if (directories > optional + optional_size || Little(bytes, directories - 4, 4) <= 4 ||
      entry + 8 > optional + optional_size) {
    return {State::kUnsigned, ""};  // no room for a certificate table
  }
  const uint64_t table = Little(bytes, entry, 4);
  const uint64_t table_size = Little(bytes, entry + 4, 4);
  if (table_size == 0) return {State::kUnsigned, ""};
  if (table < entry + 8 || table + table_size > bytes.size() || table_size < 8) {
    return {State::kUnreadable, "its certificate table lies outside the file"};
  }
  const uint64_t certificate_size = Little(bytes, table, 4);
  if (Little(bytes, table + 6, 2) != 2 || certificate_size < 8 || certificate_size > table_size) {
    return {State::kUnreadable, "its certificate table holds no PKCS#7 signature"};
  }
  std::string why;
  const auto signed_digest = FindSignedDigest(bytes.substr(table + 8, certificate_size - 8), &why);
  if (!signed_digest) return {State::kUnreadable, why};

  ShaDigest digest(signed_digest->kind);
  const auto feed = [&](uint64_t from, uint64_t to) {
    digest.Update(reinterpret_cast<const uint8_t*>(bytes.data()) + from, to - from);
  };
  feed(0, checksum);
  feed(checksum + 4, entry);
  feed(entry + 8, table);
  feed(table + table_size, bytes.size());  // anything written after the table was not signed
  const std::string name = signed_digest->kind == DigestKind::kSha256 ? "SHA-256" : "SHA-1";
  return {digest.Finish() == signed_digest->digest ? State::kIntact : State::kChanged, name};
}

}  // namespace tolvar
