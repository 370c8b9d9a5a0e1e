// Numbers in a picture file's header, read byte by byte from either end, whatever the machine's
// own order. Plain C++, for the header readers.
#ifndef TOLVAR_PICTURE_BYTE_ORDER_H_
#define TOLVAR_PICTURE_BYTE_ORDER_H_

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tolvar {

// Each reads at `at`, which the caller has checked lies inside `b`.
inline uint32_t Big16(std::string_view b, size_t at) {
  return (static_cast<uint32_t>(static_cast<uint8_t>(b[at])) << 8) |
         static_cast<uint8_t>(b[at + 1]);
}
inline uint32_t Big32(std::string_view b, size_t at) {
  return (Big16(b, at) << 16) | Big16(b, at + 2);
}
inline uint32_t Little16(std::string_view b, size_t at) {
  return (static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8) |
         static_cast<uint8_t>(b[at]);
}
inline uint32_t Little32(std::string_view b, size_t at) {
  return (Little16(b, at + 2) << 16) | Little16(b, at);
}

}  // namespace tolvar

#endif  // TOLVAR_PICTURE_BYTE_ORDER_H_
