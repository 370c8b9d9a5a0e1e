// Tests of the Windows picture loader with real picture files: stretching, icons, formats it
// refuses, damaged files, and that the file is free again once the picture is read.
#include <gtest/gtest.h>
#include <objbase.h>
#include <wincodec.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "picture/picture_loader.h"
#include "shared_routines/utf16_win32.h"
#include "tests/support/scratch_medium.h"

namespace tolvar {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255),
                   kYellow = RGB(255, 255, 0);

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

constexpr GUID kJpeg = {
    0x19e4a5aa, 0x5662, 0x4fc5, {0xa0, 0xc0, 0x17, 0x58, 0x02, 0x8e, 0x10, 0x57}};
constexpr GUID kPng = {
    0x1b7cfaf4, 0x713f, 0x473c, {0xbb, 0xcd, 0x61, 0x37, 0x42, 0x5f, 0xae, 0xaf}};

// Writes a picture of `width` x `height` with the quadrants of QuadrantBmp, through WIC's encoder
// of `container` (kJpeg or kPng).
void WriteQuadrants(const std::wstring& path, UINT width, UINT height, const GUID& container) {
  const CLSID kFactory = {
      0xcacaf262, 0x9370, 0x4615, {0xa1, 0x3b, 0x9f, 0x55, 0x39, 0xda, 0x4c, 0x0a}};
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
  ASSERT_HRESULT_SUCCEEDED(factory->CreateEncoder(container, nullptr, &encoder));
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

COLORREF PixelAt(const PicturePixels& picture, int x, int y) {
  const uint32_t pixel = picture.pixels[static_cast<size_t>(y) * picture.width + x];
  EXPECT_EQ(pixel >> 24, 0xFFu) << x << ", " << y;
  return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

// An icon of one image, `image` (a PNG, or a bitmap without its file header and with a mask).
std::string Icon(int width, int height, const std::string& image) {
  std::string ico = std::string("\0\0\1\0\1\0", 6);
  ico += static_cast<char>(width & 0xFF);
  ico += static_cast<char>(height & 0xFF);
  ico += std::string("\0\0\1\0\x20\0", 6);
  Put32(ico, static_cast<uint32_t>(image.size()));
  Put32(ico, 22);
  return ico + image;
}

// QuadrantBmp as an icon's image: no file header, the height doubled for the mask that follows
// the picture (all zero: every pixel shows).
std::string QuadrantIconBitmap(int side) {
  std::string bitmap = QuadrantBmp(side, side).substr(14);
  bitmap.replace(8, 4, std::string{static_cast<char>(side * 2), 0, 0, 0});
  const int mask_row = (side + 31) / 32 * 4;
  return bitmap + std::string(static_cast<size_t>(mask_row) * side, '\0');
}

// As the menu file would name it: UTF-8.
std::string PathIn(const ScratchMedium& medium, const char* name) {
  return (medium.root() / name).u8string();
}

// The four quadrants of a picture stretched to 200 x 50.
void ExpectQuadrants(const Expected<PicturePixels>& picture, const char* name) {
  ASSERT_TRUE(picture.ok()) << name << ": " << picture.reason();
  EXPECT_EQ(picture->width, 200) << name;
  EXPECT_EQ(picture->height, 50) << name;
  EXPECT_EQ(PixelAt(picture.value(), 2, 2), kRed) << name;
  EXPECT_EQ(PixelAt(picture.value(), 197, 2), kGreen) << name;
  EXPECT_EQ(PixelAt(picture.value(), 2, 47), kBlue) << name;
  EXPECT_EQ(PixelAt(picture.value(), 197, 47), kYellow) << name;
  EXPECT_EQ(PixelAt(picture.value(), 50, 12), kRed) << name;
  EXPECT_EQ(PixelAt(picture.value(), 150, 37), kYellow) << name;
}

TEST(PictureLoaderTest, StretchesABitmapToTheWholeAreaWithoutKeepingProportions) {
  ScratchMedium medium;
  medium.Write("splash.bmp", QuadrantBmp(8, 8));
  ExpectQuadrants(LoadPicture(PathIn(medium, "splash.bmp"), 200, 50), "splash.bmp");
}

TEST(PictureLoaderTest, ShowsIconsHoldingABitmapOrAPng) {
  ScratchMedium medium;
  medium.Write("bitmap.ico", Icon(16, 16, QuadrantIconBitmap(16)));
  WriteQuadrants(Widen(PathIn(medium, "inside.png")), 32, 32, kPng);
  std::string png;
  {
    std::ifstream in(medium.root() / "inside.png", std::ios::binary);
    png.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  ASSERT_GT(png.size(), 24u);
  medium.Write("png.ico", Icon(32, 32, png));
  // Two images: the larger one shows, whichever comes first.
  std::string two = std::string("\0\0\1\0\2\0", 6);
  const std::string small = std::string(QuadrantIconBitmap(8));
  for (const auto& [side, image, offset] :
       {std::tuple<int, const std::string*, size_t>{8, &small, 6 + 32},
        {32, &png, 6 + 32 + small.size()}}) {
    two += static_cast<char>(side);
    two += static_cast<char>(side);
    two += std::string("\0\0\1\0\x20\0", 6);
    Put32(two, static_cast<uint32_t>(image->size()));
    Put32(two, static_cast<uint32_t>(offset));
  }
  medium.Write("two.ico", two + small + png);
  for (const char* name : {"bitmap.ico", "png.ico", "two.ico"}) {
    ExpectQuadrants(LoadPicture(PathIn(medium, name), 200, 50), name);
  }
}

// Within what JPEG's loss leaves of a flat colour.
void ExpectNear(COLORREF actual, COLORREF expected, const char* where) {
  EXPECT_LE(std::abs(GetRValue(actual) - GetRValue(expected)), 12) << where;
  EXPECT_LE(std::abs(GetGValue(actual) - GetGValue(expected)), 12) << where;
  EXPECT_LE(std::abs(GetBValue(actual) - GetBValue(expected)), 12) << where;
}

TEST(PictureLoaderTest, ReducesALargeJpegToTheAreaUpToItsEdges) {
  ScratchMedium medium;
  // Eight times the area and a few pixels more: the last column and row of blocks are cut short
  // and must be averaged over the pixels they have.
  WriteQuadrants(Widen(PathIn(medium, "photo.jpg")), 8 * 200 + 5, 8 * 60 + 3, kJpeg);
  const Expected<PicturePixels> picture = LoadPicture(PathIn(medium, "photo.jpg"), 200, 60);
  ASSERT_TRUE(picture.ok()) << picture.reason();
  ExpectNear(PixelAt(picture.value(), 0, 0), kRed, "top left");
  ExpectNear(PixelAt(picture.value(), 199, 0), kGreen, "top right");
  ExpectNear(PixelAt(picture.value(), 0, 59), kBlue, "bottom left");
  ExpectNear(PixelAt(picture.value(), 199, 59), kYellow, "bottom right");
  ExpectNear(PixelAt(picture.value(), 150, 45), kYellow, "inside");
}

TEST(PictureLoaderTest, LeavesTheFileFreeOnceRead) {
  ScratchMedium medium;
  medium.Write("splash.bmp", QuadrantBmp(4, 4));
  ASSERT_TRUE(LoadPicture(PathIn(medium, "splash.bmp"), 20, 20).ok());
  // A medium's author may replace the picture while the menu runs; nothing may hold it.
  const HANDLE exclusive =
      CreateFileW(Widen(PathIn(medium, "splash.bmp")).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(exclusive, INVALID_HANDLE_VALUE);
  CloseHandle(exclusive);
}

TEST(PictureLoaderTest, RefusesMetafilesAndIconsThatLieBeforeGdiPlusSeesThem) {
  // GDI+ would draw them all: a metafile, which may hold bitmaps of any size, and icons whose
  // image is larger than its directory says.
  ScratchMedium medium;
  const std::string emf = PathIn(medium, "splash.emf");
  const HDC metafile = CreateEnhMetaFileW(nullptr, Widen(emf).c_str(), nullptr, nullptr);
  ASSERT_NE(metafile, nullptr);
  const HBRUSH blue = CreateSolidBrush(kBlue);
  const RECT all = {0, 0, 100, 100};
  FillRect(metafile, &all, blue);
  DeleteObject(blue);
  DeleteEnhMetaFile(CloseEnhMetaFile(metafile));
  medium.Write("small.ico", Icon(4, 4, QuadrantIconBitmap(16)));
  medium.Write("cut.ico", Icon(16, 16, QuadrantIconBitmap(16)).substr(0, 100));

  for (const auto& [name, words] : {std::pair<const char*, const char*>{"splash.emf", "(EMF)"},
                                    {"small.ico", "16 x 16 pixels where"},
                                    {"cut.ico", "beyond the end"}}) {
    const Expected<PicturePixels> loaded = LoadPicture(PathIn(medium, name), 60, 30);
    EXPECT_FALSE(loaded.ok()) << name;
    EXPECT_NE(loaded.reason().find(words), std::string::npos) << name << ": " << loaded.reason();
  }
}

TEST(PictureLoaderTest, RefusesFilesThatAreNotPictures) {
  ScratchMedium medium;
  medium.Write("splash.bmp", QuadrantBmp(4, 4));
  medium.Write("notes.bmp", "This is a text file with a picture's name.\r\n");
  medium.Write("cut.bmp", QuadrantBmp(64, 64).substr(0, 30));
  medium.Write("empty.png", "");
  ASSERT_TRUE(LoadPicture(PathIn(medium, "splash.bmp"), 20, 20).ok());
  for (const char* name : {"notes.bmp", "cut.bmp", "empty.png"}) {
    const Expected<PicturePixels> loaded = LoadPicture(PathIn(medium, name), 20, 20);
    EXPECT_FALSE(loaded.ok()) << name;
    EXPECT_NE(loaded.reason().find("not a picture"), std::string::npos)
        << name << ": " << loaded.reason();
  }
}

TEST(PictureLoaderTest, RefusesPicturesThatDeclareMorePixelsThanTheBudgetNamingTheSize) {
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
  for (const char* name : {"bomb.bmp", "bomb.png", "bomb.jpg"}) {
    const Result loaded = LoadPicture(PathIn(medium, name), 489, 121).result();
    EXPECT_FALSE(loaded.ok) << name;
    EXPECT_NE(loaded.reason.find(" x "), std::string::npos) << name << ": " << loaded.reason;
    EXPECT_NE(loaded.reason.find("megapixels"), std::string::npos) << name << ": " << loaded.reason;
  }
}

}  // namespace
}  // namespace tolvar
