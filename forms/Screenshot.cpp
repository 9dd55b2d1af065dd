#include "forms/Screenshot.h"

#include <fstream>

#include "base/PngFile.h"
#include "forms/Bitmap.h"

namespace lbb::forms {

PixelBuffer CaptureScreen(const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  TBitmap bitmap(w, h);
  if (bitmap.Empty()) return {};
  // Only the part on the screen is copied (the rest stays black): the platform may refuse a
  // copy whose source reaches past the screen (a maximised window's borders do), which would
  // leave the whole picture black.
  const RECT desktop{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                     GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                     GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  RECT shown{};
  if (!IntersectRect(&shown, &r, &desktop)) return PixelBuffer(bitmap.Pixels());
  WindowDc screen(nullptr);
  TCanvas* canvas = bitmap.Canvas();
  if (!BitBlt(canvas->Handle(), shown.left - r.left, shown.top - r.top, shown.right - shown.left,
              shown.bottom - shown.top, screen.get(), shown.left, shown.top, SRCCOPY))
    return {};
  GdiFlush();
  return PixelBuffer(bitmap.Pixels());  // an owned copy
}

PixelBuffer CaptureWindow(HWND hwnd, bool wholeWindow) {
  RECT r{};
  if (!(wholeWindow ? GetWindowRect(hwnd, &r) : GetClientRect(hwnd, &r))) return {};
  POINT origin{r.left, r.top};
  if (!wholeWindow) ClientToScreen(hwnd, &origin);
  return CaptureScreen(
      RECT{origin.x, origin.y, origin.x + (r.right - r.left), origin.y + (r.bottom - r.top)});
}

bool SavePng(const PixelBuffer& picture, const std::string& path) {
  const std::string png = EncodePng(picture);
  std::ofstream out(path, std::ios::binary);
  out.write(png.data(), static_cast<std::streamsize>(png.size()));
  return static_cast<bool>(out);
}

bool SaveWindowPng(HWND hwnd, const std::string& path, bool wholeWindow) {
  PixelBuffer image = CaptureWindow(hwnd, wholeWindow);
  return !image.Empty() && SavePng(image, path);
}

}  // namespace lbb::forms
