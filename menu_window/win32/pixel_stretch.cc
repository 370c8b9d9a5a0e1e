// StretchPixels: two separable passes with precomputed filter taps.
#include "menu_window/win32/pixel_stretch.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tolvar {
namespace {

// The source pixels and their weights that make up one target pixel along one axis.
struct Taps {
  int first = 0;
  std::vector<float> weights;
};

std::vector<Taps> AxisTaps(int source_size, int target_size) {
  const double scale = static_cast<double>(source_size) / target_size;
  // Shrinking widens the filter so that every source pixel counts.
  const double support = std::max(scale, 1.0);
  std::vector<Taps> axis(static_cast<size_t>(target_size));
  for (int t = 0; t < target_size; ++t) {
    const double center = (t + 0.5) * scale;
    const int low = std::max(0, static_cast<int>(std::floor(center - support)));
    const int high = std::min(source_size - 1, static_cast<int>(std::ceil(center + support)));
    Taps& taps = axis[static_cast<size_t>(t)];
    double total = 0;
    for (int s = low; s <= high; ++s) {
      const double weight = std::max(0.0, 1.0 - std::fabs(s + 0.5 - center) / support);
      if (taps.weights.empty() && weight == 0) {
        continue;
      }
      if (taps.weights.empty()) taps.first = s;
      taps.weights.push_back(static_cast<float>(weight));
      total += weight;
    }
    if (total == 0) {
      // Only at the picture's very edge: take the nearest pixel.
      taps.first = std::min(source_size - 1, std::max(0, static_cast<int>(center)));
      taps.weights.assign(1, 1.0f);
      total = 1;
    }
    for (float& weight : taps.weights) weight = static_cast<float>(weight / total);
    while (!taps.weights.empty() && taps.weights.back() == 0) taps.weights.pop_back();
  }
  return axis;
}

}  // namespace

void StretchPixels(const uint8_t* source, int source_width, int source_height, int source_stride,
                   uint32_t* target, int target_width, int target_height, uint32_t background) {
  if (source_width < 1 || source_height < 1 || target_width < 1 || target_height < 1) return;
  const std::vector<Taps> columns = AxisTaps(source_width, target_width);
  const std::vector<Taps> rows = AxisTaps(source_height, target_height);

  // Across first: every source row becomes a row of target width, 4 channels as floats.
  std::vector<float> across(static_cast<size_t>(target_width) * source_height * 4);
  for (int y = 0; y < source_height; ++y) {
    const uint8_t* row = source + static_cast<ptrdiff_t>(y) * source_stride;
    float* out = &across[static_cast<size_t>(y) * target_width * 4];
    for (int x = 0; x < target_width; ++x) {
      const Taps& taps = columns[static_cast<size_t>(x)];
      float sum[4] = {0, 0, 0, 0};
      const uint8_t* pixel = row + taps.first * 4;
      for (float weight : taps.weights) {
        for (int c = 0; c < 4; ++c) sum[c] += weight * pixel[c];
        pixel += 4;
      }
      for (int c = 0; c < 4; ++c) out[x * 4 + c] = sum[c];
    }
  }

  // Then down, and over the background.
  const float back[3] = {static_cast<float>(background & 0xff),
                         static_cast<float>((background >> 8) & 0xff),
                         static_cast<float>((background >> 16) & 0xff)};
  for (int y = 0; y < target_height; ++y) {
    const Taps& taps = rows[static_cast<size_t>(y)];
    uint32_t* out = target + static_cast<ptrdiff_t>(y) * target_width;
    for (int x = 0; x < target_width; ++x) {
      float sum[4] = {0, 0, 0, 0};
      const float* pixel = &across[(static_cast<size_t>(taps.first) * target_width + x) * 4];
      for (float weight : taps.weights) {
        for (int c = 0; c < 4; ++c) sum[c] += weight * pixel[c];
        pixel += static_cast<size_t>(target_width) * 4;
      }
      const float uncovered = 1.0f - sum[3] / 255.0f;
      uint32_t color = 0;
      for (int c = 0; c < 3; ++c) {
        const float value = sum[c] + back[c] * uncovered;
        color |= static_cast<uint32_t>(std::clamp(std::lround(value), 0L, 255L)) << (8 * c);
      }
      out[x] = color;
    }
  }
}

}  // namespace tolvar
