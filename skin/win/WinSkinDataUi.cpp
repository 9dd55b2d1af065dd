// The parts of TSkinData that reach the platform's user interface: the caption font, the
// application icon, the menu glyphs, the background brush, caption-button hints, scroll-bar
// information, and the set properties as text.
#include <windows.h>

#include "base/Text.h"
#include "forms/Application.h"
#include "skin/data/SkinScale.h"
#include "skin/data/SkinSystem.h"
#include "skin/win/WinSkinData.h"
#include "skin/win/WinSkinSystem.h"

namespace lbb::skin {

namespace {

constexpr lbb::TColor kMagenta = 0xFF00FF;
constexpr int kHintMaxWidth = 500;

using ScrollBarInfoFn = BOOL(WINAPI*)(HWND, LONG, PSCROLLBARINFO);
using TrackMouseFn = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);

// A call of user32 that older systems lack; null there.
template <class Fn>
Fn UserCall(const char* name) {
  HMODULE user = GetModuleHandleW(L"user32.dll");
  return user ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(user, name))) : nullptr;
}

ScrollBarInfoFn ScrollBarInfoCall() {
  static const ScrollBarInfoFn fn = UserCall<ScrollBarInfoFn>("GetScrollBarInfo");
  return fn;
}

}  // namespace

const std::vector<std::u16string>& SkinControlTypeNames() {
  static const std::vector<std::u16string> names = {
      u"xcMainMenu",   u"xcPopupMenu", u"xcMenuItem",    u"xcToolbar",     u"xcControlbar",
      u"xcCombo",      u"xcCheckBox",  u"xcRadioButton", u"xcProgress",    u"xcScrollbar",
      u"xcEdit",       u"xcButton",    u"xcBitBtn",      u"xcSpeedButton", u"xcSpin",
      u"xcPanel",      u"xcGroupBox",  u"xcStatusBar",   u"xcTab",         u"xcTrackBar",
      u"xcSystemMenu", u"xcFastReport"};
  return names;
}

const std::vector<std::u16string>& SkinOptionNames() {
  static const std::vector<std::u16string> names = {
      u"xoMDIScrollbar",     u"xoMenuMerge",   u"xoTransparent",       u"xoPreview",
      u"xoParentBackGround", u"xoNoFocusRect", u"xoToolbarBK",         u"xoToolbarButton",
      u"xoMDIChildBorder",   u"xoMenuBG",      u"xoCaptionButtonHint", u"xoFormScrollbar"};
  return names;
}

std::u16string SetToText(TSkinSet s, const std::vector<std::u16string>& names) {
  std::u16string out = u"[";
  for (size_t i = 0; i < names.size(); ++i) {
    if (!InSet(s, static_cast<int>(i))) continue;
    if (out.size() > 1) out += u',';
    out += names[i];
  }
  return out + u"]";
}

TSkinSet TextToSet(std::u16string_view text, const std::vector<std::u16string>& names) {
  text = TrimBlanks(text);
  if (!text.empty() && text.front() == u'[') text.remove_prefix(1);
  if (!text.empty() && text.back() == u']') text.remove_suffix(1);
  TSkinSet s = 0;
  while (!text.empty()) {
    const size_t comma = text.find(u',');
    const std::u16string_view item = TrimBlanks(text.substr(0, comma));
    for (size_t i = 0; i < names.size(); ++i)
      if (SameTextAscii(item, names[i])) s |= SetOf(static_cast<int>(i));
    if (comma == std::u16string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return s;
}

void TSkinData::SkinParsed() {
  ScaleSkinModel(*this, TargetDpi());
  BGBrush.reset(CreateSolidBrush(ColorToRGB(Colors[kShemeButtonFace])));
}

void TSkinData::LoadMenuGlyphs() {
  bmpmenu.SetWidth(16);
  bmpmenu.SetHeight(16);
  const PixelBuffer glyphs = SkinSystem().NamedBitmap(u"MENUGLYPHS");
  if (glyphs.Empty()) return;
  forms::TBitmap strip;
  strip.SetPixels(glyphs);
  bmpmenu.AddMasked(strip, lbb::clWhite);
}

void TSkinData::ReadCaptionFont() {
  CaptionFont = std::make_unique<forms::TFont>();
  lbb::FontHandle font = NonClientFont(&NONCLIENTMETRICSW::lfCaptionFont, TargetDpi());
  if (font.get()) CaptionFont->AssignHandle(font.get());
}

bool TSkinData::SetScreenDpi(int dpi) {
  if (dpi <= 0 || dpi == TargetDpi()) return false;
  SetTargetDpi(dpi);
  ReadCaptionFont();
  // Without a skin the next one loaded is parsed at the new resolution.
  if (data.Size() == 0 || !ParseSkin()) return false;
  ApplySkin();
  return true;
}

void TSkinData::GetAppIcon() {
  HWND app = forms::Application->Handle();
  if (!app) return;
  auto icon = reinterpret_cast<HICON>(SendMessageW(app, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(app, WM_GETICON, ICON_BIG, 0));
  if (!icon) return;
  const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  forms::TBitmap bmp(cx, cy);
  bmp.SetPixelFormat(forms::TPixelFormat::pf24bit);
  bmp.Pixels().Fill(PixelOf(kMagenta));
  DrawIconEx(bmp.Canvas()->Handle(), 0, 0, icon, cx, cy, 0, nullptr, DI_NORMAL);
  GdiFlush();
  for (int y = 0; y < cy; ++y)
    for (int x = 0; x < cx; ++x)
      bmp.Pixels().At(x, y) &= 0xFFFFFF;
  SysIcon.Assign(bmp);
  SysIcon.SetPixelFormat(forms::TPixelFormat::pf24bit);
  SysIcon.SetTransparentColor(kMagenta);
  SysIcon.SetTransparent(true);
}

forms::TWinControl* ControlOfWindow(HWND hwnd) {
  return hwnd ? forms::FindControl(hwnd) : nullptr;
}

bool TrackMouseLeave(HWND hwnd) {
  static const TrackMouseFn fn = UserCall<TrackMouseFn>("TrackMouseEvent");
  if (!fn || !hwnd) return false;
  TRACKMOUSEEVENT tme{};
  tme.cbSize = sizeof(tme);
  tme.dwFlags = TME_LEAVE;
  tme.hwndTrack = hwnd;
  return fn(&tme) != FALSE;
}

bool TSkinData::HasScrollBarInfo() {
  return ScrollBarInfoCall() != nullptr;
}

bool TSkinData::GetScrollBarInfo(HWND hwnd, LONG idObject, PSCROLLBARINFO psbi) {
  const ScrollBarInfoFn fn = ScrollBarInfoCall();
  return fn && fn(hwnd, idObject, psbi);
}

void TSkinData::ActivateHint(const RECT& aRect, const std::u16string& AHint) {
  if (!InSet(fSkinOptions, xoCaptionButtonHint) || hashint) return;
  RECT r = fhintwindow->CalcHintRect(kHintMaxWidth, AHint);
  OffsetRect(&r, aRect.left, aRect.top);
  fhintwindow->ActivateHint(r, AHint);
  hashint = true;
}

void TSkinData::HideHint() {
  if (!hashint) return;
  fhintwindow->ReleaseHandle();
  hashint = false;
}

HWND TSkinData::HintHandle() const {
  return fhintwindow->HandleAllocated() ? fhintwindow->Handle() : nullptr;
}

}  // namespace lbb::skin
