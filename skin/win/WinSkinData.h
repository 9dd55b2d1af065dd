// TSkinData: the skin data component that a form carries. It owns the current skin as a
// compressed block (the "SkinStream" property), parses it into the skin object model
// (TSkinModel), publishes the settings that say what is skinned, and starts, updates and
// stops skinning through the skin manager. The manager is reached through TSkinManagerSeam;
// until a manager is installed the calls do nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/Bitmap.h"
#include "forms/core/Component.h"
#include "forms/Controls.h"
#include "forms/HintWindow.h"
#include "forms/ImgList.h"
#include "skin/data/SkinModel.h"
#include "forms/Strings.h"
#include "skin/data/WinSkinStore.h"

namespace lbb::skin {

enum TSkinControlType : int {
  xcMainMenu,
  xcPopupMenu,
  xcMenuItem,
  xcToolbar,
  xcControlbar,
  xcCombo,
  xcCheckBox,
  xcRadioButton,
  xcProgress,
  xcScrollbar,
  xcEdit,
  xcButton,
  xcBitBtn,
  xcSpeedButton,
  xcSpin,
  xcPanel,
  xcGroupBox,
  xcStatusBar,
  xcTab,
  xcTrackBar,
  xcSystemMenu,
  xcFastReport
};
enum TSkinOption : int {
  xoMDIScrollbar,
  xoMenuMerge,
  xoTransparent,
  xoPreview,
  xoParentBackGround,
  xoNoFocusRect,
  xoToolbarBK,
  xoToolbarButton,
  xoMDIChildBorder,
  xoMenuBG,
  xoCaptionButtonHint,
  xoFormScrollbar
};
enum class TSkinFormType : int { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };

// A set of enumeration members as bits (member n = bit n).
using TSkinSet = uint32_t;
// A set as the form files write it ("[xoPreview,xoToolbarBK]"), and back; unknown names are
// skipped.
std::u16string SetToText(TSkinSet s, const std::vector<std::u16string>& names);
TSkinSet TextToSet(std::u16string_view text, const std::vector<std::u16string>& names);
const std::vector<std::u16string>& SkinControlTypeNames();
// A new component's SkinControls: every kind from the main menu to the system menu but the
// menu item. And its Options.
TSkinSet DefaultSkinControls();
const std::vector<std::u16string>& SkinOptionNames();
constexpr TSkinSet SetOf(int member) {
  return TSkinSet{1} << member;
}
constexpr bool InSet(TSkinSet s, int member) {
  return (s & SetOf(member)) != 0;
}
constexpr TSkinSet kDefaultSkinOptions =
    SetOf(xoPreview) | SetOf(xoToolbarBK) | SetOf(xoCaptionButtonHint);

class TSkinData;

// The framework control that owns the native window `hwnd` (through its "ControlOfs" window
// property); null for windows of other modules and threads or without one.
forms::TWinControl* ControlOfWindow(HWND hwnd);
// Asks the platform for a mouse-leave notification on `hwnd`; false when the platform lacks
// the call or refuses.
bool TrackMouseLeave(HWND hwnd);

// What the skin data asks of the skin manager. The default does nothing.
class TSkinManagerSeam {
 public:
  virtual ~TSkinManagerSeam() = default;
  virtual void Register(TSkinData*) {}
  virtual void Unregister(TSkinData*) {}
  virtual void InstallHooks() {}
  virtual void AddForm(void* /*window*/) {}
  virtual void DeleteSysbtn() {}
  // Asks for an action code (1 skin all, 2 unskin all, 3 skin changed, 7 re-skin one window)
  // after `delayMs` milliseconds, applying `data`'s skin.
  virtual void SetAction(int /*code*/, int /*delayMs*/, TSkinData* /*data*/) {}
  virtual void SetActive(bool) {}
  // The component whose skin the next action applies.
  virtual void SetUpdateData(TSkinData*) {}
  virtual int State() const { return 0; }
  virtual void SetState(int) {}
  // The window that action 7 re-skins.
  virtual void SetLpara(void* /*window*/) {}
  // Adds a window as a child form.
  virtual void AddChildForm(void* /*window*/) {}
  // Asks the form skinner of `parent` to (re)attach skinners to `control`, or to all of its
  // controls when `control` is null.
  virtual void UpdateSkinControl(forms::TWinControl* /*parent*/, forms::TControl* /*control*/) {}
  // Removes and frees the skinner of a non-windowed control from `parent`'s form skinner.
  virtual void DeleteGraphicControl(forms::TWinControl* /*parent*/, forms::TControl* /*control*/) {}
  // Asks the form skinner of `parent` to rebuild its popup-menu skinning.
  virtual void UpdateMenu(forms::TWinControl* /*parent*/) {}
  // Every form skinner's menu bar refreshes its buttons.
  virtual void RefreshMenuBars() {}
  // Makes `nested` a nested form of `parent`'s form skinner, when it has one.
  virtual void AddNestForm(forms::TWinControl* /*parent*/, forms::TWinControl* /*nested*/) {}
  virtual void InstallThread(unsigned long /*threadId*/) {}
  virtual void UnInstallThread(unsigned long /*threadId*/) {}
};
// The manager in use (a no-op until the skin manager installs itself; null restores that).
TSkinManagerSeam& SkinManager();
void SetSkinManager(TSkinManagerSeam* manager);

class TSkinData : public forms::TComponent, public TSkinModel {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TSkinData(forms::TComponent* AOwner);
  ~TSkinData() override;

  // Published settings.
  bool Active() const { return factive; }
  void SetActive(bool value);
  int DisableTag() const { return fdisableTag; }
  void SetDisableTag(int value) { fdisableTag = value; }
  int64_t DisableTagProp() const { return fdisableTag; }
  void SetDisableTagProp(int64_t value) { fdisableTag = static_cast<int>(value); }
  TSkinSet SkinControls() const { return FSkinControls; }
  void SetSkinControls(TSkinSet value) { FSkinControls = value; }
  TSkinSet Options() const { return fSkinOptions; }
  void SetOptions(TSkinSet value) { fSkinOptions = value; }
  const std::vector<std::u16string>& Skin3rd() const { return f3rdControls.Items(); }
  void SetSkin3rd(const std::vector<std::u16string>& lines);
  forms::TStrings* Skin3rdStrings() const { return &f3rdControls; }
  // Assigning copies the lines.
  void SetSkin3rdStrings(forms::TStrings* lines);
  std::u16string SkinControlsText() const {
    return SetToText(FSkinControls, SkinControlTypeNames());
  }
  void SetSkinControlsText(const std::u16string& t) {
    FSkinControls = TextToSet(t, SkinControlTypeNames());
  }
  std::u16string OptionsText() const { return SetToText(fSkinOptions, SkinOptionNames()); }
  void SetOptionsText(const std::u16string& t) { fSkinOptions = TextToSet(t, SkinOptionNames()); }
  std::u16string SkinFile() const { return fskinfile; }
  void SetSkinFile(const std::u16string& value) { LoadFromFile(value); }
  std::u16string SkinStore() const;
  void SetSkinStore(const std::u16string&) {}
  TSkinFormType SkinFormtype() const { return ftype; }
  void SetSkinFormtype(TSkinFormType value) { ftype = value; }
  std::u16string Version() const { return fversion; }
  void SetVersion(const std::u16string&) {}
  bool MenuUpdate() const { return fmenuauto; }
  void SetMenuUpdate(bool value) { fmenuauto = value; }
  bool MenuMerge() const { return fmenumerge; }
  void SetMenuMerge(bool value) { fmenumerge = value; }

  // The "SkinStream" property: a signed 32-bit byte count n, then n bytes of `data`.
  void WriteSkinStream(TStream& stream) const;
  // Reads it back; with n > 0 (outside design time) the skin is parsed at once.
  void ReadSkinStream(TStream& stream);

  void LoadFromFile(const std::u16string& value);
  void LoadFromStream(TStream& Stream);
  void LoadFromCollection(const TSkinStore& astore, int aindex);
  // The loaded step, after all stored properties were read.
  void Loaded();
  void Install() { SkinManager().SetAction(1, 250, this); }
  void Uninstall() { SkinManager().SetAction(2, 250, this); }
  void DoFormSkin(void* ahwnd, const std::u16string& aname, bool& Doskin);
  void DoSkinChanged() {
    if (OnSkinChanged) OnSkinChanged(this);
  }
  // Sets the enumeration property `aprop` of `control` to the member named `value`.
  static void ChangeProperty(forms::TObject* control, const std::u16string& aprop,
                             const std::u16string& value);
  void UpdateSkinControl(forms::TWinControl* fParent, forms::TControl* acontrol) {
    SkinManager().UpdateSkinControl(fParent, acontrol);
  }
  void DeleteGraphicControl(forms::TWinControl* fParent, forms::TControl* acontrol) {
    SkinManager().DeleteGraphicControl(fParent, acontrol);
  }
  void UpdateMenu(forms::TWinControl* fParent) { SkinManager().UpdateMenu(fParent); }
  // Stores `done` in MenuMsg; when true every form skinner's menu bar refreshes its buttons.
  void UpdateMainMenu(bool done);
  void SkinForm(void* ahwnd) { SkinManager().AddChildForm(ahwnd); }
  void AddNestForm(forms::TWinControl* fParent, forms::TWinControl* fNested) {
    SkinManager().AddNestForm(fParent, fNested);
  }
  void InstallThread(unsigned long aThreadID) { SkinManager().InstallThread(aThreadID); }
  void UnInstallThread(unsigned long aThreadID) { SkinManager().UnInstallThread(aThreadID); }
  // Asks the manager to re-skin `aform`'s window (action 7).
  void ChangeForm(forms::TWinControl* aform);
  void EnableSkin(bool b) { SkinManager().SetActive(b); }

  // The system caption font, read at the loaded step.
  void ReadCaptionFont();
  // SysIcon from the application window's small (else big) icon; unchanged without one.
  void GetAppIcon();
  // The platform's scroll-bar information; false when the platform lacks the call.
  static bool GetScrollBarInfo(HWND hwnd, LONG idObject, PSCROLLBARINFO psbi);
  static bool HasScrollBarInfo();
  // Caption-button hints (only with xoCaptionButtonHint).
  void ActivateHint(const RECT& aRect, const std::u16string& AHint);
  void HideHint();
  bool IsHint() const { return hashint; }
  HWND HintHandle() const;

  void DoDebug(const std::u16string& s) {
    if (DebugList) DebugList->push_back(s);
  }

  // Design time and reading state (set by the form reader).
  bool designing = false;
  bool reading = false;
  void* formhwnd = nullptr;
  bool MenuMsg = true;
  bool FInDLL = false;
  std::vector<std::u16string>* DebugList = nullptr;

  std::function<void(TSkinData*, const std::u16string&, bool&)> OnFormSkin;
  std::function<void(TSkinData*)> OnSkinChanged;
  std::function<void(TSkinData*, void* ahwnd, const std::u16string& aName)> OnBeforeSkinForm;
  std::function<void(TSkinData*, void* ahwnd, const std::u16string& aName)> OnAfterSkinForm;
  std::function<void(forms::TComponent* Sender, TSkinData* SkinData, forms::TControl* Form,
                     forms::TControl* Control, const std::u16string& ControlClass,
                     forms::TComponent*& SkinnedControl)>
      OnSkinControl;

  std::unique_ptr<forms::TFont> CaptionFont = std::make_unique<forms::TFont>();
  forms::TBitmap SysIcon;              // 24-bit; the application's small icon on 0xFF00FF
  forms::TImageList bmpmenu{nullptr};  // restore, maximize, minimize, close (16 x 16)
  lbb::BrushHandle BGBrush;          // solid Colors[3], made after every parse
  int cxMax = 0, cyMax = 0;
  bool hashint = false;
  int hintcount = 0;

 protected:
  bool IsDesignTime() const override { return designing; }
  void SkinParsed() override;

 private:
  void ApplySkin();
  void LoadMenuGlyphs();

  bool factive = false;
  int fdisableTag = 99;
  TSkinSet FSkinControls;
  TSkinSet fSkinOptions;
  TSkinFormType ftype = TSkinFormType::sfMainform;
  mutable forms::TStrings f3rdControls;
  std::unique_ptr<forms::THintWindow> fhintwindow;
  bool fmenuauto = true;
  bool fmenumerge = false;
  std::u16string fskinfile;
  std::u16string fversion = u"5.40.07.15";
};

}  // namespace lbb::skin
