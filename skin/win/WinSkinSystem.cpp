#include "skin/win/WinSkinSystem.h"

#include <windows.h>

#include <cstddef>
#include <string>

#include "base/win/Handles.h"
#include "base/win/WideText.h"
#include "forms/Graphics.h"
#include "skin/win/EngineWindows.h"

namespace lbb::skin {

int TWinSkinSystem::SystemMetric(int index) const {
  // GetSystemMetricsForDpi exists from Windows 10 on: looked up, not linked.
  using ForDpi = int(WINAPI*)(int, UINT);
  static const auto forDpi = reinterpret_cast<ForDpi>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
  if (forDpi) return forDpi(index, 96);
  return MulDiv(GetSystemMetrics(index), 96, forms::ScreenPixelsPerInch());
}

lbb::FontHandle NonClientFont(LOGFONTW NONCLIENTMETRICSW::*which, int dpi) {
  // The size without iPaddedBorderWidth, which every version of the platform accepts.
  constexpr UINT kClassicSize = offsetof(NONCLIENTMETRICSW, lfMessageFont) + sizeof(LOGFONTW);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = kClassicSize;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, kClassicSize, &metrics, 0)) return {};
  // The platform answers at its own resolution: the height is taken to `dpi`.
  LOGFONTW font = metrics.*which;
  const int screen = forms::ScreenPixelsPerInch();
  if (dpi > 0 && dpi != screen) font.lfHeight = MulDiv(font.lfHeight, dpi, screen);
  return lbb::FontHandle(CreateFontIndirectW(&font));
}

PixelBuffer TWinSkinSystem::NamedBitmap(std::u16string_view name) const {
  const std::wstring wname = Wide(name);
  // The engine's module first (the DLL that carries the engine holds them), then the
  // program's.
  const auto load = [&](HINSTANCE module) {
    return static_cast<HBITMAP>(
        LoadImageW(module, wname.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  };
  HBITMAP found = load(EngineModule());
  if (!found && EngineModule() != GetModuleHandleW(nullptr))
    found = load(GetModuleHandleW(nullptr));
  const BitmapHandle bmp(found);
  if (!bmp) return {};
  BITMAP info{};
  GetObjectW(bmp.get(), sizeof(info), &info);
  PixelBuffer img(info.bmWidth, info.bmHeight);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = info.bmWidth;
  bi.bmiHeader.biHeight = -info.bmHeight;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  const MemoryDcHandle screen(CreateCompatibleDC(nullptr));
  if (!GetDIBits(screen.get(), bmp.get(), 0, static_cast<UINT>(info.bmHeight), img.Bits(), &bi,
                 DIB_RGB_COLORS))
    return {};
  for (int y = 0; y < img.Height(); ++y)
    for (int x = 0; x < img.Width(); ++x)
      img.At(x, y) &= 0xFFFFFF;
  return img;
}

DWORD SkinOsVersion() {
  static const DWORD version = GetVersion();
  return version;
}

}  // namespace lbb::skin
