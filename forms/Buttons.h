// Buttons with glyphs: TSpeedButton (windowless, with a "down" state, a flat look and
// groups in which one button stays down) and TBitBtn (a push button that draws a glyph
// beside its caption).
#pragma once

#include "forms/ButtonGlyph.h"
#include "forms/StdCtrls.h"

namespace lbb::forms {

class TSpeedButton : public TGraphicControl {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TSpeedButton(TComponent* owner);

  TBitmap* Glyph() const { return glyph_.Glyph(); }
  // Copies `bitmap` (null clears the glyph).
  void SetGlyph(TBitmap* bitmap);
  int64_t NumGlyphs() const { return glyph_.NumGlyphs(); }
  void SetNumGlyphs(int64_t n);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout v);
  int64_t Margin() const { return margin_; }
  void SetMargin(int64_t v);
  int64_t Spacing() const { return spacing_; }
  void SetSpacing(int64_t v);
  // Buttons of one parent with the same non-zero GroupIndex work together: one of them is
  // down at a time (or none, with AllowAllUp). A button of group 0 never stays down.
  int64_t GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int64_t v);
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool v) { allowAllUp_ = v; }
  bool Down() const { return down_; }
  void SetDown(bool v);
  // A flat button shows its frame only while the mouse is over it or it is down.
  bool Flat() const { return flat_; }
  void SetFlat(bool v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  // The mouse is over the button.
  bool MouseInControl() const { return hot_; }

  void Click() override;
  void WndProc(TMessage& message) override;
  void ChangeScale(int m, int d) override;

 protected:
  void Paint() override;

 private:
  TButtonState FaceState() const;
  // Puts up the other buttons of the group.
  void ReleaseGroup();

  TButtonGlyph glyph_;
  TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
  int64_t margin_ = -1;
  int64_t spacing_ = 4;
  int64_t groupIndex_ = 0;
  bool allowAllUp_ = false;
  bool down_ = false;
  bool flat_ = false;
  bool transparent_ = true;
  bool hot_ = false;
};

enum class TBitBtnKind {
  bkCustom,
  bkOK,
  bkCancel,
  bkHelp,
  bkYes,
  bkNo,
  bkClose,
  bkAbort,
  bkRetry,
  bkIgnore,
  bkAll
};

class TCustomImageList;

// A push button drawn by the framework (the system's owner-drawn button) with a glyph.
class TBitBtn : public TButton {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TBitBtn(TComponent* owner);
  ~TBitBtn() override;

  TBitmap* Glyph() const { return glyph_.Glyph(); }
  void SetGlyph(TBitmap* bitmap);
  int64_t NumGlyphs() const { return glyph_.NumGlyphs(); }
  void SetNumGlyphs(int64_t n);
  TCustomImageList* Images() const { return glyph_.Images(); }
  void SetImages(TCustomImageList* images);
  int64_t ImageIndex() const { return glyph_.ImageIndex(); }
  void SetImageIndex(int64_t v);
  int64_t DisabledIndex() const { return glyph_.DisabledIndex(); }
  void SetDisabledIndex(int64_t v);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout v);
  int64_t Margin() const { return margin_; }
  void SetMargin(int64_t v);
  int64_t Spacing() const { return spacing_; }
  void SetSpacing(int64_t v);
  // A stock kind sets caption, modal result and the default or cancel role; bkClose closes
  // the form when clicked.
  TBitBtnKind Kind() const { return kind_; }
  void SetKind(TBitBtnKind kind);

  void Click() override;
  void WndProc(TMessage& message) override;
  void ChangeScale(int m, int d) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void Notification(TComponent* c, TOperation operation) override;

 private:
  void DrawItem(const DRAWITEMSTRUCT& item);

  TButtonGlyph glyph_;
  TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
  int64_t margin_ = -1;
  int64_t spacing_ = 4;
  TBitBtnKind kind_ = TBitBtnKind::bkCustom;
};

class TPopupMenu;

// A bit button that drops its menu down under itself when clicked (after OnClick).
class TMenuButton : public TBitBtn {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TMenuButton(TComponent* owner);
  ~TMenuButton() override;

  TPopupMenu* DropDownMenu() const { return menu_; }
  void SetDropDownMenu(TPopupMenu* menu);
  void Click() override;

 protected:
  void Notification(TComponent* c, TOperation operation) override;

 private:
  TPopupMenu* menu_ = nullptr;
};

}  // namespace lbb::forms
