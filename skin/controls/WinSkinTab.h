// The tab family's skinners. The control keeps its own tabs, selection, keyboard handling and
// scrolling; the skinner replaces its painting and takes the left button on a tab, selecting
// it with the notifications the control itself would send.
//
//   TSkinTab      tab and page controls ("systabcontrol32", the "tab" kind): every tab from
//                 the skin's `tab` element (normal, hot, selected), the page border from its
//                 second image, optional close buttons, the native up-down of an overflowing
//                 strip skinned as an up-down
//   TSkinTabBtn   a tab control in button style (TCS_BUTTONS): each tab a skin button
//   TSkinAdvPage  the "advpagecontrol" kind: as TSkinTab, `kind` 4
//   TSkinTab31    the form library's tab set: its tabs from `tab`, its scroller replaced by
//                 an up-down
//   TSkinTabSheet a page of a page control: filled with the skin's ButtonFace
//
// Every paint renders the whole control into `Drawtemp` and copies it out in one transfer.
// All placement comes from skin/data/TabGeometry.h.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "base/win/Handles.h"
#include "skin/controls/WinSubClass.h"
#include "skin/data/TabGeometry.h"
#include "skin/win/DibSurface.h"
#include "skin/win/HoverWatcher.h"

namespace lbb::forms {
class TTabSet;
}

namespace lbb::skin {

class TSkinTab : public TSkinControl {
 public:
  explicit TSkinTab(forms::TComponent* AOwner);
  ~TSkinTab() override;

  void Init(TSkinControlHost* sf, TSkinData* sd, forms::TCanvas* acanvas, bool acolor) override;
  void Inithwnd(HWND ahwnd, TSkinData* sd, forms::TCanvas* acanvas, TSkinControlHost* sf) override;
  bool BeforeProc(forms::TMessage& m) override;
  void AfterProc(forms::TMessage& m) override;
  void DrawControl(HDC dc, const RECT& rc) override;
  void SkinChange() override;

  // The tab under a client point as last painted; -1 for none.
  int TabAt(POINT client) const;
  // The tab under the mouse (drawn hot); -1 for none.
  int HotTab() const { return hot_; }
  // Where tab `index` was last painted; empty when it was not shown.
  TRect TabRect(int index) const {
    return index >= 0 && index < int(view_.Rects.size()) ? view_.Rects[size_t(index)] : TRect{};
  }

  std::vector<RECT> CloseRect;  // each tab's close button as last painted (with `showclose`)
  TSkinTabPosition Position = TSkinTabPosition::tpTop;
  bool unicode = false;
  PixelBuffer tabbmp;     // the tab element's image turned for Position
  PixelBuffer borderbmp;  // the page border image
  TDibSurface Drawtemp;   // the control's picture
  // The skinner of the up-down the control shows when its tabs overflow (owned by the form
  // skinner's list); null while there is none.
  TSkinControl* updown = nullptr;
  bool showclose = false;  // a close button on every tab

 protected:
  // What one paint shows, read from the control.
  struct TTabView {
    std::vector<std::u16string> Texts;
    std::vector<TRect> Rects;  // client coordinates; empty for a tab not shown
    std::vector<bool> Enabled;
    int Selected = -1;
    TRect Pane;  // the page border; empty: none
    TSize Size;
  };
  // The skin has what the skinner draws with; without it the control paints itself.
  virtual bool HasSkin() const;
  // Reads the tabs, their places and the page from the control.
  virtual void ReadView(TTabView& v);
  // Selects tab `index` as a click on it would; the skinner may be gone afterwards.
  virtual void SelectTab(int index);
  // The tab's look in `px`.
  virtual void DrawTabFace(PixelBuffer& px, const TRect& r, int frame);
  virtual int FrameOf(int index) const;
  virtual TColor TextColorOf(int frame) const;
  // A close button was clicked: the tab goes (the page's tab is hidden).
  virtual void CloseTab(int index);

  // The layout of tabs given their lengths, for skinners of controls that are not native tab
  // controls.
  void LayoutTabs(TTabView& v, const std::vector<int>& lengths, int first, int depth,
                  int upDownLength) const;
  // Rebuilds tabbmp and borderbmp for Position.
  void BuildImages();
  void Invalidate() const;

  TTabView view_;

 private:
  void OnButtonDown(forms::TMessage& m);
  void OnMouseMove(LPARAM lParam);
  void SetHot(int index);
  void DrawPane(PixelBuffer& px) const;
  void FramePane(HDC dc) const;
  void DrawTexts(HDC dc);
  void DrawClose(HDC dc, const RECT& r, TColor colour) const;
  void DrawTurnedText(HDC dc, const std::u16string& text, const RECT& box) const;
  HFONT TextFont() const;
  // The pane, the tabs and their texts into Drawtemp's `whole`.
  void DrawTabs(const RECT& whole);
  // Takes the control's visible child windows out of dc's clipping region.
  void ExcludeChildren(HDC dc) const;
  // Finds the control's up-down and skins it once.
  void FindUpDown(HWND ud);
  void PadForClose();

  int hot_ = -1;
  HWND updownTried_ = nullptr;
  // The padding the native tabs were given last (the system's own to begin with).
  POINT padding_{6, 3};
  THoverWatcher hover_;  // while a tab is hot
  TSkinTabPosition builtFor_ = TSkinTabPosition::tpTop;
};

class TSkinTabBtn : public TSkinTab {
 public:
  explicit TSkinTabBtn(forms::TComponent* AOwner);

 protected:
  bool HasSkin() const override;
  void ReadView(TTabView& v) override;
  void DrawTabFace(PixelBuffer& px, const TRect& r, int frame) override;
  int FrameOf(int index) const override;
  TColor TextColorOf(int frame) const override;
};

class TSkinAdvPage : public TSkinTab {
 public:
  explicit TSkinAdvPage(forms::TComponent* AOwner);
};

class TSkinTab31 : public TSkinTab {
 public:
  explicit TSkinTab31(forms::TComponent* AOwner);
  ~TSkinTab31() override;
  void Unsubclass() override;
  bool BeforeProc(forms::TMessage& m) override;

  // The tab set's own scroller (hidden while skinned; the up-down takes its place).
  forms::TWinControl* scroller = nullptr;
  // The up-down window standing in for the scroller.
  HWND UpDownWindow() const { return updownWnd_.get(); }

 protected:
  void ReadView(TTabView& v) override;
  void SelectTab(int index) override;
  void CloseTab(int) override {}

 private:
  forms::TTabSet* TabSet() const;
  // Shows the up-down over the scroller's place while the tabs overflow, else hides it.
  void SyncUpDown(forms::TTabSet& set);
  void OnScroll(forms::TMessage& m);

  WindowHandle updownWnd_;
};

class TSkinTabSheet : public TSkinControl {
 public:
  explicit TSkinTabSheet(forms::TComponent* AOwner);
  // Started with the skin's ButtonFace lent as the page's colour.
  void Init(TSkinControlHost* sf, TSkinData* sd, forms::TCanvas* acanvas, bool acolor) override;
  bool BeforeProc(forms::TMessage& m) override;

 private:
  void OnPaint(forms::TMessage& m);
  void OnPrint(forms::TMessage& m);
  void FillClient(HDC dc) const;
};

}  // namespace lbb::skin
