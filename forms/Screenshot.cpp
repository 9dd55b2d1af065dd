#include "forms/Screenshot.h"

#include <fstream>

#include "base/PngFile.h"
#include "forms/Bitmap.h"

namespace lbb::forms {

PixelBuffer CaptureWindow(HWND hwnd, bool wholeWindow) {
  RECT r{};
  if (!(wholeWindow ? GetWindowRect(hwnd, &r) : GetClientRect(hwnd, &r))) return {};
  POINT origin{r.left, r.top};
  if (!wholeWindow) ClientToScreen(hwnd, &origin);
  int w = r.right - r.left, h = r.bottom - r.top;
  TBitmap bitmap(w, h);
  if (bitmap.Empty()) return {};
  WindowDc screen(nullptr);
  TCanvas* canvas = bitmap.Canvas();
  if (!BitBlt(canvas->Handle(), 0, 0, w, h, screen.get(), origin.x, origin.y, SRCCOPY)) return {};
  GdiFlush();
  return PixelBuffer(bitmap.Pixels());  // an owned copy
}

bool SaveWindowPng(HWND hwnd, const std::string& path, bool wholeWindow) {
  PixelBuffer image = CaptureWindow(hwnd, wholeWindow);
  if (image.Empty()) return false;
  std::string png = EncodePng(image);
  std::ofstream out(path, std::ios::binary);
  out.write(png.data(), static_cast<std::streamsize>(png.size()));
  return static_cast<bool>(out);
}

}  // namespace lbb::forms
