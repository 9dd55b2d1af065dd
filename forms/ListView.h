// A list view (the system's list-view control) with columns and a header in report view.
#pragma once

#include <memory>
#include <vector>

#include "forms/Controls.h"
#include "forms/StdCtrls.h"
#include "forms/Strings.h"

namespace lbb::forms {

class TListView;
class TCustomImageList;

enum class TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
class TListColumn : public TObject {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TListColumn(TListView& view) : view_(view) {}
  String Caption() const { return caption_; }
  void SetCaption(const String& caption);
  int64_t Width() const;
  void SetWidth(int64_t width);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  int Index() const;

 private:
  friend class TListView;
  TListView& view_;
  String caption_;
  int64_t width_ = 50;
  TAlignment alignment_ = TAlignment::taLeftJustify;
};

class TListItem : public TObject {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TListItem(TListView& view);
  String Caption() const { return caption_; }
  void SetCaption(const String& caption);
  // The texts of the columns after the first.
  TStrings* SubItems() const { return subItems_.get(); }
  int64_t ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int64_t v);
  bool Selected() const;
  void SetSelected(bool v);
  int Index() const;

 private:
  friend class TListView;
  TListView& view_;
  String caption_;
  std::unique_ptr<TStrings> subItems_;
  int64_t imageIndex_ = -1;
};

class TListView : public TWinControl {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TListView(TComponent* owner);
  ~TListView() override;

  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  TListColumn* Columns(int index) const { return columns_.at(static_cast<size_t>(index)).get(); }
  TListColumn* AddColumn(const String& caption, int width);
  // Scales the column widths with the control.
  void ChangeScale(int m, int d) override;
  int ItemCount() const { return static_cast<int>(items_.size()); }
  TListItem* Items(int index) const { return items_.at(static_cast<size_t>(index)).get(); }
  TListItem* AddItem(const String& caption);
  void DeleteItem(int index);
  void ClearItems();
  // The first selected item; null when none.
  TListItem* Selected() const;
  int64_t ItemIndex() const;
  void SetItemIndex(int64_t index);
  // The header window of the report view; null without a window.
  HWND HeaderHandle() const;

  TViewStyle ViewStyle() const { return viewStyle_; }
  void SetViewStyle(TViewStyle v);
  bool RowSelect() const { return rowSelect_; }
  void SetRowSelect(bool v);
  bool GridLines() const { return gridLines_; }
  void SetGridLines(bool v);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v);
  bool ShowColumnHeaders() const { return showColumnHeaders_; }
  void SetShowColumnHeaders(bool v);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v);
  TCustomImageList* SmallImages() const { return smallImages_; }
  void SetSmallImages(TCustomImageList* images);
  TCustomImageList* LargeImages() const { return largeImages_; }
  void SetLargeImages(TCustomImageList* images);

  // An item became selected or lost the selection.
  std::function<void(TObject*, TListItem* item, bool selected)> OnSelectItem;
  void WndProc(TMessage& message) override;

  // Sends column `index` or item `index` to the window (framework internals).
  void UpdateColumn(int index);
  void UpdateItem(int index);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Notification(TComponent* c, TOperation operation) override;

 private:
  void FillWindow();
  void InsertItemInWindow(int index);
  void UpdateExtendedStyle();
  void SetImageLists();
  void OnNotify(TMessage& m);

  std::vector<std::unique_ptr<TListColumn>> columns_;
  std::vector<std::unique_ptr<TListItem>> items_;
  std::vector<int> selected_;  // kept while there is no window
  TViewStyle viewStyle_ = TViewStyle::vsIcon;
  bool rowSelect_ = false;
  bool gridLines_ = false;
  bool readOnly_ = false;
  bool showColumnHeaders_ = true;
  TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
  TCustomImageList* smallImages_ = nullptr;
  TCustomImageList* largeImages_ = nullptr;
};

}  // namespace lbb::forms
