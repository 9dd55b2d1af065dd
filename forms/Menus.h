// Menus: items with captions, shortcuts, images and states, main menus shown by forms, popup
// menus, and owner-drawing through OnDrawItem and OnMeasureItem.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

#include "base/win/Handles.h"
#include "forms/Controls.h"
#include "forms/core/Component.h"

namespace lbb::forms {

class TMenu;
class TImageList;

// Virtual key in the low byte, plus scShift, scCtrl, scAlt.
using TShortCut = uint16_t;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;

// "CTRL+S", "ALT+F4", "SHIFT+DEL"; "" for none.
String ShortCutToText(TShortCut shortcut);
// The shortcut a text names (ASCII case ignored); 0 when it names none.
TShortCut TextToShortCut(std::u16string_view text);

// The reading order of a menu's items.
enum class TBiDiMode : uint8_t { bdLeftToRight, bdRightToLeft };

using TMenuDrawItemEvent =
    std::function<void(TObject* sender, TCanvas* canvas, RECT rect, bool selected)>;
using TMenuMeasureItemEvent =
    std::function<void(TObject* sender, TCanvas* canvas, int& width, int& height)>;

class TMenuItem : public TComponent {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;

  String Caption() const { return caption_; }
  void SetCaption(const String& caption);
  int64_t ShortCut() const { return shortcut_; }
  void SetShortCut(int64_t shortcut);
  bool Checked() const { return checked_; }
  void SetChecked(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  bool Default() const { return default_; }
  void SetDefault(bool v);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  int64_t ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int64_t index);
  String Hint() const { return hint_; }
  void SetHint(const String& hint) { hint_ = hint; }
  bool IsLine() const { return caption_ == u"-"; }

  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int index) const { return items_.at(static_cast<size_t>(index)); }
  TMenuItem* Parent() const { return parent_; }
  int MenuIndex() const;
  // Adds `item` as the last sub-item (the item is owned by its own owner, as given).
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  void Remove(TMenuItem* item);
  // The menu this item belongs to; null when none.
  TMenu* GetParentMenu() const;
  // The command id the native menu reports for this item.
  UINT Command() const { return command_; }
  // The native drop-down of an item with sub-items (null otherwise); the menu owns it.
  HMENU Handle() const { return handle_; }

  TNotifyEvent OnClick;
  TMenuDrawItemEvent OnDrawItem;
  TMenuMeasureItemEvent OnMeasureItem;
  virtual void Click();
  // Owner-drawing: the events when assigned, else the framework's own look.
  void DrawItem(TCanvas* canvas, RECT rect, bool selected);
  void MeasureItem(TCanvas* canvas, int& width, int& height);
  // The native menu text: caption, then a tab and the shortcut's text when there is one.
  String NativeText() const;

 private:
  friend class TMenu;
  void Changed(bool structure);
  // Appends this item (and its visible sub-items) to the native `menu`.
  void AppendTo(HMENU menu, UINT extraType);
  // Drops the handles of native drop-downs that were destroyed.
  void ForgetHandles();
  TMenuItem* Find(UINT command);

  String caption_;
  TShortCut shortcut_ = 0;
  bool checked_ = false;
  bool enabled_ = true;
  bool default_ = false;
  bool visible_ = true;
  int64_t imageIndex_ = -1;
  String hint_;
  std::vector<TMenuItem*> items_;
  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // set on the root item only
  UINT command_ = 0;
  HMENU handle_ = nullptr;
};

// Takes an item's measure handler off for the scope's life and puts it back afterwards (unless
// someone assigned another one meanwhile): a handler that wants the framework's own measure
// first runs MeasureItem inside the scope.
class TDetachedMeasure {
 public:
  explicit TDetachedMeasure(TMenuItem& item)
      : item_(item), saved_(std::exchange(item.OnMeasureItem, nullptr)) {}
  ~TDetachedMeasure() {
    if (!item_.OnMeasureItem) item_.OnMeasureItem = std::move(saved_);
  }
  TDetachedMeasure(const TDetachedMeasure&) = delete;
  TDetachedMeasure& operator=(const TDetachedMeasure&) = delete;

 private:
  TMenuItem& item_;
  TMenuMeasureItemEvent saved_;
};

class TMenu : public TComponent {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;

  TMenuItem* Items() const { return items_; }
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* images);
  bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool v);
  // Right-to-left menus read from the right: their native items carry the right-order type.
  TBiDiMode BiDiMode() const { return bidi_; }
  void SetBiDiMode(TBiDiMode mode);
  bool IsRightToLeft() const { return bidi_ == TBiDiMode::bdRightToLeft; }
  // The native menu, built when first asked for and rebuilt after changes.
  HMENU Handle();
  // The item with `command` id anywhere in the menu; null when none.
  TMenuItem* FindItem(UINT command) const;
  // The item whose drop-down is `menu`; null when none.
  TMenuItem* FindItemByHandle(HMENU menu) const;
  // Handles a menu command or owner-draw message for one of its items; true when it did.
  bool DispatchMessage(TMessage& m);
  // Rebuilds the native menu after an item changed and tells the window that shows it.
  virtual void MenuChanged();

 protected:
  virtual MenuHandle CreateNativeMenu() const = 0;
  void Notification(TComponent* c, TOperation operation) override;
  // The window that shows the menu (main menus: the form's); null when none.
  virtual HWND DisplayWindow() const { return nullptr; }
  void Build();

  MenuHandle handle_;

 private:
  TMenuItem* items_;
  TImageList* images_ = nullptr;
  bool ownerDraw_ = false;
  TBiDiMode bidi_ = TBiDiMode::bdLeftToRight;
};

class TMainMenu : public TMenu {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TMainMenu(TComponent* owner) : TMenu(owner) {}
  void MenuChanged() override;

 protected:
  MenuHandle CreateNativeMenu() const override { return MenuHandle(CreateMenu()); }
  HWND DisplayWindow() const override;

 private:
  // Takes the items of the native menu that no item of this menu made out of it (without
  // destroying them).
  void ReleaseForeignItems();
};

class TPopupMenu : public TMenu {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TPopupMenu(TComponent* owner) : TMenu(owner) {}
  TNotifyEvent OnPopup;
  // Shows the menu at a screen point and runs the chosen item's OnClick.
  virtual void Popup(int x, int y);

 protected:
  MenuHandle CreateNativeMenu() const override { return MenuHandle(CreatePopupMenu()); }
};

}  // namespace lbb::forms
