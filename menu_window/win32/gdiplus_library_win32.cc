// Win32 body of the GDI+ loader: LoadLibraryW and GetProcAddress, GdiplusStartup, and a first
// decoding of a tiny built-in picture, which is where GDI+ sets its decoders up.
#include <cstdint>
#include <string>

#include "menu_window/win32/gdiplus_library.h"
#include "shared_routines/system_dlls_win32.h"

namespace tolvar {
namespace {

template <typename Function>
bool Find(HMODULE module, const char* name, Function* function) {
  *function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  return *function != nullptr;
}

// Null when gdiplus.dll or shlwapi.dll is missing or incomplete (both ship with every Windows
// from XP on).
const GdiplusApi* LoadApi() {
  const HMODULE module = LoadSystemLibrary(L"gdiplus.dll");
  const HMODULE shlwapi = LoadSystemLibrary(L"shlwapi.dll");
  if (module == nullptr || shlwapi == nullptr) return nullptr;
  static GdiplusApi api;
  const bool complete = Find(module, "GdiplusStartup", &api.Startup) &&
                        Find(module, "GdipLoadImageFromFile", &api.LoadImageFromFile) &&
                        Find(module, "GdipLoadImageFromStream", &api.LoadImageFromStream) &&
                        Find(module, "GdipDisposeImage", &api.DisposeImage) &&
                        Find(module, "GdipGetImageType", &api.GetImageType) &&
                        Find(module, "GdipGetImageWidth", &api.GetImageWidth) &&
                        Find(module, "GdipGetImageHeight", &api.GetImageHeight) &&
                        Find(module, "GdipBitmapLockBits", &api.BitmapLockBits) &&
                        Find(module, "GdipBitmapUnlockBits", &api.BitmapUnlockBits) &&
                        Find(module, "GdipCreateFromHDC", &api.CreateFromHDC) &&
                        Find(module, "GdipDeleteGraphics", &api.DeleteGraphics) &&
                        Find(module, "GdipSetInterpolationMode", &api.SetInterpolationMode) &&
                        Find(module, "GdipDrawImageRectI", &api.DrawImageRectI) &&
                        Find(shlwapi, "SHCreateMemStream", &api.CreateMemStream);
  return complete ? &api : nullptr;
}

// A 1 x 1 pixel, 24-bit BMP.
constexpr uint8_t kTinyBmp[] = {'B',  'M',  58,   0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  // file header
                                40,   0,    0,    0, 1, 0, 0, 0, 1, 0, 0,  0, 1, 0, 24, 0,
                                0,    0,    0,    0, 4, 0, 0, 0,  // info header
                                0,    0,    0,    0, 0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0,  0,  //
                                0x80, 0x80, 0x80, 0};  // one grey pixel

// Decodes the tiny picture once, so that the first real picture does not pay for setting the
// decoders up. Failing here is harmless: the real picture then pays.
void WarmUpDecoders(const GdiplusApi& api) {
  IStream* stream = api.CreateMemStream(kTinyBmp, sizeof kTinyBmp);
  if (stream == nullptr) return;
  Gdiplus::GpImage* image = nullptr;
  if (api.LoadImageFromStream(stream, &image) == Gdiplus::Ok) {
    UINT width = 0;
    api.GetImageWidth(image, &width);
    api.DisposeImage(image);
  }
  stream->Release();
}

// Written by whichever thread starts GDI+ and read after it has ended (or by that same thread).
struct Startup {
  HANDLE thread = nullptr;
  bool done = false;
  const GdiplusApi* api = nullptr;
  Gdiplus::Status status = Gdiplus::GdiplusNotInitialized;
};
Startup startup;

void Start(bool warm_up) {
  startup.api = LoadApi();
  if (startup.api != nullptr) {
    Gdiplus::GdiplusStartupInput input;
    input.GdiplusVersion = 1;
    input.DebugEventCallback = nullptr;
    input.SuppressBackgroundThread = FALSE;
    input.SuppressExternalCodecs = FALSE;
    ULONG_PTR token = 0;
    startup.status = startup.api->Startup(&token, &input, nullptr);
    if (startup.status == Gdiplus::Ok && warm_up) WarmUpDecoders(*startup.api);
  }
  startup.done = true;
}

DWORD WINAPI StartInBackground(void*) {
  Start(true);
  return 0;
}

}  // namespace

void PrepareGdiplus() {
  if (startup.thread != nullptr || startup.done) return;
  startup.thread = CreateThread(nullptr, 0, StartInBackground, nullptr, 0, nullptr);
}

const GdiplusApi* StartedGdiplus(std::string* reason) {
  if (startup.thread != nullptr) {
    WaitForSingleObject(startup.thread, INFINITE);
    CloseHandle(startup.thread);
    startup.thread = nullptr;
  }
  if (!startup.done) Start(false);
  if (startup.api == nullptr) {
    *reason = "the picture library gdiplus.dll (or shlwapi.dll) is missing";
    return nullptr;
  }
  if (startup.status != Gdiplus::Ok) {
    *reason = "the picture library GDI+ cannot start (status " +
              std::to_string(static_cast<int>(startup.status)) + ")";
    return nullptr;
  }
  return startup.api;
}

}  // namespace tolvar
