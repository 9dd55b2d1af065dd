// Drawing one menu item in the skin's look: composed off screen at the item's size on the
// popup window's own background (so the item is continuous with the window under it), the
// MenuItem element's normal or selected frame over it, then the glyph, check mark, caption
// and shortcut; copied to the menu in one transfer. Without a MenuItem image the plain look
// (Menu and Hilight colours) is drawn the same way.
#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/win/Handles.h"
#include "base/win/WideText.h"
#include "skin/data/MenuItemGeometry.h"
#include "skin/data/SkinScale.h"
#include "skin/data/imgutil.h"
#include "skin/forms/WinSkinMenuItem.h"
#include "skin/win/DibSurface.h"
#include "skin/win/SkinRects.h"

namespace lbb::skin {

namespace {

constexpr int kItemFrames = 5;
constexpr int kFrameNormal = 1;
constexpr int kFrameSeparator = 2;
constexpr int kFrameSelected = 4;

// The item layer's work surface (all menus are drawn on the UI thread, one item at a time).
TDibSurface& WorkSurface() {
  static TDibSurface surface;
  return surface;
}

COLORREF Scheme(const TSkinData* sd, int index, int sysIndex) {
  if (!sd) return GetSysColor(sysIndex);
  return sd->SchemeRGB(index);
}

COLORREF TextColour(const TSkinData* sd, const TMenuItemLook& look) {
  if (look.enabled) {
    return look.selected ? Scheme(sd, kShemeHilightText, COLOR_HIGHLIGHTTEXT)
                         : Scheme(sd, kShemeMenuText, COLOR_MENUTEXT);
  }
  if (sd && sd->Colors[kShemeButtonShadow] != sd->Colors[kShemeMenuText])
    return sd->SchemeRGB(kShemeButtonShadow);
  return GetSysColor(COLOR_BTNSHADOW);
}

// A checked item's image sits on a box dithered in button face and button highlight, with a
// sunken edge.
void DrawDitheredBox(HDC dc, RECT box) {
  static const WORD kPattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  lbb::BitmapHandle bits(CreateBitmap(8, 8, 1, 1, kPattern));
  lbb::BrushHandle brush(bits ? CreatePatternBrush(bits.get()) : nullptr);
  if (brush) {
    const COLORREF text = SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
    const COLORREF back = SetBkColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    FillRect(dc, &box, brush.get());
    SetTextColor(dc, text);
    SetBkColor(dc, back);
  }
  DrawEdge(dc, &box, BDR_SUNKENOUTER, BF_RECT);
}

// The platform's check mark at (x, y), its ink in the button-text colour, the rest left
// untouched.
void DrawCheckMark(HDC dc, int x, int y, int w, int h) {
  lbb::MemoryDcHandle mono(CreateCompatibleDC(dc));
  lbb::BitmapHandle mask(CreateBitmap(w, h, 1, 1, nullptr));
  lbb::BrushHandle ink(CreateSolidBrush(GetSysColor(COLOR_BTNTEXT)));
  if (!mono || !mask || !ink) return;
  lbb::SelectScope keep(mono.get(), mask.get());
  RECT r{0, 0, w, h};
  DrawFrameControl(mono.get(), &r, DFC_MENU, DFCS_MENUCHECK);
  const COLORREF text = SetTextColor(dc, RGB(0, 0, 0));
  const COLORREF back = SetBkColor(dc, RGB(255, 255, 255));
  lbb::SelectScope brush(dc, ink.get());
  // Where the mask is black (the mark) the brush, elsewhere the target: D ^ ((D ^ P) & S).
  constexpr DWORD kMaskedBrush = 0x00B8074A;
  BitBlt(dc, x, y, w, h, mono.get(), 0, 0, kMaskedBrush);
  SetTextColor(dc, text);
  SetBkColor(dc, back);
}

// Image `index` of `images` as pixels on the see-through colour, kept: the platform's image
// list draw is slow where it makes its masks on every call, and menus draw the same images
// on every selection change. An entry is made again when its list changed (handle or count).
const PixelBuffer* ImagePixels(forms::TCustomImageList& images, int index) {
  struct TKept {
    const forms::TCustomImageList* list;
    HIMAGELIST handle;
    int64_t count;
    int index;
    PixelBuffer img;
  };
  static std::vector<TKept> kept;
  HIMAGELIST handle = images.Handle();
  const int64_t count = images.Count();
  for (const TKept& k : kept)
    if (k.list == &images && k.handle == handle && k.count == count && k.index == index)
      return &k.img;
  forms::TBitmap bitmap;
  if (!images.GetBitmap(index, bitmap, lbb::clFuchsia)) return nullptr;
  constexpr size_t kMaxKept = 64;
  if (kept.size() >= kMaxKept) kept.erase(kept.begin());
  kept.push_back(TKept{&images, handle, count, index, PixelBuffer(bitmap.Pixels())});
  return &kept.back().img;
}

// An enabled image from the kept pixels; a disabled one dimmed by the image list itself.
void DrawImage(TDibSurface& buf, forms::TCustomImageList& images, int index, int x, int y,
               bool enabled) {
  const PixelBuffer* img = enabled ? ImagePixels(images, index) : nullptr;
  if (!img) {
    images.Draw(buf.Dc(), x, y, index, enabled);
    return;
  }
  TransparentBlit(buf.Pixels(), TRect{x, y, x + img->Width(), y + img->Height()}, *img);
}

void DrawGlyph(TDibSurface& buf, const TMenuItemLook& look, const TMenuItemLayout& layout,
               const TRect& item) {
  const bool hasImage =
      look.images && look.imageIndex >= 0 && look.imageIndex < look.images->Count();
  const RECT box = ToRect(layout.Glyph);
  HDC dc = buf.Dc();
  if (hasImage) {
    if (look.checked) DrawDitheredBox(dc, box);
    DrawImage(buf, *look.images, look.imageIndex, box.left, box.top, look.enabled);
  } else if (look.checked) {
    const int w = GetSystemMetrics(SM_CXMENUCHECK), h = GetSystemMetrics(SM_CYMENUCHECK);
    const TMenuPoint at = MenuCheckMarkAt(layout, item, w, h, look.rightToLeft);
    DrawCheckMark(dc, at.X, at.Y, w, h);
  }
}

// The caption's size in the menu font (single line, tabs expanded, "&" marking the
// accelerator); a caption that is empty or only "&" is measured as if it ended in a space.
// Menus redraw the same items on every selection change, so the sizes are kept (the menu
// font does not change while the program runs).
SIZE MeasureCaption(HDC dc, const std::wstring& text, bool bold) {
  static std::unordered_map<std::wstring, SIZE> sizes[2];
  auto& known = sizes[bold ? 1 : 0];
  if (auto found = known.find(text); found != known.end()) return found->second;
  std::wstring measured = text;
  if (measured.empty() || measured == L"&") measured += L' ';
  RECT calc{0, 0, 0, 0};
  DrawTextW(dc, measured.c_str(), static_cast<int>(measured.size()), &calc,
            DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT | DT_NOCLIP);
  constexpr size_t kKept = 256;
  if (known.size() >= kKept) known.clear();
  const SIZE size{calc.right, calc.bottom};
  known.emplace(text, size);
  return size;
}

void DrawCaption(HDC dc, const TSkinData* sd, const TMenuItemLook& look, const TRect& textBox,
                 const TRect& item) {
  lbb::SelectScope font(dc, MenuFont(look.isDefault));
  const int mode = SetBkMode(dc, TRANSPARENT);
  const COLORREF colour = SetTextColor(dc, TextColour(sd, look));
  std::wstring text = lbb::Wide(look.caption);
  const UINT flags = DT_SINGLELINE | DT_EXPANDTABS;
  const SIZE size = MeasureCaption(dc, text, look.isDefault);
  const bool rtl = look.rightToLeft;
  const TRect caption = MenuCaptionRect(textBox, size.cx, size.cy, rtl);
  RECT at = ToRect(caption);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &at,
            flags | (rtl ? DT_RIGHT | DT_RTLREADING : 0));
  if (const std::u16string cut =
          look.shortcutText.empty() ? forms::ShortCutToText(look.shortcut) : look.shortcutText;
      !cut.empty()) {
    const std::wstring shortcut = lbb::Wide(cut);
    RECT box = ToRect(MenuShortcutRect(item, caption, rtl, SkinDpi(sd)));
    DrawTextW(dc, shortcut.c_str(), static_cast<int>(shortcut.size()), &box,
              DT_SINGLELINE | (rtl ? DT_LEFT | DT_RTLREADING : DT_RIGHT));
  }
  SetTextColor(dc, colour);
  SetBkMode(dc, mode);
}

// The glyph, check mark, caption and shortcut over the item's background in (0, 0, w, h).
void DrawContent(TDibSurface& buf, const TSkinData* sd, const TMenuItemLook& look, int w, int h) {
  HDC dc = buf.Dc();
  const TRect item{0, 0, w, h};
  TMenuItemInput in;
  in.item = item;
  in.margin = HasItemImage(sd) ? sd->MenuItem->r.Left : 0;
  in.glyph = MenuGlyphSize(look.images != nullptr,
                           look.images ? static_cast<int>(look.images->Width()) : 0, look.checked);
  in.separator = look.IsLine();
  in.rightToLeft = look.rightToLeft;
  in.dpi = SkinDpi(sd);
  const TMenuItemLayout layout = MenuItemLayout(in);
  if (look.IsLine()) {
    RECT line = ToRect(MenuSeparatorLine(layout.Text, SkinDpi(sd)));
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  DrawGlyph(buf, look, layout, item);
  DrawCaption(dc, sd, look, layout.Text, item);
}

// The item's background: its part of the popup window's picture, else the Menu colour.
void DrawBackground(TDibSurface& buf, const TSkinData& sd, const RECT& r,
                    const TWinSkinPopMenu* popup) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  const TRect target{0, 0, w, h};
  if (popup && !popup->MenuBg.Empty()) {
    const POINT o = popup->ClientOrigin;
    StretchCopy(buf.Pixels(), target, popup->MenuBg.Pixels(),
                MenuBackgroundSource(ToSkin(r), o.x, o.y));
    return;
  }
  const Pixel menu = PixelOf(sd.SchemeRGB(kShemeMenu));
  PixelBuffer& px = buf.Pixels();
  for (int y = 0; y < h; ++y)
    std::fill_n(px.Row(y), w, menu);
}

void DrawSeparatorLine(PixelBuffer& dst, const TDataSkinObject& e, int w, int h) {
  const TRect cell = SkinFrameRect(e.Map, false, kItemFrames, kFrameSeparator);
  for (const TMenuPiece& p : MenuSeparatorPieces(cell, TRect{0, 0, w, h}, e.r.Left, e.r.Right))
    StretchCopy(dst, p.target, e.Map, p.source, true);
}

// The work surface at the item's size, or null when it cannot be made.
TDibSurface* Surface(const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return nullptr;
  TDibSurface& buf = WorkSurface();
  return buf.Reserve(w, h) ? &buf : nullptr;
}

}  // namespace

bool HasItemImage(const TSkinData* sd) {
  return sd && sd->MenuItem && !sd->MenuItem->Map.Empty();
}

HFONT MenuFont(bool bold) {
  static lbb::FontHandle fonts[2];
  lbb::FontHandle& font = fonts[bold ? 1 : 0];
  if (!font) {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) {
      if (bold) ncm.lfMenuFont.lfWeight = FW_BOLD;
      font.reset(CreateFontIndirectW(&ncm.lfMenuFont));
    }
  }
  return font ? font.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

TMenuItemLook LookOf(forms::TMenuItem& item, bool selected, forms::TMenu* fallback) {
  TMenuItemLook look;
  look.caption = item.Caption();
  look.shortcut = static_cast<forms::TShortCut>(item.ShortCut());
  look.checked = item.Checked();
  look.enabled = item.Enabled();
  look.isDefault = item.Default();
  look.selected = selected;
  look.imageIndex = static_cast<int>(item.ImageIndex());
  forms::TMenu* menu = item.GetParentMenu();
  if (!menu) menu = fallback;
  if (menu) {
    look.images = menu->Images();
    look.rightToLeft = menu->IsRightToLeft();
  }
  return look;
}

void DrawSkinnedItem(TSkinData& sd, HDC dc, const RECT& r, const TMenuItemLook& look,
                     const TWinSkinPopMenu* popup, bool skinSeparator) {
  TDibSurface* buf = Surface(r);
  if (!buf) return;
  const int w = r.right - r.left, h = r.bottom - r.top;
  DrawBackground(*buf, sd, r, popup);
  const TDataSkinObject& e = *sd.MenuItem;
  if (skinSeparator && look.IsLine()) {
    DrawSeparatorLine(buf->Pixels(), e, w, h);
  } else {
    DrawSkinImage(buf->Pixels(), TRect{0, 0, w, h}, e.Map, false, e.Tile != 1, e.trans != 0,
                  kItemFrames, look.selected ? kFrameSelected : kFrameNormal, e.r);
    GdiFlush();
    DrawContent(*buf, &sd, look, w, h);
  }
  buf->Present(dc, r.left, r.top, RECT{0, 0, w, h});
}

void DrawPlainItem(const TSkinData* sd, HDC dc, const RECT& r, const TMenuItemLook& look) {
  TDibSurface* buf = Surface(r);
  if (!buf) return;
  const int w = r.right - r.left, h = r.bottom - r.top;
  const COLORREF fill = look.selected && !look.IsLine() ? Scheme(sd, kShemeHilight, COLOR_HIGHLIGHT)
                                                        : Scheme(sd, kShemeMenu, COLOR_MENU);
  lbb::BrushHandle brush(CreateSolidBrush(fill));
  RECT all{0, 0, w, h};
  if (brush) FillRect(buf->Dc(), &all, brush.get());
  DrawContent(*buf, sd, look, w, h);
  buf->Present(dc, r.left, r.top, all);
}

}  // namespace lbb::skin
