// Colours, fonts, brushes and pens, and the canvas that draws with them on a device context.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <mutex>

#include "base/Colour.h"
#include "base/win/Handles.h"
#include "forms/core/Properties.h"

namespace lbb::forms {

// The screen's resolution in pixels per inch (LOGPIXELSY of the screen's device context),
// read once: a process's screen resolution does not change while it runs.
int ScreenPixelsPerInch();
// A length in pixels at 96 pixels per inch, at the screen's resolution (MulDiv rounding): for
// the library's own fixed measures (margins, glyph boxes).
int ScreenPixels(int pixelsAt96);

// A drawing object that tells its user when it changes.
class TGraphicsObject : public TObject {
  LBB_FORMS_CLASS_INFO

 public:
  std::function<void()> OnChange;

 protected:
  void Changed() {
    if (OnChange) OnChange();
  }
};

enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t;

class TFont : public TGraphicsObject {
  LBB_FORMS_CLASS_INFO

 public:
  TFont();
  // Copies name, height, style, colour and character set.
  void Assign(const TFont& other);
  // Takes the description of an existing font handle (the handle stays the caller's).
  void AssignHandle(HFONT font);

  String Name() const { return name_; }
  void SetName(const String& name);
  // Character height in pixels as a negative number (a positive one is the cell height).
  int64_t Height() const { return height_; }
  void SetHeight(int64_t height);
  // Size in points at the screen's resolution.
  int64_t Size() const;
  // A size in points becomes a height in pixels at the screen's resolution at once: such a
  // font already has the screen's scale.
  void SetSize(int64_t points);
  // Scales a height given in pixels by M/D, rounded as MulDiv rounds (-11 at 96 pixels per
  // inch is -17 at 144 and -22 at 192); a font given in points keeps its height.
  void ChangeScale(int m, int d);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles style);
  int64_t Color() const { return color_; }
  void SetColor(int64_t color);
  BYTE Charset() const { return charset_; }
  void SetCharset(BYTE charset);

  // The font's handle, made when first asked for after a change; the font keeps it.
  HFONT Handle();
  bool operator==(const TFont& other) const;

 private:
  void Modified();

  String name_ = u"Tahoma";
  int64_t height_ = -11;
  TFontStyles style_ = 0;
  int64_t color_ = clWindowText;
  BYTE charset_ = DEFAULT_CHARSET;
  // The height came from a size in points (SetSize), not from pixels.
  bool givenInPoints_ = false;
  FontHandle handle_;
  bool stale_ = true;
};

enum class TBrushStyle { bsSolid, bsClear };

class TBrush : public TGraphicsObject {
  LBB_FORMS_CLASS_INFO

 public:
  int64_t Color() const { return color_; }
  void SetColor(int64_t color);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle style);
  // The solid brush of the colour (the stock hollow brush for bsClear).
  HBRUSH Handle();

 private:
  int64_t color_ = clWhite;
  TBrushStyle style_ = TBrushStyle::bsSolid;
  BrushHandle handle_;
  bool stale_ = true;
};

enum class TPenStyle { psSolid, psDash, psDot, psClear };

class TPen : public TGraphicsObject {
  LBB_FORMS_CLASS_INFO

 public:
  int64_t Color() const { return color_; }
  void SetColor(int64_t color);
  int64_t Width() const { return width_; }
  void SetWidth(int64_t width);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle style);
  HPEN Handle();

 private:
  int64_t color_ = clBlack;
  int64_t width_ = 1;
  TPenStyle style_ = TPenStyle::psSolid;
  PenHandle handle_;
  bool stale_ = true;
};

class TBitmap;

// Drawing on a device context with the canvas's font, brush and pen. The canvas selects them
// into the context as it draws and selects the context's own objects back when it lets go.
class TCanvas : public TObject {
  LBB_FORMS_CLASS_INFO

 public:
  TCanvas();
  ~TCanvas() override;
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  HDC Handle() const { return dc_; }
  // Binds the canvas to `dc` (not owned); null lets go of the current one.
  void SetHandle(HDC dc);
  bool HandleAllocated() const { return dc_ != nullptr; }

  TFont* Font() const { return font_.get(); }
  TBrush* Brush() const { return brush_.get(); }
  TPen* Pen() const { return pen_.get(); }

  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void Rectangle(const RECT& r);
  void FillRect(const RECT& r);
  void FrameRect(const RECT& r);
  void DrawFocusRect(const RECT& r);
  void TextOut(int x, int y, const String& text);
  // Draws `text` clipped to `r` at (x, y).
  void TextRect(const RECT& r, int x, int y, const String& text);
  // DrawText with `flags` (DT_...); returns the text height. With DT_CALCRECT `r` receives the
  // measured rectangle.
  int DrawText(const String& text, RECT& r, UINT flags);
  SIZE TextExtent(const String& text);
  int TextWidth(const String& text) { return TextExtent(text).cx; }
  int TextHeight(const String& text) { return TextExtent(text).cy; }
  void Draw(int x, int y, TBitmap& bitmap);
  void StretchDraw(const RECT& r, TBitmap& bitmap);
  COLORREF Pixel(int x, int y) const { return GetPixel(dc_, x, y); }
  void SetPixel(int x, int y, TColor color);

  // Serialises drawing on the canvas between threads.
  void Lock() { lock_.lock(); }
  void Unlock() { lock_.unlock(); }

 private:
  void UseFont();
  void UseBrush();
  void UsePen();
  void Deselect();

  HDC dc_ = nullptr;
  std::unique_ptr<TFont> font_;
  std::unique_ptr<TBrush> brush_;
  std::unique_ptr<TPen> pen_;
  HGDIOBJ oldFont_ = nullptr;
  HGDIOBJ oldBrush_ = nullptr;
  HGDIOBJ oldPen_ = nullptr;
  std::recursive_mutex lock_;
};

// Binds a canvas to a device context for a scope.
class CanvasScope {
 public:
  CanvasScope(TCanvas& canvas, HDC dc) : canvas_(canvas) { canvas_.SetHandle(dc); }
  ~CanvasScope() { canvas_.SetHandle(nullptr); }
  CanvasScope(const CanvasScope&) = delete;
  CanvasScope& operator=(const CanvasScope&) = delete;

 private:
  TCanvas& canvas_;
};

}  // namespace lbb::forms
