#include "forms/Buttons.h"

#include "forms/Forms.h"
#include "forms/ImgList.h"
#include "forms/Menus.h"

namespace lbb::forms {
namespace {

const std::vector<String> kLayouts{u"blGlyphLeft", u"blGlyphRight", u"blGlyphTop",
                                   u"blGlyphBottom"};

// Registers the glyph properties that both button classes publish.
template <class C>
void AddGlyphProps(TClassInfo& i) {
  i.Add(StrProp<C>(u"Caption", &C::Caption, &C::SetCaption));
  i.Add(ObjectProp<C, TBitmap>(u"Glyph", u"TBitmap", &C::Glyph, &C::SetGlyph));
  i.Add(IntProp<C>(u"NumGlyphs", &C::NumGlyphs, &C::SetNumGlyphs));
  i.Add(EnumProp<C, TButtonLayout>(u"Layout", kLayouts, &C::Layout, &C::SetLayout));
  i.Add(IntProp<C>(u"Margin", &C::Margin, &C::SetMargin));
  i.Add(IntProp<C>(u"Spacing", &C::Spacing, &C::SetSpacing));
}

}  // namespace

// ---- TSpeedButton

const TClassInfo& TSpeedButton::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TSpeedButton", &TGraphicControl::StaticClassInfo());
    AddGlyphProps<TSpeedButton>(i);
    i.Add(BoolProp<TSpeedButton>(u"Down", &TSpeedButton::Down, &TSpeedButton::SetDown));
    i.Add(BoolProp<TSpeedButton>(u"Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat));
    i.Add(IntProp<TSpeedButton>(u"GroupIndex", &TSpeedButton::GroupIndex,
                                &TSpeedButton::SetGroupIndex));
    i.Add(BoolProp<TSpeedButton>(u"AllowAllUp", &TSpeedButton::AllowAllUp,
                                 &TSpeedButton::SetAllowAllUp));
    i.Add(BoolProp<TSpeedButton>(u"Transparent", &TSpeedButton::Transparent,
                                 &TSpeedButton::SetTransparent));
    return i;
  }();
  return info;
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 23, 22);
}

void TSpeedButton::SetGlyph(TBitmap* bitmap) {
  glyph_.SetGlyph(bitmap);
  Invalidate();
}

void TSpeedButton::SetNumGlyphs(int64_t n) {
  glyph_.SetNumGlyphs(n);
  Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout v) {
  layout_ = v;
  Invalidate();
}

void TSpeedButton::SetMargin(int64_t v) {
  margin_ = v;
  Invalidate();
}

void TSpeedButton::SetSpacing(int64_t v) {
  spacing_ = v;
  Invalidate();
}

void TSpeedButton::SetGroupIndex(int64_t v) {
  groupIndex_ = v;
  if (v == 0) SetDown(false);
}

void TSpeedButton::SetDown(bool v) {
  if (groupIndex_ == 0) v = false;
  if (v == down_) return;
  // The down button of a group goes up only when another goes down, unless all may be up.
  if (down_ && !allowAllUp_) return;
  down_ = v;
  Invalidate();
  if (v && Parent()) ReleaseGroup();
}

void TSpeedButton::ReleaseGroup() {
  TWinControl* parent = Parent();
  for (int i = 0; i < parent->ControlCount(); ++i) {
    auto* b = dynamic_cast<TSpeedButton*>(parent->Controls(i));
    if (b && b != this && b->groupIndex_ == groupIndex_ && b->down_) {
      b->down_ = false;
      b->Invalidate();
    }
  }
}

void TSpeedButton::SetFlat(bool v) {
  flat_ = v;
  Invalidate();
}

void TSpeedButton::SetTransparent(bool v) {
  transparent_ = v;
  Invalidate();
}

void TSpeedButton::ChangeScale(int m, int d) {
  TGraphicControl::ChangeScale(m, d);
  glyph_.ChangeScale(m, d);
}

void TSpeedButton::Click() {
  if (groupIndex_ != 0) {
    SetDown(!down_);
  }
  TGraphicControl::Click();
}

void TSpeedButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_MOUSEENTER:
      hot_ = true;
      Invalidate();
      break;
    case CM_MOUSELEAVE:
      hot_ = false;
      Invalidate();
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case CM_ENABLEDCHANGED:
      TGraphicControl::WndProc(m);
      Invalidate();
      return;
    default:
      break;
  }
  TGraphicControl::WndProc(m);
}

TButtonState TSpeedButton::FaceState() const {
  if (!Enabled()) return TButtonState::bsDisabled;
  if (pressed_) return TButtonState::bsDown;
  if (down_) return TButtonState::bsExclusive;
  return TButtonState::bsUp;
}

void TSpeedButton::Paint() {
  TCanvas* canvas = Canvas();
  HDC dc = canvas->Handle();
  RECT r = ClientRect();
  TButtonState state = FaceState();
  bool sunken = state == TButtonState::bsDown || state == TButtonState::bsExclusive;
  if (!flat_) {
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (sunken ? DFCS_PUSHED : 0));
  } else {
    if (!transparent_ || down_) canvas->FillRect(r);
    if (sunken || (hot_ && Enabled())) {
      RECT edge = r;
      DrawEdge(dc, &edge, sunken ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
  }
  TButtonFace face;
  face.glyph = &glyph_;
  face.caption = Caption();
  face.font = Font()->Handle();
  face.textColor = ColorToRGB(static_cast<TColor>(Font()->Color()));
  face.layout = layout_;
  face.margin = static_cast<int>(margin_);
  face.spacing = static_cast<int>(spacing_);
  face.state = state;
  face.offset = sunken ? 1 : 0;
  DrawButtonFace(dc, r, face);
}

// ---- TBitBtn

const TClassInfo& TBitBtn::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TBitBtn", &TButton::StaticClassInfo());
    AddGlyphProps<TBitBtn>(i);
    i.Add(ObjectProp<TBitBtn, TCustomImageList>(u"Images", u"TCustomImageList", &TBitBtn::Images,
                                                &TBitBtn::SetImages));
    i.Add(IntProp<TBitBtn>(u"ImageIndex", &TBitBtn::ImageIndex, &TBitBtn::SetImageIndex));
    i.Add(IntProp<TBitBtn>(u"DisabledIndex", &TBitBtn::DisabledIndex, &TBitBtn::SetDisabledIndex));
    i.Add(EnumProp<TBitBtn, TBitBtnKind>(
        u"Kind",
        {u"bkCustom", u"bkOK", u"bkCancel", u"bkHelp", u"bkYes", u"bkNo", u"bkClose", u"bkAbort",
         u"bkRetry", u"bkIgnore", u"bkAll"},
        &TBitBtn::Kind, &TBitBtn::SetKind));
    return i;
  }();
  return info;
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {}

TBitBtn::~TBitBtn() {
  if (Images()) Images()->RemoveFreeNotification(this);
}

void TBitBtn::CreateParams(TCreateParams& p) {
  TButton::CreateParams(p);
  p.style = (p.style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW;
}

void TBitBtn::SetGlyph(TBitmap* bitmap) {
  glyph_.SetGlyph(bitmap);
  Invalidate();
}

void TBitBtn::SetNumGlyphs(int64_t n) {
  glyph_.SetNumGlyphs(n);
  Invalidate();
}

void TBitBtn::SetImages(TCustomImageList* images) {
  if (Images()) Images()->RemoveFreeNotification(this);
  glyph_.SetImages(images);
  if (images) images->FreeNotification(this);
  Invalidate();
}

void TBitBtn::SetImageIndex(int64_t v) {
  glyph_.SetImageIndex(v);
  Invalidate();
}

void TBitBtn::SetDisabledIndex(int64_t v) {
  glyph_.SetDisabledIndex(v);
  Invalidate();
}

void TBitBtn::SetLayout(TButtonLayout v) {
  layout_ = v;
  Invalidate();
}

void TBitBtn::SetMargin(int64_t v) {
  margin_ = v;
  Invalidate();
}

void TBitBtn::SetSpacing(int64_t v) {
  spacing_ = v;
  Invalidate();
}

void TBitBtn::Notification(TComponent* c, TOperation operation) {
  TButton::Notification(c, operation);
  if (operation == TOperation::opRemove && c == Images()) glyph_.SetImages(nullptr);
}

void TBitBtn::SetKind(TBitBtnKind kind) {
  struct Stock {
    const char16_t* caption;
    int result;
  };
  static constexpr Stock kStock[] = {
      {u"", mrNone},        {u"OK", mrOk},          {u"Cancel", mrCancel}, {u"&Help", mrNone},
      {u"&Yes", mrYes},     {u"&No", mrNo},         {u"&Close", mrNone},   {u"Abort", mrAbort},
      {u"&Retry", mrRetry}, {u"&Ignore", mrIgnore}, {u"&All", mrAll}};
  kind_ = kind;
  if (kind == TBitBtnKind::bkCustom) return;
  const Stock& stock = kStock[static_cast<int>(kind)];
  SetCaption(stock.caption);
  SetModalResult(stock.result);
  SetDefault(kind == TBitBtnKind::bkOK || kind == TBitBtnKind::bkYes);
  SetCancel(kind == TBitBtnKind::bkCancel || kind == TBitBtnKind::bkNo);
}

void TBitBtn::ChangeScale(int m, int d) {
  TButton::ChangeScale(m, d);
  glyph_.ChangeScale(m, d);
}

void TBitBtn::Click() {
  TCustomForm* form = ParentForm();
  if (kind_ == TBitBtnKind::bkClose && form) {
    form->Close();
    return;
  }
  TButton::Click();
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  bool down = item.itemState & ODS_SELECTED;
  bool focused = item.itemState & ODS_FOCUS;
  bool enabled = !(item.itemState & ODS_DISABLED);
  if (focused || Default()) {
    // The dark outline of the button that Enter presses.
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&r, -1, -1);
  }
  DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (down ? DFCS_PUSHED | DFCS_FLAT : 0));
  if (down) {
    FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
  }
  TButtonFace face;
  face.glyph = &glyph_;
  face.caption = Caption();
  face.font = Font()->Handle();
  face.textColor = ColorToRGB(static_cast<TColor>(Font()->Color()));
  face.layout = layout_;
  face.margin = static_cast<int>(margin_);
  face.spacing = static_cast<int>(spacing_);
  face.state = !enabled ? TButtonState::bsDisabled
               : down   ? TButtonState::bsDown
                        : TButtonState::bsUp;
  face.offset = down ? 1 : 0;
  DrawButtonFace(dc, r, face);
  if (focused && !(item.itemState & ODS_NOFOCUSRECT)) {
    RECT focus = r;
    InflateRect(&focus, -3, -3);
    DrawFocusRect(dc, &focus);
  }
}

void TBitBtn::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_DRAWITEM:
      DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam));
      m.Result = TRUE;
      return;
    case WM_LBUTTONDBLCLK:
      // An owner-drawn button reports a double click instead of a second click; take it as
      // another press.
      m.Msg = WM_LBUTTONDOWN;
      break;
    default:
      break;
  }
  TButton::WndProc(m);
}

// ---- TMenuButton

const TClassInfo& TMenuButton::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TMenuButton", &TBitBtn::StaticClassInfo());
    i.Add(ObjectProp<TMenuButton, TPopupMenu>(
        u"DropDownMenu", u"TPopupMenu", &TMenuButton::DropDownMenu, &TMenuButton::SetDropDownMenu));
    return i;
  }();
  return info;
}

TMenuButton::TMenuButton(TComponent* owner) : TBitBtn(owner) {}

TMenuButton::~TMenuButton() {
  if (menu_) menu_->RemoveFreeNotification(this);
}

void TMenuButton::SetDropDownMenu(TPopupMenu* menu) {
  if (menu_ == menu) return;
  if (menu_) menu_->RemoveFreeNotification(this);
  menu_ = menu;
  if (menu_) menu_->FreeNotification(this);
}

void TMenuButton::Click() {
  TBitBtn::Click();
  if (!menu_ || !WindowHandle()) return;
  const POINT below = ClientToScreen(POINT{0, static_cast<LONG>(Height())});
  menu_->Popup(below.x, below.y);
}

void TMenuButton::Notification(TComponent* c, TOperation operation) {
  TBitBtn::Notification(c, operation);
  if (operation == TOperation::opRemove && c == menu_) menu_ = nullptr;
}

}  // namespace lbb::forms
