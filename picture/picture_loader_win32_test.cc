// Tests of the Windows picture loader with real picture files: stretching, formats it refuses,
// damaged files, and that the file is free again once the picture is drawn.
#include <gtest/gtest.h>
#include <objbase.h>
#include <wincodec.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "picture/picture_loader.h"
#include "shared_routines/utf16_win32.h"
#include "tests/support/scratch_medium.h"

namespace tolvar {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255),
                   kYellow = RGB(255, 255, 0), kGrey = RGB(192, 192, 192);

void Put16(std::string& out, uint16_t value) {
  out += static_cast<char>(value & 0xff);
  out += static_cast<char>(value >> 8);
}
void Put32(std::string& out, uint32_t value) {
  Put16(out, value & 0xffff);
  Put16(out, value >> 16);
}

// A 24-bit BMP of `width` x `height` whose four quadrants are red, green (top) and blue, yellow.
std::string QuadrantBmp(int width, int height) {
  const int row_bytes = (width * 3 + 3) & ~3;
  std::string bmp = "BM";
  Put32(bmp, 54 + row_bytes * height);
  Put32(bmp, 0);
  Put32(bmp, 54);
  Put32(bmp, 40);
  Put32(bmp, width);
  Put32(bmp, height);  // bottom row first
  Put16(bmp, 1);
  Put16(bmp, 24);
  for (int i = 0; i < 6; ++i) Put32(bmp, 0);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const bool left = x < width / 2, top = y < height / 2;
      const COLORREF color = top ? (left ? kRed : kGreen) : (left ? kBlue : kYellow);
      bmp += static_cast<char>(GetBValue(color));
      bmp += static_cast<char>(GetGValue(color));
      bmp += static_cast<char>(GetRValue(color));
    }
    bmp.append(row_bytes - width * 3, '\0');
  }
  return bmp;
}

// Writes a JPEG of `width` x `height` with the quadrants of QuadrantBmp, through WIC's encoder.
void WriteQuadrantJpeg(const std::wstring& path, UINT width, UINT height) {
  const CLSID kFactory = {
      0xcacaf262, 0x9370, 0x4615, {0xa1, 0x3b, 0x9f, 0x55, 0x39, 0xda, 0x4c, 0x0a}};
  const GUID kJpeg = {0x19e4a5aa, 0x5662, 0x4fc5, {0xa0, 0xc0, 0x17, 0x58, 0x02, 0x8e, 0x10, 0x57}};
  WICPixelFormatGUID format = {
      0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x0c}};
  const UINT stride = (width * 3 + 3) & ~3u;
  std::vector<BYTE> pixels(static_cast<size_t>(stride) * height);
  for (UINT y = 0; y < height; ++y) {
    for (UINT x = 0; x < width; ++x) {
      const bool left = x < width / 2, top = y < height / 2;
      const COLORREF color = top ? (left ? kRed : kGreen) : (left ? kBlue : kYellow);
      BYTE* pixel = &pixels[y * stride + x * 3];
      pixel[0] = GetBValue(color), pixel[1] = GetGValue(color), pixel[2] = GetRValue(color);
    }
  }
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IWICImagingFactory* factory = nullptr;
  IWICStream* stream = nullptr;
  IWICBitmapEncoder* encoder = nullptr;
  IWICBitmapFrameEncode* frame = nullptr;
  IPropertyBag2* options = nullptr;
  ASSERT_HRESULT_SUCCEEDED(
      CoCreateInstance(kFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory)));
  ASSERT_HRESULT_SUCCEEDED(factory->CreateStream(&stream));
  ASSERT_HRESULT_SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE));
  ASSERT_HRESULT_SUCCEEDED(factory->CreateEncoder(kJpeg, nullptr, &encoder));
  ASSERT_HRESULT_SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache));
  ASSERT_HRESULT_SUCCEEDED(encoder->CreateNewFrame(&frame, &options));
  ASSERT_HRESULT_SUCCEEDED(frame->Initialize(options));
  ASSERT_HRESULT_SUCCEEDED(frame->SetSize(width, height));
  ASSERT_HRESULT_SUCCEEDED(frame->SetPixelFormat(&format));
  ASSERT_HRESULT_SUCCEEDED(
      frame->WritePixels(height, stride, static_cast<UINT>(pixels.size()), pixels.data()));
  ASSERT_HRESULT_SUCCEEDED(frame->Commit());
  ASSERT_HRESULT_SUCCEEDED(encoder->Commit());
  options->Release();
  frame->Release();
  encoder->Release();
  stream->Release();
  factory->Release();
}

COLORREF PixelAt(const SplashPicture& picture, int x, int y) {
  DIBSECTION section = {};
  EXPECT_EQ(GetObjectW(picture.bitmap(), sizeof section, &section), int{sizeof section});
  const auto* row =
      static_cast<const uint8_t*>(section.dsBm.bmBits) + y * section.dsBm.bmWidthBytes;
  return RGB(row[x * 4 + 2], row[x * 4 + 1], row[x * 4]);
}

// As the menu file would name it: UTF-8.
std::string PathIn(const ScratchMedium& medium, const char* name) {
  return (medium.root() / name).u8string();
}

TEST(SplashPictureTest, StretchesABitmapToTheWholeAreaWithoutKeepingProportions) {
  ScratchMedium medium;
  medium.Write("splash.bmp", QuadrantBmp(8, 8));
  SplashPicture picture;
  ASSERT_TRUE(picture.Load(PathIn(medium, "splash.bmp"), SIZE{200, 50}, kGrey).ok);
  BITMAP bitmap = {};
  GetObjectW(picture.bitmap(), sizeof bitmap, &bitmap);
  EXPECT_EQ(bitmap.bmWidth, 200);
  EXPECT_EQ(bitmap.bmHeight, 50);
  EXPECT_EQ(PixelAt(picture, 2, 2), kRed);
  EXPECT_EQ(PixelAt(picture, 197, 2), kGreen);
  EXPECT_EQ(PixelAt(picture, 2, 47), kBlue);
  EXPECT_EQ(PixelAt(picture, 197, 47), kYellow);
  EXPECT_EQ(PixelAt(picture, 50, 12), kRed);
  EXPECT_EQ(PixelAt(picture, 150, 37), kYellow);
}

// Within what JPEG's loss leaves of a flat colour.
void ExpectNear(COLORREF actual, COLORREF expected, const char* where) {
  EXPECT_LE(std::abs(GetRValue(actual) - GetRValue(expected)), 12) << where;
  EXPECT_LE(std::abs(GetGValue(actual) - GetGValue(expected)), 12) << where;
  EXPECT_LE(std::abs(GetBValue(actual) - GetBValue(expected)), 12) << where;
}

TEST(SplashPictureTest, ReducesALargeJpegToTheAreaUpToItsEdges) {
  ScratchMedium medium;
  // Eight times the area and a few pixels more: the last column and row of blocks are cut short
  // and must be averaged over the pixels they have.
  WriteQuadrantJpeg(Widen(PathIn(medium, "photo.jpg")), 8 * 200 + 5, 8 * 60 + 3);
  SplashPicture picture;
  const Result loaded = picture.Load(PathIn(medium, "photo.jpg"), SIZE{200, 60}, kGrey);
  ASSERT_TRUE(loaded.ok) << loaded.reason;
  ExpectNear(PixelAt(picture, 0, 0), kRed, "top left");
  ExpectNear(PixelAt(picture, 199, 0), kGreen, "top right");
  ExpectNear(PixelAt(picture, 0, 59), kBlue, "bottom left");
  ExpectNear(PixelAt(picture, 199, 59), kYellow, "bottom right");
  ExpectNear(PixelAt(picture, 150, 45), kYellow, "inside");
}

TEST(SplashPictureTest, LeavesTheFileFreeOnceDrawn) {
  ScratchMedium medium;
  medium.Write("splash.bmp", QuadrantBmp(4, 4));
  SplashPicture picture;
  ASSERT_TRUE(picture.Load(PathIn(medium, "splash.bmp"), SIZE{20, 20}, kGrey).ok);
  // A medium's author may replace the picture while the menu runs; nothing may hold it.
  const HANDLE exclusive =
      CreateFileW(Widen(PathIn(medium, "splash.bmp")).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(exclusive, INVALID_HANDLE_VALUE);
  CloseHandle(exclusive);
}

TEST(SplashPictureTest, RefusesFormatsWhoseSizeIsNotReadBeforeGdiPlusSeesThem) {
  // GDI+ would draw both: a metafile, which may hold bitmaps of any size, and an icon.
  ScratchMedium medium;
  const std::string emf = PathIn(medium, "splash.emf");
  const HDC metafile = CreateEnhMetaFileW(nullptr, Widen(emf).c_str(), nullptr, nullptr);
  ASSERT_NE(metafile, nullptr);
  const HBRUSH blue = CreateSolidBrush(kBlue);
  const RECT all = {0, 0, 100, 100};
  FillRect(metafile, &all, blue);
  DeleteObject(blue);
  DeleteEnhMetaFile(CloseEnhMetaFile(metafile));
  // An icon whose one entry is the 4 x 4 BMP without its file header.
  std::string ico = std::string("\0\0\1\0\1\0\4\4\0\0\1\0\x18\0", 14);
  const std::string bmp = QuadrantBmp(4, 4).substr(14);
  Put32(ico, static_cast<uint32_t>(bmp.size()));
  Put32(ico, 22);
  medium.Write("splash.ico", ico + bmp);

  SplashPicture picture;
  for (const auto& [name, format] :
       {std::pair<const char*, const char*>{"splash.emf", "(EMF)"}, {"splash.ico", "(ICO)"}}) {
    const Result loaded = picture.Load(PathIn(medium, name), SIZE{60, 30}, kGrey);
    EXPECT_FALSE(loaded.ok) << name;
    EXPECT_NE(loaded.reason.find(format), std::string::npos) << name << ": " << loaded.reason;
    EXPECT_TRUE(picture.empty()) << name;
  }
}

TEST(SplashPictureTest, RefusesFilesThatAreNotPicturesAndDropsTheOldPicture) {
  ScratchMedium medium;
  medium.Write("splash.bmp", QuadrantBmp(4, 4));
  medium.Write("notes.bmp", "This is a text file with a picture's name.\r\n");
  medium.Write("cut.bmp", QuadrantBmp(64, 64).substr(0, 30));
  medium.Write("empty.png", "");
  SplashPicture picture;
  ASSERT_TRUE(picture.Load(PathIn(medium, "splash.bmp"), SIZE{20, 20}, kGrey).ok);
  for (const char* name : {"notes.bmp", "cut.bmp", "empty.png"}) {
    const Result loaded = picture.Load(PathIn(medium, name), SIZE{20, 20}, kGrey);
    EXPECT_FALSE(loaded.ok) << name;
    EXPECT_NE(loaded.reason.find("not a picture"), std::string::npos)
        << name << ": " << loaded.reason;
    EXPECT_TRUE(picture.empty()) << name;
  }
}

TEST(SplashPictureTest, RefusesPicturesThatDeclareMorePixelsThanTheBudgetNamingTheSize) {
  ScratchMedium medium;
  // Headers alone: the size must be refused before any decoder allocates for it.
  std::string bmp = QuadrantBmp(4, 4);
  bmp.replace(18, 8, std::string("\x30\x75\0\0\x30\x75\0\0", 8));  // 30000 x 30000
  medium.Write("bomb.bmp", bmp);
  medium.Write("bomb.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x75\x30\0\0\x75\x30"
                                       "\x08\x02\0\0\0\0\0\0\0",
                                       33));
  medium.Write("bomb.jpg", std::string("\xff\xd8\xff\xc0\0\x0b\x08\xff\xdc\xff\xdc\x01\x01\x11\0"
                                       "\xff\xd9",
                                       17));
  SplashPicture picture;
  for (const char* name : {"bomb.bmp", "bomb.png", "bomb.jpg"}) {
    const Result loaded = picture.Load(PathIn(medium, name), SIZE{489, 121}, kGrey);
    EXPECT_FALSE(loaded.ok) << name;
    EXPECT_NE(loaded.reason.find(" x "), std::string::npos) << name << ": " << loaded.reason;
    EXPECT_NE(loaded.reason.find("megapixels"), std::string::npos) << name << ": " << loaded.reason;
  }
}

}  // namespace
}  // namespace tolvar
