// preview: a PNG sheet of a skin. At the top an active and an inactive sample window drawn from
// the skin's elements with the skin drawing primitives (frame, caption and its buttons, menu bar,
// push buttons in their five states, check boxes, radio buttons, edit, combo box, up-down,
// progress, track bar, tabs, header, scroll bars, status bar) and a popup menu; below, every
// element with all its cells, enlarged where small, colour-keyed pixels shown as a checkerboard.
// With --dpi N every element (images, margins, caption-button places) is first scaled to N DPI
// as the skin engine scales a skin (the @2x entries aside: `hidpi` lists those).
#include <algorithm>
#include <filesystem>
#include <string>

#include "base/PngFile.h"
#include "skin/data/SkinScale.h"
#include "skin/data/imgutil.h"
#include "tools/skintool/Commands.h"
#include "tools/skintool/PreviewElements.h"
#include "tools/skintool/SkinLoad.h"

namespace skintool {

namespace {

constexpr int kSheetWidth = 1240;
constexpr Pixel kSheetBack = 0xFFFFFF;
constexpr Pixel kInk = 0x303840;
constexpr int kWinW = 560, kWinH = 400;

struct Painter {
  PixelBuffer& px;
  const SkinView& v;

  // Cell `k` of element `key` nine-part into rc, keyed as the element says.
  bool Draw(const std::string& key, int k, Rect rc) const {
    const Element* e = v.Find(key);
    if (!e) return false;
    lbb::skin::DrawSkinImage(px, {rc.l, rc.t, rc.r, rc.b}, e->img, e->columns, false, e->keyed,
                             e->cells, std::min(k, e->cells),
                             {e->margins.l, e->margins.t, e->margins.r, e->margins.b});
    return true;
  }
  // Cell `k` unscaled, centred in rc, keyed.
  void Glyph(const std::string& key, int k, Rect rc) const {
    const Element* e = v.Find(key);
    if (!e) return;
    lbb::skin::DrawSkinGlyph(px, {rc.l, rc.t, rc.r, rc.b}, e->img, true, e->cells,
                             std::min(k, e->cells));
  }
  void Text(int x, int y, const std::string& s, const char* colour, Pixel def) const {
    DrawLabel(px, x, y, s, v.Colour(colour, def), 1);
  }
  Pixel Face() const { return v.Colour("ButtonFace", 0xF0F0F0); }
};

int PieceSize(const SkinView& v, const char* key, bool height, int fallback) {
  const Element* e = v.Find(key);
  if (!e) return fallback;
  return height ? e->img.Height() / e->cells : e->img.Width() / e->cells;
}

void DrawScrollbars(const Painter& p, Rect box) {
  const int t = 17;
  const Rect vb{box.r - t, box.t, box.r, box.b - t}, hb{box.l, box.b - t, box.r - t, box.b};
  p.Draw("VertScroll", 1, {vb.l, vb.t + t, vb.r, vb.b - t});
  p.Draw("Scrollbar", 9, {vb.l, vb.t, vb.r, vb.t + t});
  p.Draw("Scrollbar", 13, {vb.l, vb.b - t, vb.r, vb.b});
  const Rect thumb{vb.l, vb.t + t + 10, vb.r, vb.t + t + 50};
  p.Draw("VertScrollThumb", 1, thumb);
  p.Draw("Scrollbar", 20,
         {thumb.l, (thumb.t + thumb.b - t) / 2, thumb.r, (thumb.t + thumb.b + t) / 2});
  p.Draw("HorzScroll", 1, {hb.l + t, hb.t, hb.r - t, hb.b});
  p.Draw("Scrollbar", 4, {hb.l, hb.t, hb.l + t, hb.b});
  p.Draw("Scrollbar", 6, {hb.r - t, hb.t, hb.r, hb.b});
  const Rect th{hb.l + t + 40, hb.t, hb.l + t + 110, hb.b};
  p.Draw("HorzScrollThumb", 3, th);
  p.Draw("Scrollbar", 19, {(th.l + th.r - t) / 2, th.t, (th.l + th.r + t) / 2, th.b});
  FillRect(p.px, {box.r - t, box.b - t, box.r, box.b}, p.Face());
}

void DrawListBox(const Painter& p, Rect box) {
  FillRect(p.px, box, 0xFFFFFF);
  FrameRect(p.px, box, p.v.Colour("ButtonShadow", 0xA0A0A0));
  const Rect in{box.l + 1, box.t + 1, box.r - 1, box.b - 1};
  const char* heads[] = {"TITLE", "DATE", "SIZE"};
  for (int i = 0; i < 3; ++i) {
    const Rect h{in.l + i * 70, in.t, in.l + (i + 1) * 70, in.t + 22};
    p.Draw("Headerbar", i == 1 ? 4 : 1, h);
    p.Text(h.l + 6, h.t + 8, heads[i], "ButtonText", kInk);
  }
  for (int row = 0; row < 5; ++row)
    p.Text(in.l + 6, in.t + 32 + row * 14, "ARTICLE " + std::to_string(row + 1), "WindowText",
           kInk);
  DrawScrollbars(p, {in.l, in.t + 22, in.r, in.b});
}

void DrawControls(const Painter& p, Rect c) {
  const char* names[] = {"NORMAL", "HOT", "PRESSED", "FOCUSED", "DISABLED"};
  const int frames[] = {1, 4, 2, 5, 3};
  for (int i = 0; i < 5; ++i) {
    const Rect b{c.l + i * 86, c.t, c.l + i * 86 + 80, c.t + 25};
    p.Draw("Buttons", frames[i], b);
    p.Text(b.l + (80 - LabelWidth(names[i], 1)) / 2, b.t + 10, names[i],
           i == 4 ? "ButtonShadow" : "ButtonText", kInk);
  }
  const Element* check = p.v.Find("CheckButton");
  const int checkCells[] = {1, check && check->cells == 12 ? 5 : 2,
                            check && check->cells == 12 ? 9 : 4};
  for (int i = 0; i < 3; ++i) {
    p.Glyph("CheckButton", checkCells[i], {c.l + i * 70, c.t + 34, c.l + i * 70 + 16, c.t + 50});
    p.Text(c.l + i * 70 + 20, c.t + 40,
           i == 0   ? "OFF"
           : i == 1 ? "ON"
                    : "MIXED",
           "ButtonText", kInk);
  }
  for (int i = 0; i < 2; ++i) {
    p.Glyph("RadioButton", i + 1, {c.l + 220 + i * 70, c.t + 34, c.l + 236 + i * 70, c.t + 50});
    p.Text(c.l + 240 + i * 70, c.t + 40, i == 0 ? "ONE" : "TWO", "ButtonText", kInk);
  }
  // Edit box with the skinned edit border, combo box, up-down.
  const Rect edit{c.l, c.t + 60, c.l + 150, c.t + 82};
  FillRect(p.px, edit, 0xFFFFFF);
  FrameRect(p.px, edit, p.v.Colour("ButtonShadow", 0xA0A0A0));
  p.Text(edit.l + 6, edit.t + 9, "ORLEND", "WindowText", kInk);
  const Rect combo{c.l + 160, c.t + 60, c.l + 310, c.t + 82};
  FillRect(p.px, combo, 0xFFFFFF);
  FrameRect(p.px, combo, p.v.Colour("ButtonShadow", 0xA0A0A0));
  p.Draw("ComboButton", 1, {combo.r - 18, combo.t + 1, combo.r - 1, combo.b - 1});
  p.Text(combo.l + 6, combo.t + 9, "ALBUM", "WindowText", kInk);
  const Rect ud{c.l + 320, c.t + 60, c.l + 337, c.t + 82};
  p.Draw("UpDown.Vert", 1, {ud.l, ud.t, ud.r, ud.t + 11});
  p.Draw("UpDown.Vert", 5, {ud.l, ud.t + 11, ud.r, ud.b});
  p.Glyph("UpDown.Vert.Glyph", 1, {ud.l, ud.t, ud.r, ud.t + 11});
  p.Glyph("UpDown.Vert.Glyph", 5, {ud.l, ud.t + 11, ud.r, ud.b});
  // Progress, track bar.
  const Rect prog{c.l, c.t + 92, c.l + 200, c.t + 108};
  if (p.Draw("Progress", 1, prog)) p.Draw("Progress", 2, {prog.l, prog.t, prog.l + 124, prog.b});
  FillRect(p.px, {c.l + 220, c.t + 99, c.l + 400, c.t + 103}, p.v.Colour("ButtonShadow", 0xA0A0A0));
  p.Glyph("Trackbar.ThumbHorz", 1, {c.l + 280, c.t + 86, c.l + 300, c.t + 116});
  p.Glyph("Trackbar.ThumbDown", 4, {c.l + 340, c.t + 86, c.l + 360, c.t + 116});
}

void DrawTabs(const Painter& p, Rect c) {
  const Rect pane{c.l, c.t + 22, c.l + 250, c.b};
  p.Draw("Tab.Pane", 1, pane);
  const char* tabs[] = {"BLOG", "ALBUM", "LOG"};
  const int frames[] = {1, 2, 4};
  for (int i = 0; i < 3; ++i) {
    const Rect t{c.l + 2 + i * 64, c.t + (frames[i] == 2 ? 0 : 2), c.l + 2 + i * 64 + 62, c.t + 24};
    p.Draw("Tabs", frames[i], t);
    p.Text(t.l + 14, t.t + 9, tabs[i], "ButtonText", kInk);
  }
  p.Text(pane.l + 10, pane.t + 14, "TAB PAGE", "ButtonText", kInk);
}

void DrawCaption(const Painter& p, int w, int top, int bl, int br, bool active) {
  const int frame = active ? 1 : 2;
  p.Draw("Top", frame, {bl, 0, w - br, top});
  const std::string title = p.v.name.empty() ? "SAMPLE WINDOW" : p.v.name + " SAMPLE WINDOW";
  const int shift = p.v.ini.ReadInteger(u"Personality", u"TextShift", 0);
  const int align = p.v.ini.ReadInteger(u"Personality", u"TextAlignment", 0);
  const int tw = LabelWidth(title, 1), cw = w - bl - br;
  const int x = bl + (align == 1 ? (cw - tw) / 2 : align == 2 ? cw - tw - shift : shift + 22);
  p.Text(x, (top - kLabelHeight) / 2, title, active ? "TitleTextActive" : "TitleTextNoActive",
         active ? 0xFFFFFF : 0x404040);
  for (const CaptionButton& b : p.v.buttons) {
    const Element& e = b.element;
    if (e.img.Empty() || b.visibility == 1 || b.visibility == 10 ||
        (b.visibility == 3 && !active) || (b.visibility == 4 && active))
      continue;
    const Rect cell = e.Cell(1);
    const int bx = b.align == 1 ? w - b.x : b.align == 0 ? b.x : 0;
    const int k = (!active && e.cells >= 4) ? 4 : 1;
    CopyScaled(p.px, {bx, b.y, bx + cell.W(), b.y + cell.H()}, e.img, e.Cell(k), true);
  }
}

// One sample window, drawn in its own buffer and copied to the sheet colour-keyed, so shaped
// corners show the sheet behind them.
void DrawWindow(PixelBuffer& sheet, const SkinView& v, int x0, int y0, bool active) {
  PixelBuffer win(kWinW, kWinH);
  const Painter p{win, v};
  const int bl = PieceSize(v, "Left", false, 4), br = PieceSize(v, "Right", false, 4);
  const int top = PieceSize(v, "Top", true, 24), bb = PieceSize(v, "Bottom", true, 4);
  FillRect(win, {0, 0, kWinW, kWinH}, p.Face());
  const int frame = active ? 1 : 2;
  p.Draw("Left", frame, {0, 0, bl, kWinH});
  p.Draw("Right", frame, {kWinW - br, 0, kWinW, kWinH});
  p.Draw("Bottom", frame, {bl, kWinH - bb, kWinW - br, kWinH});
  DrawCaption(p, kWinW, top, bl, br, active);
  const Rect band{bl, top, kWinW - br, top + 20};
  if (!p.Draw("MenuBar", frame, band)) FillRect(win, band, v.Colour("Menubar", p.Face()));
  const char* menus[] = {"FILE", "EDIT", "VIEW", "HELP"};
  for (int i = 0; i < 4; ++i)
    p.Text(band.l + 10 + i * 44, band.t + 8, menus[i], "MenuBarText", kInk);
  const Rect client{bl + 12, band.b + 12, kWinW - br - 12, kWinH - bb - 24};
  DrawControls(p, client);
  DrawTabs(p, {client.l, client.t + 126, client.l + 250, client.b - 6});
  DrawListBox(p, {client.l + 262, client.t + 126, client.r, client.b - 6});
  const Rect status{bl, kWinH - bb - 22, kWinW - br, kWinH - bb};
  if (p.Draw("StatusBarEdges", 1, status)) {
    p.Draw("StatusBarEdges", 2, {status.l + 2, status.t + 2, status.l + 200, status.b - 2});
    p.Draw("StatusBarEdges", 3, {status.r - 18, status.t + 2, status.r - 2, status.b - 2});
  }
  p.Text(status.l + 8, status.t + 9, active ? "READY" : "INACTIVE", "ButtonText", kInk);
  CopyScaled(sheet, {x0, y0, x0 + kWinW, y0 + kWinH}, win, {0, 0, kWinW, kWinH}, true);
}

void DrawPopupMenu(PixelBuffer& sheet, const SkinView& v, int x0, int y0) {
  const Painter p{sheet, v};
  const Rect menu{x0, y0, x0 + 100, y0 + 100};
  if (!p.Draw("MenuBackground", 1, menu)) FillRect(sheet, menu, v.Colour("Menu", 0xFFFFFF));
  const char* items[] = {"OPEN", "SAVE", "-", "EXIT"};
  int y = menu.t + 3;
  for (int i = 0; i < 4; ++i) {
    const bool sep = items[i][0] == '-';
    const int h = sep ? 9 : 22;
    const Rect r{menu.l + 3, y, menu.r - 3, y + h};
    const Element* e = v.Find("MenuItem");
    if (e && sep) {
      const Rect cell = e->Cell(2);
      const int rows = std::min(h, cell.H());
      DrawNine(sheet, r, e->img, {cell.l, cell.b - rows, cell.r, cell.b},
               {e->margins.l, 0, e->margins.r, 0}, true);
    } else if (e) {
      p.Draw("MenuItem", i == 1 ? 4 : 1, r);
    }
    if (!sep) p.Text(r.l + 26, r.t + 9, items[i], i == 1 ? "HilightText" : "MenuText", kInk);
    y += h;
  }
}

// One element: its label, then its cells side by side (a gap between cells), enlarged up to
// 4 times while it fits; returns the height used.
int DrawElementRow(PixelBuffer& sheet, const Element& e, const int top) {
  int y = top;
  const std::string label =
      e.label + " (" + std::to_string(e.cells) + (e.cells == 1 ? " CELL" : " CELLS") + ", " +
      std::to_string(e.img.Width()) + "X" + std::to_string(e.img.Height()) + ")";
  DrawLabel(sheet, 16, y, label, kInk, 2);
  y += 16;
  const Rect c1 = e.Cell(1);
  int zoom = std::clamp(48 / std::max(1, std::min(c1.W(), c1.H())), 1, 4);
  auto rowWidth = [&](int z) { return e.cells * (c1.W() * z + 6); };
  while (zoom > 1 && rowWidth(zoom) > kSheetWidth - 32)
    --zoom;
  int x = 16, rowTop = y, rowH = c1.H() * zoom;
  for (int k = 1; k <= e.cells; ++k) {
    const Rect c = e.Cell(k);
    if (x + c.W() * zoom > kSheetWidth - 16) x = 16, rowTop += rowH + 6;
    const Rect to{x, rowTop, x + c.W() * zoom, rowTop + c.H() * zoom};
    FillChecker(sheet, to);
    CopyScaled(sheet, to, e.img, c, true);
    DrawLabel(sheet, x, to.b + 3, std::to_string(k), 0x8090A0, 1);
    x += c.W() * zoom + 6;
  }
  return rowTop + rowH + 14 - top;
}

}  // namespace

namespace {

// The DPI of `preview SKIN OUT.png [--dpi N]`: 96 without the option.
int PreviewDpi(std::span<const std::string> args) {
  if (args.size() == 2) return lbb::skin::kBaseDpi;
  if (args.size() != 4 || args[2] != "--dpi")
    throw ToolError(kExitUsage, "expected SKIN OUT.png [--dpi N]");
  size_t used = 0;
  int dpi = 0;
  try {
    dpi = std::stoi(args[3], &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != args[3].size() || dpi < lbb::skin::kBaseDpi || dpi > lbb::skin::kMaxSkinDpi)
    throw ToolError(kExitUsage,
                    "--dpi wants a whole number from 96 to 960, not \"" + args[3] + "\"");
  return dpi;
}

}  // namespace

int PreviewCommand(std::span<const std::string> args) {
  const int dpi = PreviewDpi(args);
  const LoadedSkin skin = LoadSkin(args[0]);
  SkinView view = ReadSkinView(*skin.reader);
  if (dpi != lbb::skin::kBaseDpi) ScaleView(view, dpi);
  int height = 40 + kWinH + 40;
  PixelBuffer probe(kSheetWidth, 1);
  for (const std::string& k : view.order)
    height += DrawElementRow(probe, view.elements.at(k), -100000) + 8;  // measure only
  PixelBuffer sheet(kSheetWidth, height);
  sheet.Fill(kSheetBack);
  DrawLabel(sheet, 16, 12,
            "SKIN " + view.name + " - VERSION " + std::to_string(skin.reader->header.Version) +
                " - " + std::to_string(skin.reader->Num) + " ENTRIES - " + std::to_string(dpi) +
                " DPI",
            kInk, 2);
  DrawWindow(sheet, view, 16, 36, true);
  DrawWindow(sheet, view, 16 + kWinW + 12, 36, false);
  DrawPopupMenu(sheet, view, 16 + PieceSize(view, "Left", false, 4) + 6,
                36 + PieceSize(view, "Top", true, 24) + 20);
  int y = 36 + kWinH + 24;
  for (const std::string& k : view.order)
    y += DrawElementRow(sheet, view.elements.at(k), y) + 8;
  const std::string png = lbb::EncodePng(sheet);
  lbb::skin::TMemoryStream out(std::vector<uint8_t>(png.begin(), png.end()));
  out.SaveToFile(std::filesystem::path(args[1]));
  return kExitOk;
}

}  // namespace skintool
