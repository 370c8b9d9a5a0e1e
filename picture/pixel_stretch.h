// Stretches a picture's pixels to another size without keeping proportions, smoothly (a tent
// filter: linear when enlarging, averaging when shrinking), and lays pixels over a background.
// Plain C++: both loaders hand out pixels stretched here, because GDI's and GDI+'s own stretching
// are slow under Wine.
#ifndef TOLVAR_PICTURE_PIXEL_STRETCH_H_
#define TOLVAR_PICTURE_PIXEL_STRETCH_H_

#include <cstdint>

#include "picture/picture_pixels.h"

namespace tolvar {

// `source`: `source_width` x `source_height` pixels of premultiplied B, G, R, A bytes, rows top
// first, `source_stride` bytes apart. Returns `target_width` x `target_height` premultiplied
// pixels; none when a size is below 1.
PicturePixels StretchPixels(const uint8_t* source, int source_width, int source_height,
                            int source_stride, int target_width, int target_height);

// The premultiplied `pixel` laid over the opaque `background` (0x00RRGGBB): 0x00RRGGBB, the
// background showing through as much as the pixel leaves uncovered.
uint32_t OverBackground(uint32_t pixel, uint32_t background);

}  // namespace tolvar

#endif  // TOLVAR_PICTURE_PIXEL_STRETCH_H_
