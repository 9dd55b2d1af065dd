// The skinned frame of the form skinner: border widths and caption buttons from the skin, the
// client area under the skin's borders, painting the borders and the caption bar, hit tests
// and activation. Caption-button behaviour is in WinSkinFrameButtons.cpp, the system menu in
// WinSkinSysMenu.cpp, the window region in WinSkinRegion.cpp.
#include <windowsx.h>

#include <algorithm>
#include <optional>

#include "skin/controls/WinSubClass.h"
#include "skin/data/imgutil.h"
#include "skin/forms/FormManager.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinFormImpl.h"
#include "skin/forms/WinSkinMenuBar.h"
#include "skin/win/SkinRects.h"

namespace lbb::skin {

namespace {

// DrawText flags of the title: single line, no prefix, end ellipsis; mirrored titles are also
// right-aligned and read right to left.
constexpr UINT kTitleFlags = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
constexpr UINT kTitleBidiFlags = kTitleFlags | DT_RIGHT | DT_RTLREADING;
constexpr UINT kTitleMeasureFlags = DT_NOPREFIX | DT_CALCRECT | DT_NOCLIP;
// The longest title read from a window that is not a wide-character window.
constexpr int kAnsiTitleMax = 1000;
// The most a title is read to (a caption shows far less).
constexpr size_t kTitleReadMax = 1 << 16;

// The window's title as the window keeps it, read without a message (a message to a skinned
// window runs its whole dispatch, and the caption is painted often). A window that is not a
// wide-character window gives at most 1000 characters.
std::wstring ReadTitle(HWND hwnd, bool unicode) {
  std::wstring text(unicode ? 512 : kAnsiTitleMax + 1, L'\0');
  for (;;) {
    const int n = InternalGetWindowText(hwnd, text.data(), static_cast<int>(text.size()));
    if (n < 0) return {};
    if (!unicode || static_cast<size_t>(n) + 1 < text.size() || text.size() >= kTitleReadMax) {
      text.resize(static_cast<size_t>(std::min(n, unicode ? n : kAnsiTitleMax)));
      return text;
    }
    text.resize(text.size() * 2);  // it may have been cut: read again with more room
  }
}

}  // namespace

// ---- border widths and caption buttons

void TWinSkinForm::InitSkinData() {
  if (!fsd || fsd->Empty) return;
  auto piece = [&](int side) {
    const auto& b = fsd->border[static_cast<size_t>(side)];
    if (!b) return TBorderPiece{};
    return TBorderPiece{b->Map.Width(), b->Map.Height(), b->frame};
  };
  const bool none = FormBorder == TSkinFormBorder::sbsNone;
  const TFrameWidths w = FrameWidthsOf(piece(kBorderLeft), piece(kBorderRight), piece(kBorderTop),
                                       piece(kBorderBottom), none);
  bw = RECT{w.Left, w.Top, w.Right, w.Bottom};
  if (none) MenuHeight = 0;
  DeleteSysbtn();
  BtnCount = static_cast<int>(fsd->SysBtn.size());
  for (const auto& element : fsd->SysBtn) {
    if (!element) continue;
    SysBtn.push_back(std::make_unique<TWinSysButton>(this, fsd, element.get()));
    if (element->Action != 3 && element->Action != 11) continue;
    // The window-icon button shows the window's icon when the skin has no picture for it.
    MakeIconBitmap();
    if (element->Map.Empty()) element->Map = IconBmp->Pixels();
    if (fsd->SysIcon.Empty()) fsd->SysIcon.Assign(*IconBmp);
    element->frame = 1;
  }
}

void TWinSkinForm::DeleteSysbtn() {
  // A button the hover timer holds is forgotten with the others, never touched again.
  for (const auto& b : SysBtn)
    if (ActiveBtn == b.get()) ActiveBtn = nullptr;
  SysBtn.clear();
  BtnCount = 0;
  RightBtn = 0;
}

// ---- the client area

void TWinSkinForm::OnNcCalcSize(forms::TMessage& m) {
  auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam);
  // The new window rectangle, before the previous procedure turns it into its client area,
  // and where the client area lay in the old one.
  const RECT window = (m.WParam && p) ? p->rgrc[0] : RECT{};
  const RECT oldWindow = (m.WParam && p) ? p->rgrc[1] : RECT{};
  const RECT oldClient = (m.WParam && p) ? p->rgrc[2] : RECT{};
  CallDefault(m);
  if (m.WParam == 0 || !p) {
    m.Result = 0;
    return;
  }
  const bool mdiChildNotNormal =
      FormStyle == TSkinFormStyle::sfsMDIChild && Windowstate != TSkinWindowState::swsNormal;
  if (mdiChildNotNormal || FormBorder == TSkinFormBorder::sbsNone) {
    p->rgrc[1] = p->rgrc[0];
    m.Result = WVR_REDRAW;
    return;
  }
  // The window rectangle (rather than the WINDOWPOS) gives the new position also when the
  // move or size flags left the WINDOWPOS fields unset.
  const TRect client = ClientRectOf(window.left, window.top, window.right - window.left,
                                    window.bottom - window.top, Widths(), MenuHeight);
  const RECT c{client.Left, client.Top, std::max(client.Left, client.Right),
               std::max(client.Top, client.Bottom)};
  p->rgrc[0] = c;
  p->rgrc[1] = c;
  // The whole window is redrawn when the client area moved inside it (a new frame, a menu band
  // that came or went). Otherwise the client area keeps what it shows, as under the platform's
  // own frame: redrawing every control at every step of a resize would make resizing several
  // times slower, and the frame is repainted by its own WM_NCPAINT anyway.
  const bool moved = c.left - window.left != oldClient.left - oldWindow.left ||
                     c.top - window.top != oldClient.top - oldWindow.top;
  m.Result = moved ? WVR_REDRAW : 0;
}

// ---- painting

void TWinSkinForm::OnNcPaint(forms::TMessage& m) {
  SetSysMenuStyle(true);
  m.Result = 0;
  if (fsd && !fsd->MenuMsg) return;
  const bool maxChild =
      FormStyle == TSkinFormStyle::sfsMDIChild && Windowstate == TSkinWindowState::swsMax;
  if (maxChild || FormBorder == TSkinFormBorder::sbsNone) {
    CallDefault(m);
    return;
  }
  PaintFrame();
}

// The platform draws caption buttons and answers their hit tests only for windows with the
// system-menu style: while the skin paints the caption the style is taken away (the skinned
// caption buttons and system menu stand in for it) and given back afterwards.
void TWinSkinForm::SetSysMenuStyle(bool strip) {
  if (FormIcons & sbicaption) return;
  if (!Hwnd || !IsWindow(Hwnd)) return;
  auto style = static_cast<DWORD>(GetWindowLongW(Hwnd, GWL_STYLE));
  const DWORD before = style;
  if (strip)
    style &= ~WS_SYSMENU;
  else if (hsysmenu)
    style |= WS_SYSMENU;
  if (style != before) SetWindowLongW(Hwnd, GWL_STYLE, static_cast<LONG>(style));
  dwstyle = style;
}

void TWinSkinForm::PaintFrame(HDC dc) {
  if (!CaptionBuf || !fsd || fsd->Empty) return;
  if (Skinstate != kSkinIdle && Skinstate != kSkinChanging) return;
  if (FormBorder == TSkinFormBorder::sbsNone) return;
  if (FormStyle == TSkinFormStyle::sfsMDIChild && Windowstate == TSkinWindowState::swsMax) return;
  if (!Hwnd || !IsWindow(Hwnd)) return;
  std::optional<lbb::WindowDc> own;
  if (!dc) {
    own.emplace(Hwnd, true);
    dc = own->get();
  }
  if (dc) {
    try {
      PaintFrameOn(dc);
    } catch (...) {
      // A frame that failed half-way is painted whole by the next WM_NCPAINT: nothing here
      // remembers the failure.
    }
  }
  ActiveBtn = nullptr;
}

void TWinSkinForm::PaintFrameOn(HDC dc) {
  GetWindowRect(Hwnd, &wTr);
  fwidth = wTr.right - wTr.left;
  fheight = wTr.bottom - wTr.top;
  const int W = fwidth, H = fheight;
  if (Windowstate == TSkinWindowState::swsMin || IsIconic(Hwnd)) {
    PaintCaption(dc);
    return;
  }
  DrawBorder(kBorderLeft, RECT{0, 0, bw.left, H}, dc);
  DrawBorder(kBorderRight, RECT{W - bw.right, 0, W, H}, dc);
  DrawBorder(kBorderBottom, RECT{bw.left, H - bw.bottom, W - bw.right, H}, dc);
  PaintCaption(dc);
  PaintMenuBand(dc);
}

void TWinSkinForm::PaintMenuBand(HDC dc) {
  if (MenuHeight <= 0) return;
  const RECT band{bw.left, bw.top, fwidth - bw.right, bw.top + MenuHeight};
  if (menu) {
    menu->DrawMenu(dc, band);
    return;
  }
  // A band without a bar (a maximised MDI child's room for the frame's caption height).
  if (fsd->BGBrush) FillRect(dc, &band, fsd->BGBrush.get());
}

void TWinSkinForm::DrawBorderPixels(int side, const TRect& r, PixelBuffer& dst) {
  if (r.Inverted() || side < 0 || side > kBorderBottom) return;
  const auto& piece = fsd->border[static_cast<size_t>(side)];
  if (!piece || piece->Map.Empty()) return;
  const int frames = std::max(1, piece->frame);
  const int index = (FWindowActive || frames == 1) ? 1 : 2;
  const bool stacked = side == kBorderTop || side == kBorderBottom;
  DrawSkinImage(dst, r, piece->Map, stacked, piece->Tile != 1, false, frames, index, piece->r);
}

void TWinSkinForm::DrawBorder(int side, const RECT& r, HDC dc) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0 || !BorderBuf.Reserve(w, h)) return;
  DrawBorderPixels(side, TRect{0, 0, w, h}, BorderBuf.Pixels());
  BorderBuf.Present(dc, r.left, r.top, RECT{0, 0, w, h});
}

void TWinSkinForm::PaintCaption(HDC dc) {
  const int W = fwidth;
  const bool minimised = Windowstate == TSkinWindowState::swsMin || IsIconic(Hwnd);
  const int height = minimised ? fheight : bw.top;
  if (W <= 0 || height <= 0 || !CaptionBuf->Reserve(W, height)) return;
  TDibSurface& buf = *CaptionBuf;
  RECT c{};
  if (minimised) {
    const Pixel face = PixelOf(fsd->SchemeRGB(kShemeButtonFace));
    PixelBuffer& px = buf.Pixels();
    for (int y = 0; y < height; ++y)
      std::fill(px.Row(y), px.Row(y) + W, face);
    c = RECT{0, 0, W, bw.top};
  } else {
    // Start from the strip as drawn, so that the corners of the side pieces stay.
    BitBlt(buf.Dc(), 0, 0, W, height, dc, 0, 0, SRCCOPY);
    c = RECT{bw.left, 0, W - bw.right, bw.top};
  }
  DrawBorderPixels(kBorderTop, ToSkin(c), buf.Pixels());
  DrawCaptionText(buf, c);
  LayoutSysButtons();
  // What a single button's redraw puts back under the button.
  const PixelBuffer& px = buf.Pixels();
  if (CaptionBack.Width() != W || CaptionBack.Height() != bw.top)
    CaptionBack = PixelBuffer(W, bw.top);
  for (int y = 0; y < bw.top && y < px.Height(); ++y)
    std::copy(px.Row(y), px.Row(y) + W, CaptionBack.Row(y));
  DrawSysButtons(buf);
  buf.Present(dc, 0, 0, RECT{0, 0, W, height});
  SetBkMode(dc, OPAQUE);
}

TButtonWindow TWinSkinForm::ButtonWindow() const {
  TButtonWindow w;
  w.Maximised = Windowstate == TSkinWindowState::swsMax;
  w.Active = FWindowActive;
  w.MinBox = (FormIcons & sbiMin) != 0;
  w.MaxBox = (FormIcons & sbiMax) != 0;
  w.HelpBox = (FormIcons & sbiHelp) != 0;
  w.SystemMenu = (FormIcons & sbisystem) != 0;
  w.MessageBox = ismessagebox;
  w.DialogBorder = FormBorder == TSkinFormBorder::sbsDialog;
  w.MDIChildMax = MDIChildMax();
  w.HasMenuBar = menu != nullptr || (impl->menuTaken && hmenu);
  return w;
}

std::wstring TWinSkinForm::TitleText() const {
  return bstr + ReadTitle(Hwnd, isunicode) + astr;
}

HFONT TWinSkinForm::CaptionFontHandle() const {
  return CaptionFont ? CaptionFont->Handle() : nullptr;
}

void TWinSkinForm::DrawCaptionText(TDibSurface& buf, const RECT& c) {
  const std::wstring text = TitleText();
  const UINT flags = bidileft ? kTitleBidiFlags : kTitleFlags;
  RightBtn = 0;
  const TButtonWindow window = ButtonWindow();
  for (size_t i = 0; i < SysBtn.size(); ++i) {
    const TDataSkinSysButton& d = *SysBtn[i]->data;
    if (d.Align == 1 && !d.Map.Empty() && IsSysButtonVisible(i, window))
      RightBtn = std::max(RightBtn, d.XCoord);
  }
  HDC dc = buf.Dc();
  lbb::SelectScope font(dc, CaptionFont ? CaptionFont->Handle() : nullptr);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, fsd->SchemeRGB(FWindowActive ? kShemeTitleTextActive : kShemeTitleTextNoActive));
  RECT measured = c;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, kTitleMeasureFlags);
  const TDataSkinTitle* title = fsd->Title.get();
  TCaptionTextInput in;
  in.Caption = ToSkin(c);
  in.TextWidth = measured.right - measured.left;
  in.TextHeight = measured.bottom - measured.top;
  if (title) {
    in.BackLeft = title->backleft;
    in.BackRight = title->backright;
    in.Aligment = title->Aligment;
    in.Shift = title->r;
  }
  in.RightBtn = RightBtn;
  in.BidiLeft = bidileft;
  in.Popup = (GetWindowLongW(Hwnd, GWL_STYLE) & WS_POPUP) != 0;
  in.DialogBorder = FormBorder == TSkinFormBorder::sbsDialog;
  in.Dpi = fsd->TargetDpi();
  const TCaptionTextPlace place = PlaceCaptionText(in);
  ctr = ToRect(place.Background);
  if (title && !title->Map.Empty()) {
    const TRect back{place.Background.Left, c.top, place.Background.Right, c.bottom};
    DrawSkinHorz(buf.Pixels(), back, title->Map, true, true, 2, FWindowActive ? 1 : 2,
                 TRect{title->backleft, 0, title->backright, 0});
  }
  RECT t = ToRect(place.Text);
  {
    // A long title is cut where the right-hand caption buttons begin: drawn under them it
    // would show through their gaps and keyed pixels.
    const lbb::SavedDc saved(dc);
    if (!bidileft && RightBtn > 0)
      IntersectClipRect(dc, c.left, c.top, fwidth - RightBtn, c.bottom);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &t, flags);
  }
  FTitleRect = t;
  SetBkMode(dc, oldMode);
}

// ---- hit tests and activation

void TWinSkinForm::OnNcHitTest(forms::TMessage& m) {
  CallDefault(m);
  if (m.Result != HTNOWHERE && m.Result != HTCAPTION) return;
  const TFramePoint p = ScreenToFrame(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
  m.Result = FrameHitTest(static_cast<int>(m.Result), p.Y, Widths(), MenuHeight);
}

TFramePoint TWinSkinForm::ScreenToFrame(POINT screen) const {
  ScreenToClient(Hwnd, &screen);
  const bool minChild =
      FormStyle == TSkinFormStyle::sfsMDIChild && Windowstate == TSkinWindowState::swsMin;
  return ClientToFrame(screen.x, screen.y, Widths(), MenuHeight, minChild);
}

void TWinSkinForm::OnNcActivate(forms::TMessage& m) {
  FWindowActive = m.WParam != 0;
  if (FWindowActive) {
    if (!timer.Running()) timer.Start(kHoverTimerMs);
  } else {
    timer.Stop();
    LeaveSkinControl();
  }
  if (FormStyle == TSkinFormStyle::sfsMDIform && ClientHwnd)
    SendMessageW(ClientHwnd, WM_NCACTIVATE, m.WParam, 0);
  if (FormStyle == TSkinFormStyle::sfsMDIChild) CallDefault(m);
  if (FormStyle != TSkinFormStyle::sfsMDIChild || Windowstate != TSkinWindowState::swsMax)
    PaintFrame();
  m.Result = 1;
}

void TWinSkinForm::LeaveSkinControl() {
  if (auto* c = dynamic_cast<TSkinControl*>(Activeskincontrol)) c->MouseLeave();
  Activeskincontrol = nullptr;
}

void TWinSkinForm::OnRepaintFrame(forms::TMessage& m) {
  PaintFrame();
  m.Result = 0;
}

// Paints the frame into the device context in wParam (a print or a test); answered with the
// magic number so the sender knows a skinned frame did it.
void TWinSkinForm::OnPaintFrameTo(forms::TMessage& m) {
  // Only the engine's own request is served: another lParam, or no DC to paint into, is no
  // request at all (nothing is done, nothing passed on, the answer left as it is).
  if (m.LParam != SkinMagic || m.WParam == 0) return;
  PaintFrame(reinterpret_cast<HDC>(m.WParam));
  m.Result = SkinMagic;
}

void TWinSkinForm::getClipMap(TDibSurface& fbmp) {
  RECT r{};
  GetWindowRect(Hwnd, &r);
  const int W = r.right - r.left, H = r.bottom - r.top;
  if (!fsd || fsd->Empty || !fbmp.Reserve(W, H)) return;
  const Pixel face = PixelOf(fsd->SchemeRGB(kShemeButtonFace));
  PixelBuffer& px = fbmp.Pixels();
  for (int y = 0; y < H; ++y)
    std::fill(px.Row(y), px.Row(y) + W, face);
  DrawBorderPixels(kBorderLeft, TRect{0, 0, bw.left, H}, px);
  DrawBorderPixels(kBorderRight, TRect{W - bw.right, 0, W, H}, px);
  DrawBorderPixels(kBorderTop, TRect{bw.left, 0, W - bw.right, bw.top}, px);
  DrawBorderPixels(kBorderBottom, TRect{bw.left, H - bw.bottom, W - bw.right, H}, px);
}

}  // namespace lbb::skin
