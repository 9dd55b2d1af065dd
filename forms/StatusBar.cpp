#include "forms/StatusBar.h"

#include <commctrl.h>

#include "forms/WinText.h"

namespace lbb::forms {

// ---- TStatusPanel

const TClassInfo& TStatusPanel::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TStatusPanel", &TObject::StaticClassInfo());
    i.Add(StrProp<TStatusPanel>(u"Text", &TStatusPanel::Text, &TStatusPanel::SetText));
    i.Add(IntProp<TStatusPanel>(u"Width", &TStatusPanel::Width, &TStatusPanel::SetWidth));
    i.Add(EnumProp<TStatusPanel, TAlignment>(
        u"Alignment", {u"taLeftJustify", u"taRightJustify", u"taCenter"}, &TStatusPanel::Alignment,
        &TStatusPanel::SetAlignment));
    return i;
  }();
  return info;
}

void TStatusPanel::SetText(const String& text) {
  text_ = text;
  bar_.UpdatePanels();
}

void TStatusPanel::SetWidth(int64_t width) {
  width_ = width;
  bar_.UpdatePanels();
}

void TStatusPanel::SetAlignment(TAlignment v) {
  alignment_ = v;
  bar_.UpdatePanels();
}

// ---- TStatusBar

const TClassInfo& TStatusBar::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TStatusBar", &TWinControl::StaticClassInfo());
    i.Add(BoolProp<TStatusBar>(u"SimplePanel", &TStatusBar::SimplePanel,
                               &TStatusBar::SetSimplePanel));
    i.Add(StrProp<TStatusBar>(u"SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText));
    i.Add(BoolProp<TStatusBar>(u"SizeGrip", &TStatusBar::SizeGrip, &TStatusBar::SetSizeGrip));
    return i;
  }();
  return info;
}

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 200, 19);
  SetAlign(TAlign::alBottom);
}

TStatusBar::~TStatusBar() = default;

void TStatusBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.nativeClass = STATUSCLASSNAMEW;
  // The framework places the bar; the window must not move itself to the parent's bottom.
  p.style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
  if (sizeGrip_) p.style |= SBARS_SIZEGRIP;
}

void TStatusBar::CreateWnd() {
  TWinControl::CreateWnd();
  UpdatePanels();
}

void TStatusBar::BoundsChanged() {
  TWinControl::BoundsChanged();
  UpdatePanels();
}

void TStatusBar::ChangeScale(int m, int d) {
  TWinControl::ChangeScale(m, d);
  for (int i = 0; i < PanelCount(); ++i)
    Panels(i)->SetWidth(MulDiv(static_cast<int>(Panels(i)->Width()), m, d));
}

TStatusPanel* TStatusBar::AddPanel() {
  panels_.push_back(std::make_unique<TStatusPanel>(*this));
  UpdatePanels();
  return panels_.back().get();
}

void TStatusBar::ClearPanels() {
  panels_.clear();
  UpdatePanels();
}

void TStatusBar::SetSimplePanel(bool v) {
  simplePanel_ = v;
  UpdatePanels();
}

void TStatusBar::SetSimpleText(const String& text) {
  simpleText_ = text;
  UpdatePanels();
}

void TStatusBar::SetSizeGrip(bool v) {
  if (v == sizeGrip_) return;
  sizeGrip_ = v;
  RecreateWnd();
}

void TStatusBar::UpdatePanels() {
  HWND hwnd = WindowHandle();
  if (!hwnd) return;
  SendMessageW(hwnd, SB_SIMPLE, simplePanel_, 0);
  if (simplePanel_) {
    std::wstring w = Wide(simpleText_);
    SendMessageW(hwnd, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(w.c_str()));
    return;
  }
  // Right edges; the last panel takes the rest of the bar.
  std::vector<int> edges;
  int x = 0;
  for (const auto& panel : panels_) {
    x += static_cast<int>(panel->Width());
    edges.push_back(x);
  }
  if (!edges.empty()) edges.back() = -1;
  if (edges.empty()) edges.push_back(-1);
  SendMessageW(hwnd, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  static const wchar_t* const kAlignPrefix[] = {L"", L"\t\t", L"\t"};
  for (size_t i = 0; i < panels_.size(); ++i) {
    // A tab puts the text in the middle, two put it at the right.
    std::wstring w =
        kAlignPrefix[static_cast<int>(panels_[i]->Alignment())] + Wide(panels_[i]->Text());
    SendMessageW(hwnd, SB_SETTEXTW, i, reinterpret_cast<LPARAM>(w.c_str()));
  }
  if (panels_.empty()) SendMessageW(hwnd, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L""));
}

}  // namespace lbb::forms
