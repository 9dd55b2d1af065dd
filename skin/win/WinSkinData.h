// TSkinData: the skin data component that a form carries. It owns the current skin as a
// compressed block (the "SkinStream" property), parses it into the skin object model
// (TSkinModel), publishes the settings that say what is skinned, and starts, updates and
// stops skinning through the skin manager. The manager is reached through TSkinManagerSeam;
// until a manager is installed the calls do nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "forms/Bitmap.h"
#include "forms/Controls.h"
#include "forms/HintWindow.h"
#include "forms/ImgList.h"
#include "forms/Strings.h"
#include "forms/core/Component.h"
#include "skin/data/SkinModel.h"
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
// The kinds of container whose children are skinned (all of them unless changed in code).
enum TWinContainer : int {
  xccForm,
  xccFrame,
  xccToolbar,
  xccCoolbar,
  xccControlbar,
  xccPanel,
  xccScrollBox,
  xccGroupBox,
  xccTabSheet,
  xccPageScroller
};

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

// The stored bytes of the "SkinStream" property for the compressed skin block `block` (its
// byte count, then the block), as a form file holds them.
forms::TBytes SkinStreamOf(std::span<const uint8_t> block);

// Shows the skin reader's messages (a skin of an unknown version) in the application's
// message box; the program calls it once at start-up.
void ShowSkinMessagesInBoxes();

// The framework control that owns the native window `hwnd` (through its "ControlOfs" window
// property); null for windows of other modules and threads or without one.
forms::TWinControl* ControlOfWindow(HWND hwnd);
// Asks the platform for a mouse-leave notification on `hwnd`; false when the platform lacks
// the call or refuses.
bool TrackMouseLeave(HWND hwnd);

// The deferred actions the skin manager runs on its timer.
enum class TSkinAction : int {
  saSkinAll = 1,      // skin every form
  saUnskinAll = 2,    // unskin every form
  saSkinChanged = 3,  // the skin data got a new skin: the forms that use it take it over
  saPurgeForms = 6,   // free the form skinners marked for disposal
  saReskinForm = 7,   // take the skinner off one window (Lpara) and skin it afresh
};
// How long the skin data lets an action wait, so that the message handling that asked for it
// finishes first.
constexpr int kSkinActionDelayMs = 250;

// The manager's state: not started until a window is first activated (or a component of a
// form type other than the main form's loads, each of which counts one up), running from 1
// on, shutting down at 4.
enum class TSkinManagerState : int { msNotStarted = 0, msRunning = 1, msShuttingDown = 4 };
// The state after one more component of a form type other than the main form's loaded.
constexpr TSkinManagerState CountedUp(TSkinManagerState s) {
  return static_cast<TSkinManagerState>(static_cast<int>(s) + 1);
}

// What the skin data asks of the skin manager. The default does nothing.
class TSkinManagerSeam {
 public:
  virtual ~TSkinManagerSeam() = default;
  virtual void Register(TSkinData*) {}
  virtual void Unregister(TSkinData*) {}
  virtual void InstallHooks() {}
  // Skins the top-level window `window` (when skinning is on and the window qualifies).
  virtual void AddForm(HWND /*window*/) {}
  virtual void DeleteSysbtn() {}
  // Runs `action` after `delayMs` milliseconds, with the skin data of SetUpdateData (the
  // re-skin of one window takes the window of SetLpara). Before any window was activated,
  // skin all and unskin all only switch skinning on or off.
  virtual void SetAction(TSkinAction /*action*/, int /*delayMs*/) {}
  virtual void SetActive(bool) {}
  // The component whose skin the next action applies (and whose skin-changed event fires
  // after it).
  virtual void SetUpdateData(TSkinData*) {}
  virtual TSkinManagerState State() const { return TSkinManagerState::msNotStarted; }
  virtual void SetState(TSkinManagerState) {}
  // The window that the re-skin of one window takes.
  virtual void SetLpara(HWND /*window*/) {}
  // Adds a window as a child form.
  virtual void AddChildForm(HWND /*window*/) {}
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
  // Hooks (unhooks) window creation and activation on one more thread.
  virtual void InstallThread(DWORD /*threadId*/) {}
  virtual void UnInstallThread(DWORD /*threadId*/) {}
};
// The manager in use (a no-op until the skin manager installs itself; null restores that).
TSkinManagerSeam& SkinManager();
void SetSkinManager(TSkinManagerSeam* manager);
// Makes (and installs) the skin manager when a skin data component finishes loading or takes
// a new skin while none is installed. The skin engine registers it (UseSkinManager); without
// one the no-op manager stays and windows keep their native look.
using TSkinManagerFactory = TSkinManagerSeam& (*)();
void SetSkinManagerFactory(TSkinManagerFactory factory);

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
  // The same as bytes (the binary property by name); no bytes read as an empty stream.
  forms::TBytes SkinStreamBytes() const;
  void SetSkinStreamBytes(const forms::TBytes& bytes);

  void LoadFromFile(const std::u16string& value);
  void LoadFromStream(TStream& Stream);
  // Takes the skin to a screen of `dpi` pixels per inch (a window moved to it): the skin is
  // parsed again scaled for it, the caption font made for it, and every skinned window
  // re-fitted through the skin-changed action. False when the skin is at that resolution
  // already or holds nothing to parse.
  bool SetScreenDpi(int dpi);
  void LoadFromCollection(const TSkinStore& astore, int aindex);
  // The loaded step, after all stored properties were read: registers with the skin manager
  // and, for the main form's component, asks for everything to be skinned.
  void Loaded() override;
  void Install() { SkinManager().SetAction(TSkinAction::saSkinAll, kSkinActionDelayMs); }
  void Uninstall() { SkinManager().SetAction(TSkinAction::saUnskinAll, kSkinActionDelayMs); }
  void DoFormSkin(HWND ahwnd, const std::u16string& aname, bool& Doskin);
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
  void SkinForm(HWND ahwnd) { SkinManager().AddChildForm(ahwnd); }
  void AddNestForm(forms::TWinControl* fParent, forms::TWinControl* fNested) {
    SkinManager().AddNestForm(fParent, fNested);
  }
  void InstallThread(DWORD aThreadID) { SkinManager().InstallThread(aThreadID); }
  void UnInstallThread(DWORD aThreadID) { SkinManager().UnInstallThread(aThreadID); }
  // Asks the manager to re-skin `aform`'s window.
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

  HWND formhwnd = nullptr;  // the window last asked about by DoFormSkin
  bool MenuMsg = true;
  bool FInDLL = false;
  TSkinSet FContainers = SetOf(xccPageScroller + 1) - 1;  // every TWinContainer member
  std::vector<std::u16string>* DebugList = nullptr;

  std::function<void(TSkinData*, const std::u16string&, bool&)> OnFormSkin;
  std::function<void(TSkinData*)> OnSkinChanged;
  // Fired around skinning a window: Sender is its form (null for a window without one), aName
  // the window's class name.
  std::function<void(forms::TObject* Sender, HWND ahwnd, const std::u16string& aName)>
      OnBeforeSkinForm;
  std::function<void(forms::TObject* Sender, HWND ahwnd, const std::u16string& aName)>
      OnAfterSkinForm;
  std::function<void(forms::TComponent* Sender, TSkinData* SkinData, forms::TControl* Form,
                     forms::TControl* Control, const std::u16string& ControlClass,
                     forms::TComponent*& SkinnedControl)>
      OnSkinControl;

  std::unique_ptr<forms::TFont> CaptionFont = std::make_unique<forms::TFont>();
  forms::TBitmap SysIcon;              // 24-bit; the application's small icon on 0xFF00FF
  forms::TImageList bmpmenu{nullptr};  // restore, maximize, minimize, close (16 x 16)
  lbb::BrushHandle BGBrush;            // solid Colors[3], made after every parse
  int cxMax = 0, cyMax = 0;
  bool hashint = false;
  int hintcount = 0;

 protected:
  bool IsDesignTime() const override { return (ComponentState() & forms::csDesigning) != 0; }
  void SkinParsed() override;

 private:
  // In a designer, or while the stored settings are read: settings are only stored.
  bool OnlyStoring() const {
    return (ComponentState() & (forms::csDesigning | forms::csLoading)) != 0;
  }

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
