// Menu commands and owner-drawing: the events of an item, or the framework's own look (image
// list glyph, check mark, caption with its accelerator, right-aligned shortcut), and the
// text forms of shortcuts.
#include <algorithm>
#include <cwctype>

#include "base/Text.h"
#include "forms/Application.h"
#include "forms/ImgList.h"
#include "forms/Menus.h"
#include "forms/WinText.h"

namespace lbb::forms {
namespace {

struct KeyName {
  WORD key;
  const char16_t* name;
};
constexpr KeyName kKeyNames[] = {
    {VK_BACK, u"BKSP"},   {VK_TAB, u"TAB"},    {VK_RETURN, u"ENTER"}, {VK_ESCAPE, u"ESC"},
    {VK_SPACE, u"SPACE"}, {VK_PRIOR, u"PGUP"}, {VK_NEXT, u"PGDN"},    {VK_END, u"END"},
    {VK_HOME, u"HOME"},   {VK_LEFT, u"LEFT"},  {VK_UP, u"UP"},        {VK_RIGHT, u"RIGHT"},
    {VK_DOWN, u"DOWN"},   {VK_INSERT, u"INS"}, {VK_DELETE, u"DEL"},
};

String KeyText(WORD key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return String(1, char16_t(key));
  if (key >= VK_F1 && key <= VK_F24) {
    std::string n = "F" + std::to_string(key - VK_F1 + 1);
    return String(n.begin(), n.end());
  }
  for (const KeyName& k : kKeyNames) {
    if (k.key == key) return k.name;
  }
  return {};
}

// The menu font of the system.
void AssignMenuFont(TFont& font) {
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof ncm;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) return;
  FontHandle menuFont(CreateFontIndirectW(&ncm.lfMenuFont));
  font.AssignHandle(menuFont.get());
}

}  // namespace

String ShortCutToText(TShortCut shortcut) {
  String key = KeyText(static_cast<WORD>(shortcut & 0xFF));
  if (key.empty()) return {};
  String text;
  if (shortcut & scShift) text += u"SHIFT+";
  if (shortcut & scCtrl) text += u"CTRL+";
  if (shortcut & scAlt) text += u"ALT+";
  return text + key;
}

TShortCut TextToShortCut(std::u16string_view text) {
  String rest = UpperAscii(text);
  TShortCut mods = 0;
  for (;;) {
    if (rest.starts_with(u"SHIFT+")) {
      mods |= scShift;
      rest.erase(0, 6);
    } else if (rest.starts_with(u"CTRL+")) {
      mods |= scCtrl;
      rest.erase(0, 5);
    } else if (rest.starts_with(u"ALT+")) {
      mods |= scAlt;
      rest.erase(0, 4);
    } else {
      break;
    }
  }
  for (WORD key = 1; key < 0xFF; ++key) {
    if (!rest.empty() && KeyText(key) == rest) return static_cast<TShortCut>(mods | key);
  }
  return 0;
}

namespace {
// The box of an item's glyph: the image list's width, at least 16 pixels at 96 per inch.
int GlyphBox(const TImageList* images) {
  const int least = ScreenPixels(16);
  return images ? std::max(static_cast<int>(images->Width()), least) : least;
}
}  // namespace

void TMenuItem::MeasureItem(TCanvas* canvas, int& width, int& height) {
  TMenu* menu = GetParentMenu();
  TImageList* images = menu ? menu->Images() : nullptr;
  int glyph = GlyphBox(images);
  if (IsLine()) {
    width = ScreenPixels(10);
    height = ScreenPixels(8);
  } else {
    SIZE text = canvas->TextExtent(caption_.empty() ? u" " : caption_);
    width = glyph + ScreenPixels(8) + text.cx + ScreenPixels(10);
    if (shortcut_) width += ScreenPixels(20) + canvas->TextWidth(ShortCutToText(shortcut_));
    height = std::max<int>(text.cy + ScreenPixels(6),
                           images ? static_cast<int>(images->Height()) + 4 : 0);
    height = std::max(height, glyph + 2);
  }
  if (OnMeasureItem) OnMeasureItem(this, canvas, width, height);
}

void TMenuItem::DrawItem(TCanvas* canvas, RECT r, bool selected) {
  if (OnDrawItem) {
    OnDrawItem(this, canvas, r, selected);
    return;
  }
  TMenu* menu = GetParentMenu();
  TImageList* images = menu ? menu->Images() : nullptr;
  canvas->Brush()->SetColor(selected && !IsLine() ? clHighlight : clMenu);
  canvas->FillRect(r);
  if (IsLine()) {
    RECT line{r.left + 2, (r.top + r.bottom) / 2 - 1, r.right - 2, (r.top + r.bottom) / 2 + 1};
    DrawEdge(canvas->Handle(), &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  int glyph = GlyphBox(images);
  RECT box{r.left + 2, r.top + (r.bottom - r.top - glyph) / 2, r.left + 2 + glyph, 0};
  box.bottom = box.top + glyph;
  if (images && imageIndex_ >= 0 && imageIndex_ < images->Count()) {
    if (checked_) DrawEdge(canvas->Handle(), &box, BDR_SUNKENOUTER, BF_RECT);
    images->Draw(canvas, box.left, box.top, static_cast<int>(imageIndex_), enabled_);
  } else if (checked_) {
    DrawFrameControl(canvas->Handle(), &box, DFC_MENU, DFCS_MENUCHECK | DFCS_TRANSPARENT);
  }
  canvas->Brush()->SetStyle(TBrushStyle::bsClear);
  canvas->Font()->SetStyle(default_ ? fsBold : 0);
  canvas->Font()->SetColor(!enabled_ ? clGrayText : selected ? clHighlightText : clMenuText);
  RECT text{box.right + ScreenPixels(6), r.top, r.right - ScreenPixels(10), r.bottom};
  canvas->DrawText(caption_, text, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS);
  if (shortcut_) {
    canvas->DrawText(ShortCutToText(shortcut_), text, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
  }
  canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
}

bool TMenu::DispatchMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_COMMAND: {
      if (HIWORD(m.WParam) != 0 || m.LParam != 0) return false;
      TMenuItem* item = FindItem(LOWORD(m.WParam));
      if (!item) return false;
      item->Click();
      m.Result = 0;
      return true;
    }
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
      TMenuItem* item = mis->CtlType == ODT_MENU ? FindItem(mis->itemID) : nullptr;
      if (!item) return false;
      WindowDc screen(nullptr);
      TCanvas canvas;
      CanvasScope scope(canvas, screen.get());
      AssignMenuFont(*canvas.Font());
      int w = static_cast<int>(mis->itemWidth), h = static_cast<int>(mis->itemHeight);
      item->MeasureItem(&canvas, w, h);
      mis->itemWidth = static_cast<UINT>(std::max(w, 0));
      mis->itemHeight = static_cast<UINT>(std::max(h, 0));
      m.Result = 1;
      return true;
    }
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
      TMenuItem* item = dis->CtlType == ODT_MENU ? FindItem(dis->itemID) : nullptr;
      if (!item) return false;
      SavedDc saved(dis->hDC);
      TCanvas canvas;
      CanvasScope scope(canvas, dis->hDC);
      AssignMenuFont(*canvas.Font());
      item->DrawItem(&canvas, dis->rcItem, (dis->itemState & ODS_SELECTED) != 0);
      m.Result = 1;
      return true;
    }
    default:
      return false;
  }
}

}  // namespace lbb::forms
