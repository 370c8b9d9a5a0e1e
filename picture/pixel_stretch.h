// Stretches a picture's pixels to another size without keeping proportions, smoothly (a tent
// filter: linear when enlarging, averaging when shrinking), over an opaque background. Plain C++:
// the Win32 window uses it because GDI's and GDI+'s own stretching are slow under Wine.
#ifndef TOLVAR_PICTURE_PIXEL_STRETCH_H_
#define TOLVAR_PICTURE_PIXEL_STRETCH_H_

#include <cstdint>

namespace tolvar {

// `source`: `source_width` x `source_height` pixels of premultiplied B, G, R, A bytes, rows top
// first, `source_stride` bytes apart. `target`: `target_width` x `target_height` pixels
// 0x00RRGGBB, rows top first, packed. `background` (0x00RRGGBB) shows where the picture is
// transparent. Sizes below 1 leave the target untouched.
void StretchPixels(const uint8_t* source, int source_width, int source_height, int source_stride,
                   uint32_t* target, int target_width, int target_height, uint32_t background);

}  // namespace tolvar

#endif  // TOLVAR_PICTURE_PIXEL_STRETCH_H_
