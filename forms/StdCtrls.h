// The standard controls the program's window is made of: push buttons, edits, memos with
// their lines, windowless labels, link labels and panels.
#pragma once

#include <windows.h>

#include <vector>

#include "forms/Controls.h"

namespace lbb::forms {

class TButtonControl : public TWinControl {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TButtonControl(TComponent* owner);
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  // Alt+letter and dialog-character handling: clicks when `ch` is the caption's accelerator.
  bool IsAccel(WPARAM ch) const;
};

class TButton : public TButtonControl {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TButton(TComponent* owner);
  bool Default() const { return default_; }
  void SetDefault(bool v);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool v) { cancel_ = v; }
  int64_t ModalResult() const { return modalResult_; }
  void SetModalResult(int64_t v) { modalResult_ = v; }
  void Click() override;
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  bool default_ = false;
  bool cancel_ = false;
  int64_t modalResult_ = 0;
};

enum class TBorderStyle { bsNone, bsSingle };

class TCustomEdit : public TWinControl {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TCustomEdit(TComponent* owner);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v);
  int64_t MaxLength() const { return maxLength_; }
  void SetMaxLength(int64_t v);
  // bsSingle: the sunken client edge.
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v);
  void Clear() { SetText(u""); }
  void SelectAll();
  TNotifyEvent OnChange;
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

 private:
  bool readOnly_ = false;
  int64_t maxLength_ = 0;
  TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
};

class TEdit : public TCustomEdit {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
};

class TCustomMemo;

// The lines of a memo; changes go straight to the memo's text.
class TMemoLines : public TObject {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TMemoLines(TCustomMemo& memo) : memo_(memo) {}
  int Count() const;
  String Strings(int index) const;
  String operator[](int index) const { return Strings(index); }
  // Appends a line at the end and shows the end of the text.
  void Add(const String& line);
  void Clear();
  String GetText() const;
  void SetText(const String& text);

 private:
  std::vector<String> Split() const;
  TCustomMemo& memo_;
};

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TCustomMemo : public TCustomEdit {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TCustomMemo(TComponent* owner);
  TMemoLines* Lines() const { return lines_.get(); }
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle v);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  std::unique_ptr<TMemoLines> lines_;
  TScrollStyle scrollBars_ = TScrollStyle::ssNone;
  bool wordWrap_ = true;
};

class TMemo : public TCustomMemo {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TMemo(TComponent* owner) : TCustomMemo(owner) {}
};

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

// A windowless text painted on its parent.
class TLabel : public TGraphicControl {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TLabel(TComponent* owner);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  // Breaks the text into lines at word ends within the label's width (AutoSize then sets
  // only the height).
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* c) { focusControl_ = c; }
  void WndProc(TMessage& message) override;
  // Scaled like every control, then measured again: text does not grow in proportion with
  // its font, so a scaled width could cut an auto-sized caption.
  void ChangeScale(int m, int d) override;

 protected:
  void Paint() override;
  void SetText(const String& text) override;

 private:
  void AdjustSize();

  bool transparent_ = false;
  bool autoSize_ = true;
  bool wordWrap_ = false;
  TAlignment alignment_ = TAlignment::taLeftJustify;
  TWinControl* focusControl_ = nullptr;
};

// The platform's link control: text with <a href="..."> anchors.
class TLinkLabel : public TWinControl {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TLinkLabel(TComponent* owner);
  // Runs with the clicked anchor's address.
  std::function<void(TObject* sender, const String& link)> OnLinkClick;
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
};

enum class TBevelCut { bvNone, bvLowered, bvRaised };

class TCustomPanel : public TWinControl {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TCustomPanel(TComponent* owner);
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut v);
  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);

 protected:
  void PaintWindow(HDC dc) override;

 private:
  TBevelCut bevelOuter_ = TBevelCut::bvRaised;
  TBevelCut bevelInner_ = TBevelCut::bvNone;
  bool transparent_ = false;
};

class TPanel : public TCustomPanel {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}
};

// True when `caption` marks `ch` as its accelerator ("&x"; "&&" is a plain ampersand).
bool IsAccelerator(WPARAM ch, const String& caption);

}  // namespace lbb::forms
