// The Wine harness renders Chinese text: the CJK font linked into the prefix gives every
// character its own glyph in the dialog fonts. Saves a screenshot of a window showing it.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "base/PixelBuffer.h"
#include "base/PngFile.h"

namespace {

using lbb::PixelBuffer;

struct DeleteObjectOnExit {
  HGDIOBJ h;
  ~DeleteObjectOnExit() {
    if (h) DeleteObject(h);
  }
};
struct DeleteDcOnExit {
  HDC dc;
  ~DeleteDcOnExit() {
    if (dc) DeleteDC(dc);
  }
};
struct SelectOnExit {
  HDC dc;
  HGDIOBJ old;
  ~SelectOnExit() { SelectObject(dc, old); }
};

HFONT Tahoma(int height) {
  return CreateFontW(-height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, L"Tahoma");
}

// Black text on white in a 32 x 32 bitmap; the pixels as a string for comparison.
std::string Render(const wchar_t* text) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = 32;
  bi.bmiHeader.biHeight = -32;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  DeleteObjectOnExit bmpOwner{bmp};
  DeleteDcOnExit dc{CreateCompatibleDC(nullptr)};
  if (!bmp || !dc.dc) return {};
  SelectOnExit selBmp{dc.dc, SelectObject(dc.dc, bmp)};
  HFONT font = Tahoma(24);
  DeleteObjectOnExit fontOwner{font};
  SelectOnExit selFont{dc.dc, SelectObject(dc.dc, font)};
  RECT r{0, 0, 32, 32};
  FillRect(dc.dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetBkMode(dc.dc, TRANSPARENT);
  TextOutW(dc.dc, 2, 2, text, static_cast<int>(wcslen(text)));
  GdiFlush();
  return std::string(static_cast<const char*>(bits), 32 * 32 * 4);
}

size_t Ink(const std::string& pixels) {
  size_t n = 0;
  for (size_t i = 0; i + 3 < pixels.size(); i += 4) {
    if (static_cast<unsigned char>(pixels[i]) < 128) ++n;
  }
  return n;
}

TEST(CjkFont, ChineseCharactersHaveTheirOwnGlyphs) {
  const std::string a = Render(L"备"), b = Render(L"份"), c = Render(L"博");
  EXPECT_GT(Ink(a), 10u);
  EXPECT_GT(Ink(b), 10u);
  // A missing font draws the same box for every character.
  EXPECT_NE(a, b);
  EXPECT_NE(b, c);
}

LRESULT CALLBACK PlainWindowProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  return DefWindowProcW(h, m, w, l);
}

TEST(CjkFont, ScreenshotOfAWindowWithChineseText) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = PlainWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = L"LbbCjkShot";
  RegisterClassW(&wc);
  HWND w = CreateWindowExW(0, L"LbbCjkShot", L"Lorvane博客备份工具 V1.3多线程版 By Orlend",
                           WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 100, 100, 420, 140,
                           nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(w, nullptr);
  HFONT font = Tahoma(11);
  DeleteObjectOnExit fontOwner{font};
  HWND label =
      CreateWindowExW(0, L"STATIC", L">程序会自动从上一次备份的基础上备份新的文章。",
                      WS_CHILD | WS_VISIBLE, 10, 10, 390, 20, w, nullptr, wc.hInstance, nullptr);
  HWND button = CreateWindowExW(0, L"BUTTON", L"备份", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10,
                                40, 57, 25, w, nullptr, wc.hInstance, nullptr);
  SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  UpdateWindow(w);
  MSG msg;
  for (int i = 0; i < 20; ++i) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
      DispatchMessageW(&msg);
    Sleep(20);
  }
  RECT rc;
  GetWindowRect(w, &rc);
  const int width = rc.right - rc.left, height = rc.bottom - rc.top;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  DeleteObjectOnExit bmpOwner{bmp};
  ASSERT_NE(bmp, nullptr);
  {
    DeleteDcOnExit mem{CreateCompatibleDC(nullptr)};
    SelectOnExit sel{mem.dc, SelectObject(mem.dc, bmp)};
    HDC screen = GetDC(nullptr);
    BitBlt(mem.dc, 0, 0, width, height, screen, rc.left, rc.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    GdiFlush();
  }
  const PixelBuffer shot = PixelBuffer::Wrap(static_cast<lbb::Pixel*>(bits), width, height);
  std::ofstream("cjk_font.png", std::ios::binary) << lbb::EncodePng(shot);
  DestroyWindow(w);
  // Something was drawn: the caption and the face colour are not one flat colour.
  bool varied = false;
  for (int y = 0; y < height && !varied; ++y) {
    for (int x = 1; x < width && !varied; ++x)
      varied = shot.At(x, y) != shot.At(0, 0);
  }
  EXPECT_TRUE(varied);
}

}  // namespace
