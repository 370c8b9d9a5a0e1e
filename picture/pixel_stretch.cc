// StretchPixels: two separable passes with precomputed filter taps.
#include "picture/pixel_stretch.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace tolvar {
namespace {

// Weights are fixed-point numbers with this many fraction bits, and the taps of one target pixel
// add up to exactly one: integer sums are several times faster than floating point on the 32-bit
// x87 code this program is built as, and a picture the size of the area is copied exactly.
constexpr int kWeightBits = 14;
constexpr int32_t kOne = 1 << kWeightBits;
// The pass across keeps 8 fraction bits, so that the pass down cannot overflow 32 bits.
constexpr int kAcrossShift = kWeightBits - 8;
constexpr int kResultBits = 8 + kWeightBits;

// The source pixels and their weights that make up one target pixel along one axis.
struct Taps {
  int first = 0;
  std::vector<int32_t> weights;
};

std::vector<Taps> AxisTaps(int source_size, int target_size) {
  const double scale = static_cast<double>(source_size) / target_size;
  // Shrinking widens the filter so that every source pixel counts.
  const double support = std::max(scale, 1.0);
  std::vector<Taps> axis(static_cast<size_t>(target_size));
  std::vector<double> weights;
  for (int t = 0; t < target_size; ++t) {
    const double center = (t + 0.5) * scale;
    const int low = std::max(0, static_cast<int>(std::floor(center - support)));
    const int high = std::min(source_size - 1, static_cast<int>(std::ceil(center + support)));
    Taps& taps = axis[static_cast<size_t>(t)];
    weights.clear();
    double total = 0;
    for (int s = low; s <= high; ++s) {
      const double weight = std::max(0.0, 1.0 - std::fabs(s + 0.5 - center) / support);
      if (weights.empty() && weight == 0) continue;
      if (weights.empty()) taps.first = s;
      weights.push_back(weight);
      total += weight;
    }
    while (!weights.empty() && weights.back() == 0) weights.pop_back();
    if (total == 0) {
      // Only at the picture's very edge: take the nearest pixel.
      taps.first = std::min(source_size - 1, std::max(0, static_cast<int>(center)));
      weights.assign(1, 1.0);
      total = 1;
    }
    // Rounded to fixed point; what rounding loses or adds goes to the heaviest tap.
    int32_t sum = 0;
    size_t heaviest = 0;
    for (size_t i = 0; i < weights.size(); ++i) {
      taps.weights.push_back(static_cast<int32_t>(std::lround(weights[i] / total * kOne)));
      sum += taps.weights.back();
      if (weights[i] > weights[heaviest]) heaviest = i;
    }
    taps.weights[heaviest] += kOne - sum;
  }
  return axis;
}

}  // namespace

PicturePixels StretchPixels(const uint8_t* source, int source_width, int source_height,
                            int source_stride, int target_width, int target_height) {
  PicturePixels target;
  if (source_width < 1 || source_height < 1 || target_width < 1 || target_height < 1) return target;
  const std::vector<Taps> columns = AxisTaps(source_width, target_width);
  const std::vector<Taps> rows = AxisTaps(source_height, target_height);

  // Across first: every source row becomes a row of target width, 4 channels, 8 fraction bits.
  std::vector<int32_t> across(static_cast<size_t>(target_width) * source_height * 4);
  for (int y = 0; y < source_height; ++y) {
    const uint8_t* row = source + static_cast<ptrdiff_t>(y) * source_stride;
    int32_t* out = &across[static_cast<size_t>(y) * target_width * 4];
    for (int x = 0; x < target_width; ++x) {
      const Taps& taps = columns[static_cast<size_t>(x)];
      int32_t sum[4] = {0, 0, 0, 0};
      const uint8_t* pixel = row + taps.first * 4;
      for (const int32_t weight : taps.weights) {
        for (int c = 0; c < 4; ++c) sum[c] += weight * pixel[c];
        pixel += 4;
      }
      for (int c = 0; c < 4; ++c) {
        out[x * 4 + c] = (sum[c] + (1 << (kAcrossShift - 1))) >> kAcrossShift;
      }
    }
  }

  // Then down. The taps add up to one, so a colour never exceeds its alpha by more than rounding.
  constexpr int32_t kHalf = 1 << (kResultBits - 1);
  target.width = target_width;
  target.height = target_height;
  target.pixels.resize(static_cast<size_t>(target_width) * target_height);
  for (int y = 0; y < target_height; ++y) {
    const Taps& taps = rows[static_cast<size_t>(y)];
    uint32_t* out = &target.pixels[static_cast<size_t>(y) * target_width];
    for (int x = 0; x < target_width; ++x) {
      int32_t sum[4] = {0, 0, 0, 0};
      const int32_t* pixel = &across[(static_cast<size_t>(taps.first) * target_width + x) * 4];
      for (const int32_t weight : taps.weights) {
        for (int c = 0; c < 4; ++c) sum[c] += weight * pixel[c];
        pixel += static_cast<size_t>(target_width) * 4;
      }
      const int32_t alpha = std::clamp((sum[3] + kHalf) >> kResultBits, 0, 255);
      uint32_t color = static_cast<uint32_t>(alpha) << 24;
      for (int c = 0; c < 3; ++c) {
        const int32_t value = std::clamp((sum[c] + kHalf) >> kResultBits, 0, alpha);
        color |= static_cast<uint32_t>(value) << (8 * c);
      }
      out[x] = color;
    }
  }
  return target;
}

uint32_t OverBackground(uint32_t pixel, uint32_t background) {
  const uint32_t uncovered = 255 - (pixel >> 24);
  uint32_t color = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const uint32_t value =
        ((pixel >> shift) & 0xFF) + (((background >> shift) & 0xFF) * uncovered + 127) / 255;
    color |= std::min<uint32_t>(value, 255) << shift;
  }
  return color;
}

}  // namespace tolvar
