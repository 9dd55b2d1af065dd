#include "forms/HintWindow.h"

#include "forms/WinText.h"

namespace lbb::forms {

namespace {
constexpr UINT kTextFlags = DT_WORDBREAK | DT_NOPREFIX | DT_LEFT;
// The text's margin inside the border (2 pixels at 96 pixels per inch).
int Margin() {
  return ScreenPixels(2);
}
}  // namespace

const TClassInfo& THintWindow::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"THintWindow", &TWinControl::StaticClassInfo());
    i.Add(StrProp<THintWindow>(u"Caption", &THintWindow::Caption, &THintWindow::SetCaption));
    return i;
  }();
  return info;
}

THintWindow::THintWindow(TComponent* owner) : TWinControl(owner) {
  SetVisible(false);
  SetColor(clInfoBk);
  Font()->SetColor(clInfoText);
  // The default font is a height in pixels at 96 pixels per inch; no form scales this window.
  Font()->ChangeScale(ScreenPixelsPerInch(), USER_DEFAULT_SCREEN_DPI);
}

void THintWindow::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.style = WS_POPUP | WS_BORDER;
  p.exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  p.classStyle |= CS_SAVEBITS;
}

RECT THintWindow::CalcHintRect(int maxWidth, const String& text) {
  WindowDc screen(nullptr);
  SelectScope font(screen.get(), Font()->Handle());
  std::wstring w = Wide(text);
  RECT r{0, 0, maxWidth, 0};
  DrawTextW(screen.get(), w.c_str(), static_cast<int>(w.size()), &r, kTextFlags | DT_CALCRECT);
  // Room for the border and the margins on every side.
  r.right += 2 * (Margin() + 1) + ScreenPixels(4);
  r.bottom += 2 * (Margin() + 1);
  return r;
}

void THintWindow::ActivateHint(const RECT& rect, const String& text) {
  SetCaption(text);
  SetBounds(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  if (HWND hwnd = Handle()) {
    SetWindowPos(hwnd, HWND_TOPMOST, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(hwnd, nullptr, TRUE);
  }
}

void THintWindow::ReleaseHandle() {
  DestroyHandle();
}

void THintWindow::WndProc(TMessage& m) {
  // A hint that comes up near the cursor must not take the mouse from the control it is
  // about, or the control would lose the mouse and its hint at once.
  if (m.Msg == WM_NCHITTEST) {
    m.Result = HTTRANSPARENT;
    return;
  }
  TWinControl::WndProc(m);
}

void THintWindow::PaintWindow(HDC dc) {
  RECT r = ClientRect();
  FillRect(dc, &r, ColorBrush());
  InflateRect(&r, -(Margin() + 2), -Margin());
  SelectScope font(dc, Font()->Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(static_cast<TColor>(Font()->Color())));
  std::wstring w = Wide(Caption());
  DrawTextW(dc, w.c_str(), static_cast<int>(w.size()), &r, kTextFlags);
}

}  // namespace lbb::forms
