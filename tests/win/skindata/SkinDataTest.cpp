#include <windows.h>

#include <gtest/gtest.h>

#include "forms/Application.h"
#include "forms/Forms.h"
#include "forms/core/Reader.h"
#include "resources/skin/BuiltinSkin.h"
#include "resources/skins/sand/SandSkin.h"
#include "skin/win/WinSkinData.h"
#include "skin/win/WinSkinSystem.h"

namespace {

using namespace lbb;
using namespace lbb::skin;

// Records what the component asks of the manager.
class RecordingManager : public TSkinManagerSeam {
 public:
  void SetAction(TSkinAction action, int delayMs) override {
    actions.push_back(action);
    delay = delayMs;
  }
  TSkinManagerState State() const override { return state; }
  void SetState(TSkinManagerState s) override { state = s; }
  void DeleteSysbtn() override { ++deletes; }
  std::vector<TSkinAction> actions;
  int delay = 0, deletes = 0;
  TSkinManagerState state = TSkinManagerState::msNotStarted;
};

TMemoryStream Block(std::span<const uint8_t> s) {
  return TMemoryStream(std::vector<uint8_t>(s.begin(), s.end()));
}

TEST(SkinData, DefaultsOfANewComponent) {
  TSkinData d(nullptr);
  EXPECT_FALSE(d.Active());
  EXPECT_EQ(d.DisableTag(), 99);
  EXPECT_TRUE(d.Empty);
  EXPECT_TRUE(InSet(d.SkinControls(), xcSystemMenu));
  EXPECT_FALSE(InSet(d.SkinControls(), xcMenuItem));
  EXPECT_FALSE(InSet(d.SkinControls(), xcFastReport));
  EXPECT_EQ(d.Options(), SetOf(xoPreview) | SetOf(xoToolbarBK) | SetOf(xoCaptionButtonHint));
  ASSERT_EQ(d.Skin3rd().size(), 118u);
  EXPECT_EQ(d.Skin3rd().front(), u"TCategoryButtons=scrollbar");
  EXPECT_EQ(d.Skin3rd().back(), u"TcxGroupbox=Groupbox");
  EXPECT_EQ(d.Version(), u"5.40.07.15");
  d.SetVersion(u"1");
  EXPECT_EQ(d.Version(), u"5.40.07.15");
  EXPECT_TRUE(d.MenuUpdate());
  EXPECT_FALSE(d.MenuMerge());
  EXPECT_EQ(d.SkinFormtype(), TSkinFormType::sfMainform);
  EXPECT_EQ(lbb::forms::GetEnumProp(&d, u"SkinFormtype"), u"sfMainform");
  EXPECT_EQ(lbb::forms::GetIntProp(&d, u"DisableTag"), 99);
}

TEST(SkinData, SkinStreamRoundTripParsesAtOnce) {
  TSkinData a(nullptr);
  TMemoryStream block = Block(lbb::resources::BuiltinSkin());
  a.LoadFromStream(block);
  EXPECT_FALSE(a.Empty);
  TMemoryStream stored;
  a.WriteSkinStream(stored);
  EXPECT_EQ(stored.Size(), 4 + static_cast<int64_t>(lbb::resources::BuiltinSkin().size()));
  stored.SetPosition(0);
  TSkinData b(nullptr);
  b.ReadSkinStream(stored);
  EXPECT_FALSE(b.Empty);
  EXPECT_EQ(b.SkinName, u"Slate");
  TSkinData empty(nullptr);
  TMemoryStream none;
  empty.WriteSkinStream(none);
  EXPECT_EQ(none.Size(), 4);
}

TEST(SkinData, SkinStreamByName) {
  TSkinData a(nullptr);
  EXPECT_EQ(lbb::forms::GetBinaryProp(&a, u"SkinStream"), lbb::forms::TBytes(4, 0));
  TMemoryStream block = Block(lbb::resources::BuiltinSkin());
  a.LoadFromStream(block);
  const lbb::forms::TBytes stored = lbb::forms::GetBinaryProp(&a, u"SkinStream");
  ASSERT_EQ(stored.size(), 4 + lbb::resources::BuiltinSkin().size());
  TSkinData b(nullptr);
  ASSERT_TRUE(lbb::forms::SetBinaryProp(&b, u"skinstream", stored));
  EXPECT_FALSE(b.Empty);
  EXPECT_EQ(b.SkinName, u"Slate");
  EXPECT_EQ(lbb::forms::GetBinaryProp(&b, u"SkinStream"), stored);
  // No bytes store an empty stream.
  ASSERT_TRUE(lbb::forms::SetBinaryProp(&b, u"SkinStream", {}));
  EXPECT_EQ(lbb::forms::GetBinaryProp(&b, u"SkinStream"), lbb::forms::TBytes(4, 0));
}

// Notes what the component looked like when it registered (its loaded step).
class LoadWatcher : public RecordingManager {
 public:
  void Register(TSkinData* d) override {
    ++registrations;
    stateAtLoaded = d->ComponentState();
    activeAtLoaded = d->Active();
    emptyAtLoaded = d->Empty;
    disableTagAtLoaded = d->DisableTag();
  }
  int registrations = 0, disableTagAtLoaded = 0;
  lbb::forms::TComponentState stateAtLoaded = 0xFF;
  bool activeAtLoaded = false, emptyAtLoaded = true;
};

TEST(SkinData, AFormReadWithSkinDataRunsItsLoadedStepOnceAfterTheSettings) {
  if (!lbb::forms::Application->Initialized()) lbb::forms::Application->Initialize();
  LoadWatcher m;
  SetSkinManager(&m);
  {
    lbb::forms::TForm form(nullptr);
    auto* d = new TSkinData(&form);
    d->SetName(u"SkinData1");
    const auto skin = lbb::resources::SandSkin();
    lbb::forms::TBytes stream(4, 0);
    const auto count = static_cast<uint32_t>(skin.size());
    for (int i = 0; i < 4; ++i)
      stream[i] = static_cast<uint8_t>(count >> (8 * i));
    stream.insert(stream.end(), skin.begin(), skin.end());
    using P = lbb::forms::TStoredProperty;
    // The skin comes first: setting Active while the form is read must not act on it yet.
    lbb::forms::ReadComponents(form,
                               {{d,
                                 {P::Binary(u"SkinStream", stream), P::Text(u"Active", u"True"),
                                  P::Text(u"DisableTag", u"5")}}});
    EXPECT_EQ(m.registrations, 1);
    EXPECT_TRUE(m.activeAtLoaded);
    EXPECT_FALSE(m.emptyAtLoaded);
    EXPECT_EQ(m.disableTagAtLoaded, 5);
    EXPECT_EQ(m.stateAtLoaded & lbb::forms::csReading, 0);
    EXPECT_EQ(d->ComponentState(), 0);
    // One request to skin everything, from the loaded step; none while reading.
    EXPECT_EQ(m.actions, std::vector<TSkinAction>{TSkinAction::saSkinAll});
    EXPECT_EQ(m.state, TSkinManagerState::msNotStarted);
    // After the read, Active acts at once.
    d->SetActive(false);
    EXPECT_EQ(m.actions.back(), TSkinAction::saUnskinAll);
  }
  SetSkinManager(nullptr);
}

TEST(SkinData, LoadedAndActiveGoThroughTheManager) {
  RecordingManager m;
  SetSkinManager(&m);
  {
    TSkinData d(nullptr);
    d.SetActive(true);  // empty: nothing asked
    EXPECT_TRUE(m.actions.empty());
    d.Loaded();
    EXPECT_FALSE(d.Active());  // no skin: switched off
    EXPECT_FALSE(InSet(d.SkinControls(), xcMenuItem));
    TMemoryStream block = Block(lbb::resources::SandSkin());
    d.LoadFromStream(block);
    EXPECT_EQ(m.deletes, 1);
    d.SetActive(true);
    ASSERT_EQ(m.actions.size(), 1u);
    EXPECT_EQ(m.actions[0], TSkinAction::saSkinAll);
    EXPECT_EQ(m.delay, 250);
    EXPECT_EQ(m.state, TSkinManagerState::msRunning);
    block.SetPosition(0);
    d.LoadFromStream(block);  // a new skin while skinning runs: action 3
    EXPECT_EQ(m.actions.back(), TSkinAction::saSkinChanged);
    d.SetActive(false);
    EXPECT_EQ(m.actions.back(), TSkinAction::saUnskinAll);
  }
  SetSkinManager(nullptr);
}

TEST(SkinData, LoadFromCollectionPastTheEndChangesNothing) {
  TSkinStore store;
  TSkinCollectionItem& item = store.Store().Add();
  TMemoryStream sand = Block(lbb::resources::SandSkin());
  item.ReadData(sand);
  TSkinData d(nullptr);
  d.LoadFromCollection(store, 1);
  EXPECT_TRUE(d.Empty);
  d.LoadFromCollection(store, 0);
  EXPECT_FALSE(d.Empty);
  EXPECT_EQ(d.SkinName, u"Sand");
  d.LoadFromCollection(store, 1);
  EXPECT_FALSE(d.Empty);
}

TEST(SkinData, FormVetoAndEnumerationProperties) {
  TSkinData d(nullptr);
  bool skin = true;
  d.DoFormSkin(nullptr, u"SysMonthCal32", skin);
  EXPECT_FALSE(skin);
  skin = true;
  d.DoFormSkin(nullptr, u"TfrPreview", skin);
  EXPECT_TRUE(skin);
  d.SetSkinControls(d.SkinControls() | SetOf(xcFastReport));
  d.DoFormSkin(nullptr, u"TfrPreview", skin);
  EXPECT_FALSE(skin);
  TSkinData::ChangeProperty(&d, u"SkinFormtype", u"sfDialog");
  EXPECT_EQ(d.SkinFormtype(), TSkinFormType::sfDialog);
  TSkinData::ChangeProperty(&d, u"DisableTag", u"5");  // not an enumeration
  EXPECT_EQ(d.DisableTag(), 99);
}

TEST(SkinData, AssignedEventsDecideAndFire) {
  TSkinData d(nullptr);
  std::vector<std::u16string> asked;
  // An assigned form-skin event decides alone: it may skin what the built-in rule refuses.
  d.OnFormSkin = [&](TSkinData* sender, const std::u16string& name, bool& doSkin) {
    EXPECT_EQ(sender, &d);
    asked.push_back(name);
    doSkin = name != u"TMyForm";
  };
  const HWND window = GetDesktopWindow();
  bool skin = true;
  d.DoFormSkin(window, u"SysMonthCal32", skin);
  EXPECT_TRUE(skin);
  EXPECT_EQ(d.formhwnd, window);
  d.DoFormSkin(nullptr, u"TMyForm", skin);
  EXPECT_FALSE(skin);
  EXPECT_EQ(asked, (std::vector<std::u16string>{u"SysMonthCal32", u"TMyForm"}));
  EXPECT_EQ(d.formhwnd, nullptr);

  d.DoSkinChanged();  // nothing assigned: nothing happens
  int changed = 0;
  d.OnSkinChanged = [&](TSkinData* sender) {
    EXPECT_EQ(sender, &d);
    ++changed;
  };
  d.DoSkinChanged();
  EXPECT_EQ(changed, 1);
}

TEST(SkinData, WindowsSystemAndMissingFile) {
  TWinSkinSystem sys;
  // A program with the form library resolves every system colour from the platform.
  EXPECT_EQ(ColorToRGB(SysColor(kColorBtnFace)), static_cast<uint32_t>(GetSysColor(COLOR_BTNFACE)));
  EXPECT_GT(sys.SystemMetric(kSmCxHScroll), 0);
  EXPECT_TRUE(sys.NamedBitmap(u"NO_SUCH_BITMAP").Empty());
  TSkinData d(nullptr);
  d.LoadFromFile(u"no-such-skin.skn");
  EXPECT_TRUE(d.Empty);
  EXPECT_EQ(d.SkinFile(), u"no-such-skin.skn");
}

}  // namespace
