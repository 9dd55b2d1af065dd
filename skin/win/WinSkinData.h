// TSkinData: the skin data component that a form carries. It owns the current skin as a
// compressed block (the "SkinStream" property), parses it into the skin object model
// (TSkinModel), publishes the settings that say what is skinned, and starts, updates and
// stops skinning through the skin manager. The manager is reached through TSkinManagerSeam;
// until a manager is installed the calls do nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Component.h"
#include "SkinModel.h"
#include "WinSkinStore.h"

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
constexpr TSkinSet SetOf(int member) {
  return TSkinSet{1} << member;
}
constexpr bool InSet(TSkinSet s, int member) {
  return (s & SetOf(member)) != 0;
}

class TSkinData;

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
  const std::vector<std::u16string>& Skin3rd() const { return f3rdControls; }
  void SetSkin3rd(const std::vector<std::u16string>& lines) { f3rdControls = lines; }
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

 protected:
  bool IsDesignTime() const override { return designing; }

 private:
  void ApplySkin();

  bool factive = false;
  int fdisableTag = 99;
  TSkinSet FSkinControls;
  TSkinSet fSkinOptions;
  TSkinFormType ftype = TSkinFormType::sfMainform;
  std::vector<std::u16string> f3rdControls;
  bool fmenuauto = true;
  bool fmenumerge = false;
  std::u16string fskinfile;
  std::u16string fversion = u"5.40.07.15";
};

}  // namespace lbb::skin
