// Win32 body of DecodeJpeg: WIC's factory through COM, ole32.dll looked up in the system
// directory at the first JPEG; a scaled copy from the frame's IWICBitmapSourceTransform when the
// decoder offers one, else the frame converted and averaged down band by band.
#include <objbase.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "picture/jpeg_decoder.h"
#include "shared_routines/system_dlls_win32.h"

namespace tolvar {
namespace {

// Missing from the mingw-w64 headers: a source that scales (JPEG by 1/2, 1/4, 1/8) while it
// decodes.
MIDL_INTERFACE("3B16811B-6A43-4ec9-B713-3D5A0C13B940")
IWICBitmapSourceTransform : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CopyPixels(
      const WICRect*, UINT width, UINT height, WICPixelFormatGUID* format,
      WICBitmapTransformOptions, UINT stride, UINT buffer_size, BYTE* buffer) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetClosestSize(UINT * width, UINT * height) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID * format) = 0;
  virtual HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions, BOOL*) = 0;
};

// The first factory's class, which Windows 7 without updates has too.
constexpr CLSID kImagingFactory = {
    0xcacaf262, 0x9370, 0x4615, {0xa1, 0x3b, 0x9f, 0x55, 0x39, 0xda, 0x4c, 0x0a}};
constexpr IID kSourceTransform = {
    0x3b16811b, 0x6a43, 0x4ec9, {0xb7, 0x13, 0x3d, 0x5a, 0x0c, 0x13, 0xb9, 0x40}};
constexpr GUID kBgr24 = {
    0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x0c}};
constexpr GUID kPbgra32 = {
    0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x10}};

// Releases a COM object when it goes out of scope.
template <typename T>
struct Com {
  T* p = nullptr;
  ~Com() {
    if (p != nullptr) p->Release();
  }
  T* operator->() const { return p; }
  void** out() { return reinterpret_cast<void**>(&p); }
};

IWICImagingFactory* CreateFactory() {
  using CoInitializeExFunction = HRESULT(WINAPI*)(void*, DWORD);
  using CoCreateInstanceFunction = HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**);
  static const auto co_initialize_ex =
      SystemFunction<CoInitializeExFunction>(L"ole32.dll", "CoInitializeEx");
  static const auto co_create_instance =
      SystemFunction<CoCreateInstanceFunction>(L"ole32.dll", "CoCreateInstance");
  if (co_initialize_ex == nullptr || co_create_instance == nullptr) return nullptr;
  // The thread stays in its apartment until it ends: the factory may be asked for again.
  co_initialize_ex(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  IWICImagingFactory* factory = nullptr;
  if (FAILED(co_create_instance(kImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                __uuidof(IWICImagingFactory),
                                reinterpret_cast<void**>(&factory)))) {
    return nullptr;
  }
  return factory;
}

// The decoder's own reduced copy, when it makes one of exactly `width` x `height` in 24-bit BGR.
bool CopyScaled(IWICBitmapFrameDecode* frame, UINT width, UINT height, PicturePixels* pixels) {
  Com<IWICBitmapSourceTransform> transform;
  if (FAILED(frame->QueryInterface(kSourceTransform, transform.out()))) return false;
  UINT closest_width = width, closest_height = height;
  WICPixelFormatGUID format = kBgr24;
  if (FAILED(transform->GetClosestSize(&closest_width, &closest_height)) ||
      closest_width != width || closest_height != height ||
      FAILED(transform->GetClosestPixelFormat(&format)) || format != kBgr24) {
    return false;
  }
  const UINT stride = (width * 3 + 3) & ~3u;
  std::vector<uint8_t> bgr(static_cast<size_t>(stride) * height);
  if (FAILED(transform->CopyPixels(nullptr, width, height, &format, WICBitmapTransformRotate0,
                                   stride, static_cast<UINT>(bgr.size()), bgr.data()))) {
    return false;
  }
  pixels->pixels.resize(static_cast<size_t>(width) * height);
  for (UINT y = 0; y < height; ++y) {
    const uint8_t* in = &bgr[static_cast<size_t>(y) * stride];
    uint8_t* out = pixels->bytes() + static_cast<size_t>(y) * width * 4;
    for (UINT x = 0; x < width; ++x, in += 3, out += 4) {
      out[0] = in[0], out[1] = in[1], out[2] = in[2], out[3] = 255;
    }
  }
  return true;
}

// Copies `source` (full size, `width` x `height`, 24-bit BGR or premultiplied 32-bit BGRA as
// `bytes_per_pixel` says) out in bands of rows, each block of `divisor` x `divisor` pixels averaged
// into one of `pixels`, whose size is already set.
HRESULT CopyAveraged(IWICBitmapSource* source, UINT width, UINT height, UINT bytes_per_pixel,
                     UINT divisor, PicturePixels* pixels) {
  const UINT band_rows = divisor * std::max(1u, 32u / divisor);
  const UINT stride = (width * bytes_per_pixel + 3) & ~3u;
  std::vector<uint8_t> band(static_cast<size_t>(stride) * band_rows);
  std::vector<uint32_t> sums(static_cast<size_t>(pixels->width) * 4);
  for (UINT top = 0; top < height; top += band_rows) {
    const UINT rows = std::min(band_rows, height - top);
    const WICRect rect = {0, static_cast<INT>(top), static_cast<INT>(width),
                          static_cast<INT>(rows)};
    const HRESULT result =
        source->CopyPixels(&rect, stride, static_cast<UINT>(band.size()), band.data());
    if (FAILED(result)) return result;
    for (UINT block = 0; block < rows; block += divisor) {
      const UINT block_rows = std::min(divisor, rows - block);
      std::fill(sums.begin(), sums.end(), 0);
      for (UINT y = block; y < block + block_rows; ++y) {
        const uint8_t* in = &band[static_cast<size_t>(y) * stride];
        for (UINT x = 0; x < width; x += divisor) {
          uint32_t* sum = &sums[x / divisor * 4];
          for (const uint8_t* end = in + std::min(divisor, width - x) * bytes_per_pixel; in < end;
               in += bytes_per_pixel) {
            sum[0] += in[0], sum[1] += in[1], sum[2] += in[2];
            sum[3] += bytes_per_pixel == 4 ? in[3] : 255;
          }
        }
      }
      uint8_t* out =
          pixels->bytes() + static_cast<size_t>((top + block) / divisor) * pixels->width * 4;
      for (int x = 0; x < pixels->width; ++x) {
        // Blocks at the right and bottom edges may be cut short.
        const UINT count = block_rows * std::min(divisor, width - x * divisor);
        for (int c = 0; c < 4; ++c) out[x * 4 + c] = (sums[x * 4 + c] + count / 2) / count;
      }
    }
  }
  return S_OK;
}

}  // namespace

std::optional<PicturePixels> DecodeJpeg(const std::string& bytes, int area_width, int area_height) {
  static IWICImagingFactory* const factory = CreateFactory();
  if (factory == nullptr) return std::nullopt;
  Com<IWICStream> stream;
  Com<IWICBitmapDecoder> decoder;
  Com<IWICBitmapFrameDecode> frame;
  Com<IWICFormatConverter> converter;
  UINT width = 0, height = 0;
  if (FAILED(factory->CreateStream(&stream.p)) ||
      FAILED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                                          static_cast<DWORD>(bytes.size()))) ||
      FAILED(factory->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand,
                                              &decoder.p)) ||
      FAILED(decoder->GetFrame(0, &frame.p)) || FAILED(frame->GetSize(&width, &height)) ||
      width == 0 || height == 0) {
    return std::nullopt;
  }
  // The strongest reduction that still leaves at least the area, as the decoding budget counts.
  UINT divisor = 8;
  while (divisor > 1 && ((width + divisor - 1) / divisor < static_cast<UINT>(area_width) ||
                         (height + divisor - 1) / divisor < static_cast<UINT>(area_height))) {
    divisor /= 2;
  }
  PicturePixels pixels;
  pixels.width = static_cast<int>((width + divisor - 1) / divisor);
  pixels.height = static_cast<int>((height + divisor - 1) / divisor);
  if (CopyScaled(frame.p, pixels.width, pixels.height, &pixels)) return pixels;
  pixels.pixels.assign(static_cast<size_t>(pixels.width) * pixels.height, 0);
  // Colour JPEGs come out as 24-bit BGR, read as they are: Wine's converter would add a quarter of
  // a second for a camera photo. Grey and CMYK ones go through the converter.
  WICPixelFormatGUID format = {};
  bool copied;
  if (SUCCEEDED(frame->GetPixelFormat(&format)) && format == kBgr24) {
    copied = SUCCEEDED(CopyAveraged(frame.p, width, height, 3, divisor, &pixels));
  } else {
    copied = SUCCEEDED(factory->CreateFormatConverter(&converter.p)) &&
             SUCCEEDED(converter->Initialize(frame.p, kPbgra32, WICBitmapDitherTypeNone, nullptr,
                                             0.0, WICBitmapPaletteTypeCustom)) &&
             SUCCEEDED(CopyAveraged(converter.p, width, height, 4, divisor, &pixels));
  }
  if (!copied) return std::nullopt;
  return pixels;
}

}  // namespace tolvar
