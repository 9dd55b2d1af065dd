// Bitmaps whose pixels the portable drawing code reads and writes directly (a top-down 32-bit
// DIB section wrapped as a PixelBuffer), and icons.
#pragma once

#include <windows.h>

#include <memory>

#include "base/PixelBuffer.h"
#include "forms/Graphics.h"

namespace lbb::forms {

enum class TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };

class TBitmap : public TGraphicsObject {
  LBB_FORMS_CLASS_INFO

 public:
  TBitmap();
  TBitmap(int width, int height);
  ~TBitmap() override;

  int64_t Width() const { return pixels_.Width(); }
  int64_t Height() const { return pixels_.Height(); }
  void SetWidth(int64_t width) { SetSize(static_cast<int>(width), pixels_.Height()); }
  void SetHeight(int64_t height) { SetSize(pixels_.Width(), static_cast<int>(height)); }
  // New size; the pixels that fit are kept, new ones are black.
  void SetSize(int width, int height);
  // The size and pixels of `picture`.
  void SetPixels(const PixelBuffer& picture);
  bool Empty() const { return pixels_.Empty(); }

  // Storage is always 32 bits per pixel; the format says what the pixels stand for (a 24-bit
  // bitmap keeps its unused byte at 0).
  TPixelFormat PixelFormat() const { return format_; }
  void SetPixelFormat(TPixelFormat format) { format_ = format; }

  HBITMAP Handle() const { return handle_.get(); }
  // The pixels, shared with the DIB section; valid until the next SetSize.
  PixelBuffer& Pixels() { return pixels_; }
  const PixelBuffer& Pixels() const { return pixels_; }
  // A canvas over a memory device context that holds the bitmap.
  TCanvas* Canvas();

  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent) { transparent_ = transparent; }
  // The colour drawn as see-through when Transparent: the one set, else the bottom-left pixel.
  TColor TransparentColor() const;
  void SetTransparentColor(TColor color) { transparentColor_ = color; }

  void Assign(const TBitmap& other);
  // Copies the picture of a bitmap handle (any format); the handle stays the caller's.
  bool AssignHandle(HBITMAP bitmap);
  // Loads a bitmap resource of `instance`; false when there is none.
  bool LoadFromResourceName(HINSTANCE instance, const String& name);
  // A monochrome mask: 1 where the pixel is `color`, 0 elsewhere. The caller owns it.
  BitmapHandle CreateMask(TColor color) const;
  // Draws the bitmap on `dc` into `dest`, with its transparent colour left out when
  // Transparent.
  void DrawTo(HDC dc, const RECT& dest) const;
  // Draws the `part` of the bitmap into `dest` the same way.
  void DrawPartTo(HDC dc, const RECT& dest, const RECT& part) const;

 private:
  void ReleaseCanvas();

  BitmapHandle handle_;
  PixelBuffer pixels_;
  TPixelFormat format_ = TPixelFormat::pf32bit;
  bool transparent_ = false;
  TColor transparentColor_ = clDefault;
  MemoryDcHandle dc_;
  HGDIOBJ oldBitmap_ = nullptr;
  std::unique_ptr<TCanvas> canvas_;
};

class TIcon : public TGraphicsObject {
  LBB_FORMS_CLASS_INFO

 public:
  HICON Handle() const { return handle_.get(); }
  // Takes ownership of `icon`.
  void SetHandle(HICON icon);
  // Loads an icon resource of `instance` at the given size (0: the system's default size).
  bool LoadFromResourceName(HINSTANCE instance, const String& name, int size = 0);
  bool Empty() const { return !handle_; }
  int64_t Width() const;
  int64_t Height() const;

 private:
  IconHandle handle_;
};

}  // namespace lbb::forms
