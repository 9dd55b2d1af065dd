#include "forms/Graphics.h"

#include "base/win/SysColours.h"
#include "forms/Bitmap.h"
#include "forms/WinText.h"

namespace lbb::forms {

// Every colour the form library draws resolves system colours from the platform: install its
// source before the first drawing (constant-initialised state in base makes this safe).
[[maybe_unused]] const bool kPlatformColours = (UsePlatformSysColours(), true);

int ScreenPixelsPerInch() {
  static const int dpi = [] {
    const WindowDc screen(nullptr);
    const int caps = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return caps > 0 ? caps : USER_DEFAULT_SCREEN_DPI;
  }();
  return dpi;
}

int ScreenPixels(int pixelsAt96) {
  return MulDiv(pixelsAt96, ScreenPixelsPerInch(), USER_DEFAULT_SCREEN_DPI);
}

const TClassInfo& TGraphicsObject::StaticClassInfo() {
  static const TClassInfo info(u"TGraphicsObject", &TObject::StaticClassInfo());
  return info;
}

// ---- TFont

const TClassInfo& TFont::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TFont", &TGraphicsObject::StaticClassInfo());
    i.Add(StrProp<TFont>(u"Name", &TFont::Name, &TFont::SetName));
    i.Add(IntProp<TFont>(u"Height", &TFont::Height, &TFont::SetHeight));
    i.Add(IntProp<TFont>(u"Size", &TFont::Size, &TFont::SetSize));
    i.Add(IntProp<TFont>(u"Color", &TFont::Color, &TFont::SetColor));
    return i;
  }();
  return info;
}

TFont::TFont() = default;

void TFont::Assign(const TFont& other) {
  if (&other == this || *this == other) return;
  name_ = other.name_;
  height_ = other.height_;
  style_ = other.style_;
  color_ = other.color_;
  charset_ = other.charset_;
  givenInPoints_ = other.givenInPoints_;
  Modified();
}

void TFont::AssignHandle(HFONT font) {
  LOGFONTW lf{};
  if (!font || !GetObjectW(font, sizeof lf, &lf)) return;
  name_ = FromWide(lf.lfFaceName, wcsnlen(lf.lfFaceName, LF_FACESIZE));
  height_ = lf.lfHeight;
  style_ = static_cast<TFontStyles>(
      (lf.lfWeight >= FW_BOLD ? fsBold : 0) | (lf.lfItalic ? fsItalic : 0) |
      (lf.lfUnderline ? fsUnderline : 0) | (lf.lfStrikeOut ? fsStrikeOut : 0));
  charset_ = lf.lfCharSet;
  givenInPoints_ = false;
  Modified();
}

void TFont::SetName(const String& name) {
  if (name == name_ || name.empty()) return;
  name_ = name;
  Modified();
}

void TFont::SetHeight(int64_t height) {
  givenInPoints_ = false;
  if (height == height_) return;
  height_ = height;
  Modified();
}

int64_t TFont::Size() const {
  return -MulDiv(static_cast<int>(height_), 72, ScreenPixelsPerInch());
}

void TFont::SetSize(int64_t points) {
  SetHeight(-MulDiv(static_cast<int>(points), ScreenPixelsPerInch(), 72));
  givenInPoints_ = true;
}

void TFont::ChangeScale(int m, int d) {
  if (m == d || givenInPoints_) return;
  SetHeight(MulDiv(static_cast<int>(height_), m, d));
}

void TFont::SetStyle(TFontStyles style) {
  if (style == style_) return;
  style_ = style;
  Modified();
}

void TFont::SetColor(int64_t color) {
  if (color == color_) return;
  color_ = color;
  Changed();  // the handle does not hold the colour
}

void TFont::SetCharset(BYTE charset) {
  if (charset == charset_) return;
  charset_ = charset;
  Modified();
}

void TFont::Modified() {
  stale_ = true;
  Changed();
}

HFONT TFont::Handle() {
  if (stale_ || !handle_) {
    LOGFONTW lf{};
    lf.lfHeight = static_cast<LONG>(height_);
    lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style_ & fsItalic) ? 1 : 0;
    lf.lfUnderline = (style_ & fsUnderline) ? 1 : 0;
    lf.lfStrikeOut = (style_ & fsStrikeOut) ? 1 : 0;
    lf.lfCharSet = charset_;
    lf.lfQuality = DEFAULT_QUALITY;
    std::wstring face = Wide(name_).substr(0, LF_FACESIZE - 1);
    wcscpy(lf.lfFaceName, face.c_str());
    handle_.reset(CreateFontIndirectW(&lf));
    stale_ = false;
  }
  return handle_.get();
}

bool TFont::operator==(const TFont& other) const {
  return name_ == other.name_ && height_ == other.height_ && style_ == other.style_ &&
         color_ == other.color_ && charset_ == other.charset_ &&
         givenInPoints_ == other.givenInPoints_;
}

// ---- TBrush and TPen

const TClassInfo& TBrush::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TBrush", &TGraphicsObject::StaticClassInfo());
    i.Add(IntProp<TBrush>(u"Color", &TBrush::Color, &TBrush::SetColor));
    return i;
  }();
  return info;
}

void TBrush::SetColor(int64_t color) {
  if (color == color_ && style_ == TBrushStyle::bsSolid) return;
  color_ = color;
  style_ = TBrushStyle::bsSolid;
  stale_ = true;
  Changed();
}

void TBrush::SetStyle(TBrushStyle style) {
  if (style == style_) return;
  style_ = style;
  stale_ = true;
  Changed();
}

HBRUSH TBrush::Handle() {
  if (style_ == TBrushStyle::bsClear) return static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH));
  if (stale_ || !handle_) {
    handle_.reset(CreateSolidBrush(ColorToRGB(static_cast<TColor>(color_))));
    stale_ = false;
  }
  return handle_.get();
}

const TClassInfo& TPen::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TPen", &TGraphicsObject::StaticClassInfo());
    i.Add(IntProp<TPen>(u"Color", &TPen::Color, &TPen::SetColor));
    i.Add(IntProp<TPen>(u"Width", &TPen::Width, &TPen::SetWidth));
    return i;
  }();
  return info;
}

void TPen::SetColor(int64_t color) {
  if (color == color_) return;
  color_ = color;
  stale_ = true;
  Changed();
}

void TPen::SetWidth(int64_t width) {
  if (width == width_ || width < 0) return;
  width_ = width;
  stale_ = true;
  Changed();
}

void TPen::SetStyle(TPenStyle style) {
  if (style == style_) return;
  style_ = style;
  stale_ = true;
  Changed();
}

HPEN TPen::Handle() {
  if (stale_ || !handle_) {
    static constexpr int kStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_NULL};
    handle_.reset(CreatePen(kStyles[static_cast<int>(style_)], static_cast<int>(width_),
                            ColorToRGB(static_cast<TColor>(color_))));
    stale_ = false;
  }
  return handle_.get();
}

// ---- TCanvas

const TClassInfo& TCanvas::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TCanvas", &TObject::StaticClassInfo());
    i.Add(ObjectProp<TCanvas, TFont>(u"Font", u"TFont", &TCanvas::Font, nullptr));
    i.Add(ObjectProp<TCanvas, TBrush>(u"Brush", u"TBrush", &TCanvas::Brush, nullptr));
    i.Add(ObjectProp<TCanvas, TPen>(u"Pen", u"TPen", &TCanvas::Pen, nullptr));
    return i;
  }();
  return info;
}

TCanvas::TCanvas()
    : font_(std::make_unique<TFont>()),
      brush_(std::make_unique<TBrush>()),
      pen_(std::make_unique<TPen>()) {
  // A changed object gets a new handle: put the context's own object back first, so that
  // the old handle is not selected when it is deleted.
  font_->OnChange = [this] {
    if (dc_ && oldFont_) SelectObject(dc_, std::exchange(oldFont_, nullptr));
  };
  brush_->OnChange = [this] {
    if (dc_ && oldBrush_) SelectObject(dc_, std::exchange(oldBrush_, nullptr));
  };
  pen_->OnChange = [this] {
    if (dc_ && oldPen_) SelectObject(dc_, std::exchange(oldPen_, nullptr));
  };
}

TCanvas::~TCanvas() {
  Deselect();
}

void TCanvas::SetHandle(HDC dc) {
  if (dc == dc_) return;
  Deselect();
  dc_ = dc;
}

void TCanvas::Deselect() {
  if (!dc_) return;
  if (oldFont_) SelectObject(dc_, std::exchange(oldFont_, nullptr));
  if (oldBrush_) SelectObject(dc_, std::exchange(oldBrush_, nullptr));
  if (oldPen_) SelectObject(dc_, std::exchange(oldPen_, nullptr));
}

void TCanvas::UseFont() {
  HGDIOBJ old = SelectObject(dc_, font_->Handle());
  if (!oldFont_) oldFont_ = old;
  SetTextColor(dc_, ColorToRGB(static_cast<TColor>(font_->Color())));
}

void TCanvas::UseBrush() {
  HGDIOBJ old = SelectObject(dc_, brush_->Handle());
  if (!oldBrush_) oldBrush_ = old;
  if (brush_->Style() == TBrushStyle::bsClear) {
    SetBkMode(dc_, TRANSPARENT);
  } else {
    SetBkMode(dc_, OPAQUE);
    SetBkColor(dc_, ColorToRGB(static_cast<TColor>(brush_->Color())));
  }
}

void TCanvas::UsePen() {
  HGDIOBJ old = SelectObject(dc_, pen_->Handle());
  if (!oldPen_) oldPen_ = old;
}

void TCanvas::MoveTo(int x, int y) {
  if (dc_) MoveToEx(dc_, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
  if (!dc_) return;
  UsePen();
  ::LineTo(dc_, x, y);
}

void TCanvas::Rectangle(const RECT& r) {
  if (!dc_) return;
  UsePen();
  UseBrush();
  ::Rectangle(dc_, r.left, r.top, r.right, r.bottom);
}

void TCanvas::FillRect(const RECT& r) {
  if (!dc_ || brush_->Style() == TBrushStyle::bsClear) return;
  ::FillRect(dc_, &r, brush_->Handle());
}

void TCanvas::FrameRect(const RECT& r) {
  if (!dc_ || brush_->Style() == TBrushStyle::bsClear) return;
  ::FrameRect(dc_, &r, brush_->Handle());
}

void TCanvas::DrawFocusRect(const RECT& r) {
  if (dc_) ::DrawFocusRect(dc_, &r);
}

void TCanvas::TextOut(int x, int y, const String& text) {
  if (!dc_) return;
  UseFont();
  UseBrush();
  std::wstring w = Wide(text);
  ::TextOutW(dc_, x, y, w.c_str(), static_cast<int>(w.size()));
}

void TCanvas::TextRect(const RECT& r, int x, int y, const String& text) {
  if (!dc_) return;
  UseFont();
  UseBrush();
  std::wstring w = Wide(text);
  UINT options = ETO_CLIPPED | (brush_->Style() == TBrushStyle::bsClear ? 0 : ETO_OPAQUE);
  ExtTextOutW(dc_, x, y, options, &r, w.c_str(), static_cast<UINT>(w.size()), nullptr);
}

int TCanvas::DrawText(const String& text, RECT& r, UINT flags) {
  if (!dc_) return 0;
  UseFont();
  UseBrush();
  std::wstring w = Wide(text);
  return ::DrawTextW(dc_, w.c_str(), static_cast<int>(w.size()), &r, flags);
}

SIZE TCanvas::TextExtent(const String& text) {
  SIZE size{0, 0};
  if (!dc_) return size;
  UseFont();
  std::wstring w = Wide(text);
  GetTextExtentPoint32W(dc_, w.c_str(), static_cast<int>(w.size()), &size);
  return size;
}

void TCanvas::Draw(int x, int y, TBitmap& bitmap) {
  if (!dc_ || bitmap.Empty()) return;
  RECT r{x, y, x + static_cast<int>(bitmap.Width()), y + static_cast<int>(bitmap.Height())};
  bitmap.DrawTo(dc_, r);
}

void TCanvas::StretchDraw(const RECT& r, TBitmap& bitmap) {
  if (dc_ && !bitmap.Empty()) bitmap.DrawTo(dc_, r);
}

void TCanvas::SetPixel(int x, int y, TColor color) {
  if (dc_) ::SetPixel(dc_, x, y, ColorToRGB(color));
}

}  // namespace lbb::forms
