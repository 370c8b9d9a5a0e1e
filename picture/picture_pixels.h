// The pixels a picture comes to, as decoders hand them over and both windows draw them. Plain C++:
// the loader gives these out, and each window makes its own bitmap of them.
#ifndef TOLVAR_PICTURE_PICTURE_PIXELS_H_
#define TOLVAR_PICTURE_PICTURE_PIXELS_H_

#include <cstdint>
#include <vector>

namespace tolvar {

// `width` x `height` pixels, rows top first, packed; each 0xAARRGGBB with its colour premultiplied
// by its alpha. In memory that is B, G, R, A on every machine this is built for: the layout of a
// 32-bit DIB section and of cairo's ARGB32 surface alike.
struct PicturePixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;

  const uint8_t* bytes() const { return reinterpret_cast<const uint8_t*>(pixels.data()); }
  uint8_t* bytes() { return reinterpret_cast<uint8_t*>(pixels.data()); }
};

}  // namespace tolvar

#endif  // TOLVAR_PICTURE_PICTURE_PIXELS_H_
