#include "forms/Screenshot.h"

#include <fstream>

#include "base/PngFile.h"
#include "forms/Bitmap.h"

namespace lbb::forms {

PixelBuffer CaptureScreen(const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  TBitmap bitmap(w, h);
  if (bitmap.Empty()) return {};
  WindowDc screen(nullptr);
  TCanvas* canvas = bitmap.Canvas();
  if (!BitBlt(canvas->Handle(), 0, 0, w, h, screen.get(), r.left, r.top, SRCCOPY)) return {};
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
