#include "forms/Bitmap.h"

#include <algorithm>
#include <cstring>

#include "forms/WinText.h"

namespace lbb::forms {
namespace {

// A top-down 32-bpp DIB section of the given size; `bits` receives its memory.
HBITMAP CreateDib(int width, int height, void** bits) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  return CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, bits, nullptr, 0);
}

}  // namespace

const TClassInfo& TBitmap::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TBitmap", &TGraphicsObject::StaticClassInfo());
    i.Add(IntProp<TBitmap>(u"Width", &TBitmap::Width, &TBitmap::SetWidth));
    i.Add(IntProp<TBitmap>(u"Height", &TBitmap::Height, &TBitmap::SetHeight));
    i.Add(BoolProp<TBitmap>(u"Transparent", &TBitmap::Transparent, &TBitmap::SetTransparent));
    return i;
  }();
  return info;
}

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height) {
  SetSize(width, height);
}

TBitmap::~TBitmap() {
  ReleaseCanvas();
}

void TBitmap::ReleaseCanvas() {
  if (canvas_) canvas_->SetHandle(nullptr);
  if (dc_ && oldBitmap_) SelectObject(dc_.get(), std::exchange(oldBitmap_, nullptr));
}

void TBitmap::SetPixels(const PixelBuffer& picture) {
  SetSize(picture.Width(), picture.Height());
  GdiFlush();  // GDI is done with the section before its pixels are written
  for (int y = 0; y < pixels_.Height(); ++y)
    std::copy_n(picture.Row(y), pixels_.Width(), pixels_.Row(y));
}

void TBitmap::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == pixels_.Width() && height == pixels_.Height()) return;
  ReleaseCanvas();
  BitmapHandle fresh;
  PixelBuffer view;
  if (width > 0 && height > 0) {
    void* bits = nullptr;
    fresh.reset(CreateDib(width, height, &bits));
    if (!fresh || !bits) return;  // out of GDI memory: keep the old picture
    GdiFlush();
    std::memset(bits, 0, static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    view = PixelBuffer::Wrap(static_cast<Pixel*>(bits), width, height);
    int w = std::min(width, pixels_.Width());
    for (int y = 0; y < std::min(height, pixels_.Height()); ++y) {
      std::copy(pixels_.Row(y), pixels_.Row(y) + w, view.Row(y));
    }
  }
  handle_ = std::move(fresh);
  pixels_ = std::move(view);
  Changed();
}

TCanvas* TBitmap::Canvas() {
  if (!canvas_) canvas_ = std::make_unique<TCanvas>();
  if (!dc_) dc_.reset(CreateCompatibleDC(nullptr));
  if (dc_ && handle_ && !oldBitmap_) {
    oldBitmap_ = SelectObject(dc_.get(), handle_.get());
    canvas_->SetHandle(dc_.get());
  }
  return canvas_.get();
}

TColor TBitmap::TransparentColor() const {
  if (transparentColor_ != clDefault) return transparentColor_;
  if (pixels_.Empty()) return clNone;
  GdiFlush();
  return static_cast<TColor>(ColourOf(pixels_.At(0, pixels_.Height() - 1)) & 0xFFFFFF);
}

void TBitmap::Assign(const TBitmap& other) {
  if (&other == this) return;
  SetSize(static_cast<int>(other.Width()), static_cast<int>(other.Height()));
  GdiFlush();
  if (!pixels_.Empty()) {
    std::copy(other.pixels_.Bits(),
              other.pixels_.Bits() + static_cast<size_t>(Width()) * static_cast<size_t>(Height()),
              pixels_.Bits());
  }
  format_ = other.format_;
  transparent_ = other.transparent_;
  transparentColor_ = other.transparentColor_;
  Changed();
}

bool TBitmap::AssignHandle(HBITMAP bitmap) {
  BITMAP bm{};
  if (!bitmap || !GetObjectW(bitmap, sizeof bm, &bm)) return false;
  SetSize(bm.bmWidth, bm.bmHeight);
  if (pixels_.Empty()) return false;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = bm.bmWidth;
  bi.bmiHeader.biHeight = -bm.bmHeight;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  ReleaseCanvas();  // GetDIBits wants the source not selected anywhere but allows ours
  const WindowDc screen(nullptr);
  int rows = GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(bm.bmHeight), pixels_.Bits(), &bi,
                       DIB_RGB_COLORS);
  format_ = bm.bmBitsPixel >= 32 ? TPixelFormat::pf32bit : TPixelFormat::pf24bit;
  if (format_ != TPixelFormat::pf32bit) {
    for (int y = 0; y < pixels_.Height(); ++y) {
      for (int x = 0; x < pixels_.Width(); ++x)
        pixels_.At(x, y) &= 0xFFFFFF;
    }
  }
  Changed();
  return rows == bm.bmHeight;
}

bool TBitmap::LoadFromResourceName(HINSTANCE instance, const String& name) {
  std::wstring w = Wide(name);
  BitmapHandle loaded(static_cast<HBITMAP>(
      LoadImageW(instance, w.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  return loaded && AssignHandle(loaded.get());
}

BitmapHandle TBitmap::CreateMask(TColor color) const {
  int w = pixels_.Width(), h = pixels_.Height();
  BitmapHandle mask(CreateBitmap(std::max(w, 1), std::max(h, 1), 1, 1, nullptr));
  if (!mask || pixels_.Empty()) return mask;
  GdiFlush();
  // Rows of a monochrome bitmap are padded to 16 bits.
  int stride = ((w + 15) / 16) * 2;
  std::vector<BYTE> bits(static_cast<size_t>(stride) * static_cast<size_t>(h), 0);
  Pixel key = PixelOf(ColorToRGB(color));
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if ((pixels_.At(x, y) & 0xFFFFFF) == key) {
        bits[static_cast<size_t>(y * stride + x / 8)] |= static_cast<BYTE>(0x80 >> (x % 8));
      }
    }
  }
  SetBitmapBits(mask.get(), static_cast<DWORD>(bits.size()), bits.data());
  return mask;
}

void TBitmap::DrawTo(HDC dc, const RECT& dest) const {
  DrawPartTo(dc, dest, RECT{0, 0, pixels_.Width(), pixels_.Height()});
}

void TBitmap::DrawPartTo(HDC dc, const RECT& dest, const RECT& part) const {
  if (pixels_.Empty() || !dc) return;
  MemoryDcHandle source(CreateCompatibleDC(dc));
  if (!source) return;
  // The bitmap may be selected into its own canvas's context; a DIB section can be selected
  // into only one context at a time, so draw from that one when it is.
  HDC from = oldBitmap_ ? dc_.get() : source.get();
  SelectScope select(source.get(), oldBitmap_ ? nullptr : handle_.get());
  int w = part.right - part.left, h = part.bottom - part.top;
  int dw = dest.right - dest.left, dh = dest.bottom - dest.top;
  if (transparent_) {
    TransparentBlt(dc, dest.left, dest.top, dw, dh, from, part.left, part.top, w, h,
                   ColorToRGB(TransparentColor()));
  } else if (dw == w && dh == h) {
    BitBlt(dc, dest.left, dest.top, w, h, from, part.left, part.top, SRCCOPY);
  } else {
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, dest.left, dest.top, dw, dh, from, part.left, part.top, w, h, SRCCOPY);
  }
}

// ---- TIcon

const TClassInfo& TIcon::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TIcon", &TGraphicsObject::StaticClassInfo());
    i.Add(IntProp<TIcon>(u"Width", &TIcon::Width, nullptr));
    i.Add(IntProp<TIcon>(u"Height", &TIcon::Height, nullptr));
    return i;
  }();
  return info;
}

void TIcon::SetHandle(HICON icon) {
  handle_.reset(icon);
  Changed();
}

bool TIcon::LoadFromResourceName(HINSTANCE instance, const String& name, int size) {
  std::wstring w = Wide(name);
  HICON icon = static_cast<HICON>(
      LoadImageW(instance, w.c_str(), IMAGE_ICON, size, size, size ? 0 : LR_DEFAULTSIZE));
  if (!icon) return false;
  SetHandle(icon);
  return true;
}

namespace {
SIZE IconSize(HICON icon) {
  SIZE s{0, 0};
  ICONINFO ii{};
  if (!icon || !GetIconInfo(icon, &ii)) return s;
  BitmapHandle color(ii.hbmColor), mask(ii.hbmMask);
  BITMAP bm{};
  if (GetObjectW(mask.get(), sizeof bm, &bm)) {
    s.cx = bm.bmWidth;
    s.cy = color ? bm.bmHeight : bm.bmHeight / 2;
  }
  return s;
}
}  // namespace

int64_t TIcon::Width() const {
  return IconSize(handle_.get()).cx;
}

int64_t TIcon::Height() const {
  return IconSize(handle_.get()).cy;
}

}  // namespace lbb::forms
