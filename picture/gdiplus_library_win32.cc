// Win32 body of the GDI+ loader: LoadLibraryW and GetProcAddress, then GdiplusStartup.
#include <string>

#include "picture/gdiplus_library.h"
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
                        Find(module, "GdipLoadImageFromStream", &api.LoadImageFromStream) &&
                        Find(module, "GdipDisposeImage", &api.DisposeImage) &&
                        Find(module, "GdipGetImageWidth", &api.GetImageWidth) &&
                        Find(module, "GdipGetImageHeight", &api.GetImageHeight) &&
                        Find(module, "GdipBitmapLockBits", &api.BitmapLockBits) &&
                        Find(module, "GdipBitmapUnlockBits", &api.BitmapUnlockBits) &&
                        Find(shlwapi, "SHCreateMemStream", &api.CreateMemStream);
  return complete ? &api : nullptr;
}

// What starting GDI+ came to; kept, since it is started once for the life of the process.
struct Startup {
  bool done = false;
  const GdiplusApi* api = nullptr;
  Gdiplus::Status status = Gdiplus::GdiplusNotInitialized;
};
Startup startup;

void Start() {
  startup.api = LoadApi();
  if (startup.api != nullptr) {
    Gdiplus::GdiplusStartupInput input;
    input.GdiplusVersion = 1;
    input.DebugEventCallback = nullptr;
    input.SuppressBackgroundThread = FALSE;
    input.SuppressExternalCodecs = FALSE;
    ULONG_PTR token = 0;
    startup.status = startup.api->Startup(&token, &input, nullptr);
  }
  startup.done = true;
}

}  // namespace

const GdiplusApi* StartedGdiplus(std::string* reason) {
  if (!startup.done) Start();
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
