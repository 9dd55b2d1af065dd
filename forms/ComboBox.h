// A combo box: an edit or a static field with a drop-down list of items.
#pragma once

#include <memory>

#include "forms/Controls.h"
#include "forms/Strings.h"

namespace lbb::forms {

enum class TComboBoxStyle { csDropDown, csSimple, csDropDownList };

class TCustomComboBox : public TWinControl {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TCustomComboBox(TComponent* owner);
  ~TCustomComboBox() override;

  // The items; changes reach the window at once.
  TStrings* Items() const { return items_.get(); }
  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle style);
  // The selected item; -1 when none.
  int64_t ItemIndex() const;
  void SetItemIndex(int64_t index);
  int64_t DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int64_t count);
  bool DroppedDown() const;
  void SetDroppedDown(bool v);

  // OnChange: the text changed (typing, or a new selection). OnSelect: an item was chosen.
  TNotifyEvent OnChange;
  TNotifyEvent OnSelect;
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;

 private:
  void ItemsChanged(TStrings::TChange change, int index);
  void FillWindow();
  void OnCommand(TMessage& m);

  std::unique_ptr<TStrings> items_;
  TComboBoxStyle style_ = TComboBoxStyle::csDropDown;
  int64_t itemIndex_ = -1;  // kept while there is no window
  int64_t dropDownCount_ = 8;
};

class TComboBox : public TCustomComboBox {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TComboBox(TComponent* owner) : TCustomComboBox(owner) {}
};

}  // namespace lbb::forms
