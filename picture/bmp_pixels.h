// Reads the pixels of a plain BMP file (uncompressed, 1, 4, 8 or 24 bits a pixel: what Paint
// saves) without GDI+: under Wine, starting GDI+ loads six libraries, much of the time the menu
// takes to show a picture. Plain C++, so that it can be fuzzed anywhere.
#ifndef TOLVAR_PICTURE_BMP_PIXELS_H_
#define TOLVAR_PICTURE_BMP_PIXELS_H_

#include <cstdint>
#include <string_view>
#include <vector>

namespace tolvar {

// The picture in `bytes` as opaque B, G, R, A bytes, rows top first, packed, `*width` x `*height`
// pixels. False for any other BMP (compressed, 16 or 32 bits, an old OS/2 header) and for a file
// that does not hold every byte its header promises; GDI+ reads it then, or says why not. The
// caller has checked the declared size against the decoding budget.
bool ReadPlainBmp(std::string_view bytes, int* width, int* height, std::vector<uint8_t>* pixels);

}  // namespace tolvar

#endif  // TOLVAR_PICTURE_BMP_PIXELS_H_
