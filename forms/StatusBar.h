// A status bar along the bottom of a form: panels of text, or one simple text.
#pragma once

#include <memory>
#include <vector>

#include "forms/Controls.h"
#include "forms/StdCtrls.h"

namespace lbb::forms {

class TStatusBar;

class TStatusPanel : public TObject {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TStatusPanel(TStatusBar& bar) : bar_(bar) {}
  String Text() const { return text_; }
  void SetText(const String& text);
  int64_t Width() const { return width_; }
  void SetWidth(int64_t width);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);

 private:
  TStatusBar& bar_;
  String text_;
  int64_t width_ = 50;
  TAlignment alignment_ = TAlignment::taLeftJustify;
};

class TStatusBar : public TWinControl {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TStatusBar(TComponent* owner);
  ~TStatusBar() override;

  int PanelCount() const { return static_cast<int>(panels_.size()); }
  TStatusPanel* Panels(int index) const { return panels_.at(static_cast<size_t>(index)).get(); }
  TStatusPanel* AddPanel();
  // Scales the panel widths with the control.
  void ChangeScale(int m, int d) override;
  void ClearPanels();
  // One text across the whole bar instead of the panels.
  bool SimplePanel() const { return simplePanel_; }
  void SetSimplePanel(bool v);
  String SimpleText() const { return simpleText_; }
  void SetSimpleText(const String& text);
  bool SizeGrip() const { return sizeGrip_; }
  void SetSizeGrip(bool v);
  // Sends the panels' widths and texts to the window.
  void UpdatePanels();

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void BoundsChanged() override;

 private:
  std::vector<std::unique_ptr<TStatusPanel>> panels_;
  bool simplePanel_ = false;
  String simpleText_;
  bool sizeGrip_ = true;
};

}  // namespace lbb::forms
