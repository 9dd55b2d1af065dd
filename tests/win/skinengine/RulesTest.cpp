// The skin manager's and the control-kind mapping's rules on real windows: which windows the
// manager refuses, which skinner each Skin3rd kind, each row of the mapping chain and each
// style of a bare button window gets, and the deferred actions of a skin data component that
// skins only its own form.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <typeinfo>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "base/Text.h"
#include "forms/Application.h"
#include "forms/Buttons.h"
#include "forms/ComboBox.h"
#include "forms/Forms.h"
#include "forms/ListView.h"
#include "forms/RangeCtrls.h"
#include "forms/StdCtrls.h"
#include "forms/core/Properties.h"
#include "resources/skins/sand/SandSkin.h"
#include "skin/controls/WinSkinBoxes.h"
#include "skin/controls/WinSkinButtons.h"
#include "skin/controls/WinSkinCheck.h"
#include "skin/controls/WinSkinCombo.h"
#include "skin/controls/WinSkinEdit.h"
#include "skin/controls/WinSkinObjImage.h"
#include "skin/controls/WinSkinRange.h"
#include "skin/controls/WinSkinScrollbars.h"
#include "tests/win/skinengine/EngineSupport.h"

namespace lbb::skin::test {
namespace {

// A window class of this program named `name` with the default procedure (or `proc`).
const wchar_t* Class(const wchar_t* name, WNDPROC proc = &DefWindowProcW) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = name;
  RegisterClassExW(&wc);  // fails harmlessly when registered by an earlier test
  return name;
}

class ManagerRules : public EngineTest {
 protected:
  HWND Top(const wchar_t* cls, DWORD style = WS_OVERLAPPEDWINDOW, HWND parent = nullptr) {
    HWND h = CreateWindowExW(0, cls, L"w", style, 50, 50, 240, 160, parent, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    windows.push_back(h);
    return h;
  }
};

LRESULT CALLBACK MdiChildProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefMDIChildProcW(h, msg, wParam, lParam);
}

TEST_F(ManagerRules, AddFormRefusesMdiClientChildrenOtherModulesEmptyWindowsAndExcludedNames) {
  mgr->SetActive(false);  // nothing is skinned while the windows are made
  HWND frame = Top(Class(L"LbbRulesPlain"));
  CLIENTCREATESTRUCT ccs{nullptr, 5000};
  HWND client = CreateWindowExW(0, L"MDIClient", nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 200, 120,
                                frame, nullptr, GetModuleHandleW(nullptr), &ccs);
  ASSERT_NE(client, nullptr);
  HWND plainChild = Top(L"LbbRulesPlain", WS_CHILD | WS_CAPTION | WS_VISIBLE, client);
  HWND mdiChild = CreateMDIWindowW(Class(L"LbbRulesMdiChild", &MdiChildProc), L"c", 0, 0, 0, 100,
                                   80, client, GetModuleHandleW(nullptr), 0);
  ASSERT_TRUE(plainChild && mdiChild);
  MoveWindow(mdiChild, 0, 0, 0, 0, FALSE);
  HWND dialog = MakeDialog();
  windows.push_back(dialog);
  Start();
  // A child of an MDI client that is no MDI child is left alone, unless child forms are
  // skinned; an MDI child is skinned even with no area.
  EXPECT_FALSE(mgr->AddFormHwnd(plainChild));
  mgr->AddChildForm(plainChild);
  EXPECT_NE(mgr->FindForm(plainChild), nullptr);
  EXPECT_TRUE(mgr->AddFormHwnd(mdiChild));
  // Windows of another module: only a form object's or a dialog's.
  const auto user32 = reinterpret_cast<LONG_PTR>(GetModuleHandleW(L"user32.dll"));
  HWND foreign = Top(L"LbbRulesPlain");
  SetWindowLongPtrW(foreign, GWLP_HINSTANCE, user32);
  EXPECT_FALSE(mgr->AddFormHwnd(foreign));
  SetWindowLongPtrW(dialog, GWLP_HINSTANCE, user32);
  EXPECT_TRUE(mgr->AddFormHwnd(dialog));
  forms::TForm form(nullptr);
  form.SetBounds(100, 100, 200, 150);
  form.HandleNeeded();
  SetWindowLongPtrW(form.Handle(), GWLP_HINSTANCE, user32);
  EXPECT_TRUE(mgr->AddFormHwnd(form.Handle()));
  // A top-level window with no area.
  HWND empty = Top(L"LbbRulesPlain", WS_POPUP);
  MoveWindow(empty, 10, 10, 0, 40, FALSE);
  ASSERT_EQ(ClientOf(empty).right, 0);
  EXPECT_FALSE(mgr->AddFormHwnd(empty));
  MoveWindow(empty, 10, 10, 40, 40, FALSE);
  EXPECT_TRUE(mgr->AddFormHwnd(empty));
  // Excluded class names: two wherever they appear in the name, the application's exactly.
  EXPECT_FALSE(mgr->AddFormHwnd(Top(Class(L"LbbTcxPopupEditPopupWindow2"))));
  EXPECT_FALSE(mgr->AddFormHwnd(Top(Class(L"LbbTTERenderWindow"))));
  EXPECT_TRUE(mgr->AddFormHwnd(Top(Class(L"TApplicationX"))));
  HWND app = forms::Application->Handle();
  RECT was{};
  GetWindowRect(app, &was);
  SetWindowPos(app, nullptr, 0, 0, 60, 40, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  EXPECT_FALSE(mgr->AddFormHwnd(app)) << "the application's window has an area now";
  SetWindowPos(app, nullptr, 0, 0, was.right - was.left, was.bottom - was.top,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  EXPECT_EQ(mgr->FindForm(app), nullptr);
}

TEST_F(ManagerRules, CanSkinWindowRefusesTreeViewPopupsAndAsksTheApplicationLast) {
  mgr->SetActive(false);
  HWND tree = Top(Class(L"TPopupDbTreeView"));
  HWND report = Top(Class(L"TfrDesignerForm"));
  HWND plain = Top(Class(L"LbbRulesPlain"));
  Start();
  EXPECT_FALSE(mgr->CanSkinWindow(tree, u"TPopupDbTreeView"));  // ASCII case ignored
  EXPECT_TRUE(mgr->CanSkinWindow(plain, u"LbbRulesPlain"));
  // The report designer's forms only with the FastReport member.
  data->SetSkinControls(data->SkinControls() | SetOf(xcFastReport));
  EXPECT_FALSE(mgr->CanSkinWindow(report, u"TfrDesignerForm"));
  data->SetSkinControls(data->SkinControls() & ~SetOf(xcFastReport));
  EXPECT_TRUE(mgr->CanSkinWindow(report, u"TfrDesignerForm"));
  // The application's event has the last word, either way.
  std::vector<std::pair<std::u16string, bool>> asked;
  data->OnFormSkin = [&](TSkinData*, const std::u16string& name, bool& skin) {
    asked.emplace_back(name, skin);
    skin = !skin;
  };
  EXPECT_TRUE(mgr->AddFormHwnd(tree));
  EXPECT_FALSE(mgr->AddFormHwnd(plain));
  EXPECT_EQ(asked, (std::vector<std::pair<std::u16string, bool>>{{u"TPopupDbTreeView", false},
                                                                 {u"LbbRulesPlain", true}}));
  EXPECT_EQ(data->formhwnd, plain);
  data->OnFormSkin = nullptr;
  // Without a main-form component nothing is refused.
  mgr->RemoveSkinData(data);
  ASSERT_EQ(mgr->MainData(), nullptr);
  EXPECT_TRUE(mgr->CanSkinWindow(tree, u"TPopupDbTreeView"));
  mgr->AddSkinData(data);
}

// ---- the mapping

// A control of base B that reports the class name it is given and publishes what other
// vendors' controls of that name have: "Transparent", and "Kind" of a dropdown button.
template <class B>
class TVendor : public B {
 public:
  TVendor(forms::TComponent* owner, std::u16string name)
      : B(owner), info_(std::move(name), &B::StaticClassInfo()) {
    info_.Add(forms::BoolProp<TVendor>(u"Transparent", &TVendor::See, &TVendor::SetSee));
    info_.Add(forms::EnumProp<TVendor, int>(u"Kind", {u"cxbkStandard", u"cxbkDropDownButton"},
                                            &TVendor::Kind, &TVendor::SetKind));
  }
  const forms::TClassInfo& ClassInfo() const override { return info_; }
  bool See() const { return see_; }
  void SetSee(bool v) { see_ = v; }
  int Kind() const { return kind_; }
  void SetKind(int v) { kind_ = v; }

 private:
  forms::TClassInfo info_;
  bool see_ = false;
  int kind_ = 0;
};

class MapRules : public SkinnedFormTest {
 protected:
  MapRules() : SkinnedFormTest(420, 300) {}
  // A control of base B on `parent` (the form by default), owned outside the form, so that
  // only an explicit AddComp maps it.
  template <class B = forms::TWinControl>
  B* Make(std::u16string name, forms::TWinControl* parent = nullptr) {
    auto* c = new TVendor<B>(owner.get(), std::move(name));
    c->SetParent(parent ? parent : form.get());
    c->SetBounds(10, 10, 120, 60);
    return c;
  }
  template <class C>
  C* Real(forms::TWinControl* parent = nullptr) {
    auto* c = new C(owner.get());
    c->SetParent(parent ? parent : form.get());
    c->SetBounds(10, 10, 120, 60);
    return c;
  }
  forms::TControl* Map(forms::TControl* c) {
    sf->AddComp(c, form.get());
    return c;
  }
  // The class of the one skinner of a control or window; "none", or "several".
  std::string KindOf(const forms::TControl* c, HWND h = nullptr) const {
    std::vector<const TSkinControl*> found;
    for (const TSkinControl* s : sf->Controls())
      if ((c && (s->control == c || s->GControl == c || s->Owner() == c)) || (h && s->hwnd == h))
        found.push_back(s);
    if (found.size() > 1) return "several";
    return found.empty() ? "none" : typeid(*found[0]).name();
  }
  template <class S>
  static std::string Is() {
    return typeid(S).name();
  }
  static std::string Prop(forms::TControl* c, const char16_t* name) {
    return TextToUtf8(forms::GetEnumProp(c, name));
  }
  void Gate(int member, bool on) {
    data->SetSkinControls(on ? data->SkinControls() | SetOf(member)
                             : data->SkinControls() & ~SetOf(member));
  }
};

TEST_F(MapRules, Skin3rdScrollButtonEditPanelAndTrackBarKinds) {
  data->SetSkin3rd({u"TSingle=singlescrollbar", u"TDouble=scrollbar", u"THolder=embedscrollbar",
                    u"TcxButton=bitbtn", u"TOtherButton=bitbtn", u"TMyEdit=edit", u"TMyPanel=panel",
                    u"TMyTrack=trackbar"});
  // A single bar has no border of its own; the plain kind has one.
  auto* single = Map(Make(u"TSingle"));
  auto* both = Map(Make(u"TDouble"));
  ASSERT_EQ(KindOf(single), Is<TSkinScrollbar>());
  ASSERT_EQ(KindOf(both), Is<TSkinScrollbar>());
  for (TSkinControl* s : sf->Controls())
    if (s->control == single || s->control == both) {
      EXPECT_EQ(dynamic_cast<TSkinScrollbar*>(s)->border, s->control == both);
      EXPECT_EQ(s->kind, s->control == single ? 1 : 0);
    }
  // An embedding holder gives its scrolled children bars and itself nothing.
  auto* holder = Make(u"THolder");
  auto* memo = Real<forms::TMemo>(holder);
  auto* flat = Make(u"TFlat", holder);
  Map(holder);
  EXPECT_EQ(KindOf(holder), "none");
  EXPECT_EQ(KindOf(memo), Is<TSkinScrollbar>());
  EXPECT_EQ(KindOf(flat), "none");
  // A bit button; the cx button of the dropdown kind is a menu button.
  auto* drop = Make<forms::TBitBtn>(u"TcxButton");
  auto* other = Make<forms::TBitBtn>(u"TOtherButton");
  auto* standard = Make<forms::TBitBtn>(u"TcxButton");
  for (auto* b : {drop, other})
    ASSERT_TRUE(forms::SetPropText(b, u"Kind", u"cxbkDropDownButton"));
  EXPECT_EQ(KindOf(Map(drop)), Is<TSkinMenuButton>());
  EXPECT_EQ(KindOf(Map(other)), Is<TSkinBitButton>());
  EXPECT_EQ(KindOf(Map(standard)), Is<TSkinBitButton>());
  // An edit only with a border.
  auto* framed = Make<forms::TEdit>(u"TMyEdit");
  auto* bare = Make<forms::TEdit>(u"TMyEdit");
  bare->SetBorderStyle(forms::TBorderStyle::bsNone);
  EXPECT_EQ(KindOf(Map(framed)), Is<TSkinEdit>());
  EXPECT_EQ(KindOf(Map(bare)), "none");
  // Panels and track bars turn transparent; the track bar's gate is the buttons'.
  auto* panel = Make<forms::TPanel>(u"TMyPanel");
  panel->SetColor(0x010203);
  EXPECT_EQ(KindOf(Map(panel)), Is<TSkinBox>());
  EXPECT_EQ(Prop(panel, u"Transparent"), "true");
  EXPECT_EQ(panel->Color(), data->Colors[kShemeButtonFace]);
  Gate(xcTrackBar, false);
  auto* track = Make<forms::TTrackBar>(u"TMyTrack");
  EXPECT_EQ(KindOf(Map(track)), Is<TSkinTrackBar>());
  EXPECT_EQ(Prop(track, u"Transparent"), "true");
  Gate(xcButton, false);
  Gate(xcPanel, false);
  auto* nativeTrack = Make<forms::TTrackBar>(u"TMyTrack");
  auto* nativePanel = Make<forms::TPanel>(u"TMyPanel");
  EXPECT_EQ(KindOf(Map(nativeTrack)), "none");
  EXPECT_EQ(KindOf(Map(nativePanel)), "none");
  EXPECT_EQ(Prop(nativeTrack, u"Transparent"), "false");
  EXPECT_EQ(Prop(nativePanel, u"Transparent"), "false");
  EXPECT_EQ(KindOf(Map(Make<forms::TBitBtn>(u"TcxButton"))), "none");
  Gate(xcScrollbar, false);
  EXPECT_EQ(KindOf(Map(Make(u"TSingle"))), "none");
}

TEST_F(MapRules, Skin3rdRadioAndCheckGroupsSkinTheirButtonsByTheirGates) {
  data->SetSkin3rd({u"TMyRadioGroup=radiogroup", u"TMyCheckGroup=checkgroup"});
  struct Row {
    const char16_t* group;
    int off;  // the member switched off; -1 none
    std::string groupKind, plainKind, rzKind;
  };
  const std::string radio = Is<TSkinRadioButton>(), check = Is<TSkinCheckBox>(),
                    image = Is<TSkinObjImage>(), box = Is<TSkinGroupBox>();
  const Row rows[] = {
      {u"TMyRadioGroup", -1, box, radio, image},
      {u"TMyRadioGroup", xcRadioButton, box, "none", "none"},
      {u"TMyRadioGroup", xcGroupBox, "none", "none", "none"},
      {u"TMyRadioGroup", xcPanel, box, radio, image},
      {u"TMyCheckGroup", -1, box, check, image},
      {u"TMyCheckGroup", xcCheckBox, box, check, image},  // the children's gate is the radios'
      {u"TMyCheckGroup", xcRadioButton, box, "none", "none"},
      {u"TMyCheckGroup", xcGroupBox, "none", check, image},
      {u"TMyCheckGroup", xcPanel, "none", "none", "none"},
  };
  const TSkinSet all = data->SkinControls();
  for (const Row& r : rows) {
    SCOPED_TRACE(TextToUtf8(r.group) + " without member " + std::to_string(r.off));
    data->SetSkinControls(all);
    if (r.off >= 0) Gate(r.off, false);
    auto* group = Make(r.group);
    group->SetBounds(10, 10, 200, 120);
    auto* plain = Make(u"TMyButton", group);
    auto* rz = Make(
        r.group == std::u16string(u"TMyRadioGroup") ? u"TRzRadioButton" : u"TRzCheckBox", group);
    Map(group);
    EXPECT_EQ(KindOf(group), r.groupKind);
    EXPECT_EQ(KindOf(plain), r.plainKind);
    EXPECT_EQ(KindOf(rz), r.rzKind);
  }
}

TEST_F(MapRules, TheChainTriesNamesThenTheLibrarysKindsThenTheGeneralRows) {
  auto* panel = Real<forms::TPanel>();
  auto* onPanel = Real<forms::TButton>(panel);
  const std::pair<forms::TControl*, std::string> rows[] = {
      {Real<forms::TMenuButton>(), Is<TSkinMenuButton>()},  // before the bit button
      {Real<forms::TBitBtn>(), Is<TSkinBitButton>()},       // before the push button
      {Real<forms::TButton>(), Is<TSkinButton>()},
      {Real<forms::TMemo>(), Is<TSkinScrollbar>()},  // a scrolled window before an edit
      {Real<forms::TEdit>(), Is<TSkinEdit>()},
      {Real<forms::TListView>(), Is<TSkinListView>()},           // before any scrolled window
      {Make<forms::TEdit>(u"TRichEdit"), Is<TSkinScrollbar>()},  // names before kinds
      {Make<forms::TComboBox>(u"TDBComboBoxEh"), "none"},        // kept as it is
      {panel, Is<TSkinBox>()},
  };
  for (const auto& [c, kind] : rows)
    EXPECT_EQ(KindOf(Map(c)), kind) << TextToUtf8(c->ClassName());
  EXPECT_EQ(KindOf(onPanel), Is<TSkinButton>()) << "a panel's children are mapped with it";
  // A Skin3rd line comes before the names kept as they are.
  data->SetSkin3rd({u"TDBComboBoxEh=combobox"});
  EXPECT_EQ(KindOf(Map(Make<forms::TComboBox>(u"TDBComboBoxEh"))), Is<TSkinComBox>());
}

TEST_F(MapRules, BareButtonWindowsGetTheSkinnerOfTheirStyle) {
  const std::string check = Is<TSkinCheckBox>(), radio = Is<TSkinRadioButton>(),
                    push = Is<TSkinButton>();
  const std::pair<DWORD, std::string> rows[] = {
      {BS_CHECKBOX, check},
      {BS_AUTOCHECKBOX, check},
      {BS_3STATE, check},
      {BS_AUTO3STATE, check},
      {BS_AUTOCHECKBOX | BS_LEFTTEXT, check},
      {BS_RADIOBUTTON, radio},
      {BS_AUTORADIOBUTTON, radio},
      {BS_PUSHBUTTON, push},
      {BS_DEFPUSHBUTTON, push},
      {0x8, push},  // the user button
      {0xA, push},  // the push box
      {0xC, push},  // the split buttons and command links
      {0xD, push},
      {0xE, push},
      {0xF, push},
  };
  auto bare = [&](DWORD style) {
    HWND h = CreateWindowExW(0, L"BUTTON", L"b", WS_CHILD | WS_VISIBLE | style, 5, 5, 90, 20,
                             form->Handle(), nullptr, nullptr, nullptr);
    sf->AddControlh(h);
    return h;
  };
  for (const auto& [style, kind] : rows) {
    HWND h = bare(style);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(KindOf(nullptr, h), kind) << "style " << std::hex << style;
    EXPECT_EQ(SendMessageW(h, SKM_ISSKINNED, 0, 0), 1) << "style " << std::hex << style;
  }
  // Each kind behind its own gate.
  Gate(xcCheckBox, false);
  Gate(xcRadioButton, false);
  EXPECT_EQ(KindOf(nullptr, bare(BS_AUTOCHECKBOX)), "none");
  EXPECT_EQ(KindOf(nullptr, bare(BS_AUTORADIOBUTTON)), "none");
  EXPECT_EQ(KindOf(nullptr, bare(BS_PUSHBUTTON)), push);
}

// ---- a component that skins only its own form

TEST_F(ManagerRules, OnlyThisFormActionsTouchTheOwnersFormAlone) {
  mgr->SetActive(false);  // the forms are shown unskinned
  forms::TForm own(nullptr), other(nullptr), third(nullptr);
  int x = 60;
  for (forms::TForm* f : {&third, &other, &own}) {
    f->SetBounds(x += 80, 100, 300, 200);
    f->ShowForm();
  }
  Settle();
  Start();
  std::unique_ptr<TSkinData> only(MakeSkinData(&own, TSkinFormType::sfOnlyThisForm));
  ASSERT_TRUE(SkinShown(other.Handle()));
  TWinSkinForm* others = mgr->FindForm(other.Handle());
  ASSERT_EQ(others->fsd, data);
  ASSERT_EQ(mgr->FindForm(own.Handle()), nullptr);
  int changed = 0;
  only->OnSkinChanged = [&](TSkinData*) { ++changed; };
  auto run = [&](TSkinAction a) {
    mgr->SetUpdateData(only.get());
    mgr->SetAction(a, 1);
    return PumpUntil([&] { return !mgr->TimerEnabled(); });
  };
  // Skin: its form, not the visible form that is not skinned.
  ASSERT_TRUE(run(TSkinAction::saSkinAll));
  ASSERT_TRUE(WaitSkinned(own.Handle()));
  EXPECT_EQ(mgr->FindForm(own.Handle())->fsd, only.get());
  EXPECT_EQ(mgr->FindForm(third.Handle()), nullptr);
  EXPECT_FALSE(mgr->SkinsChildForms());
  EXPECT_EQ(changed, 1);
  EXPECT_EQ(mgr->UpdateData(), nullptr);
  // A new skin: its form takes it, the other form keeps its own.
  const RECT slate = others->bw;
  TMemoryStream sand(
      std::vector<uint8_t>(resources::SandSkin().begin(), resources::SandSkin().end()));
  only->LoadFromStream(sand);
  ASSERT_TRUE(run(TSkinAction::saSkinChanged));
  ASSERT_TRUE(WaitSkinned(own.Handle()));
  const RECT ownBorders = mgr->FindForm(own.Handle())->bw;
  EXPECT_FALSE(EqualRect(&ownBorders, &slate));
  EXPECT_TRUE(EqualRect(&others->bw, &slate));
  EXPECT_EQ(changed, 2);
  // Purge: the skinner of a destroyed window goes.
  TRawLog log;
  HWND gone = MakeRawWindow(&log);
  ASSERT_TRUE(mgr->AddFormHwnd(gone));
  ASSERT_TRUE(WaitSkinned(gone));
  TWinSkinForm* dead = mgr->FindForm(gone);
  DestroyWindow(gone);
  ASSERT_EQ(std::count(mgr->Forms().begin(), mgr->Forms().end(), dead), 1);
  ASSERT_TRUE(run(TSkinAction::saPurgeForms));
  EXPECT_EQ(std::count(mgr->Forms().begin(), mgr->Forms().end(), dead), 0);
  EXPECT_EQ(mgr->FindForm(other.Handle()), others);
  EXPECT_EQ(changed, 3);
  // Unskin: its form only.
  ASSERT_TRUE(run(TSkinAction::saUnskinAll));
  EXPECT_EQ(mgr->FindForm(own.Handle()), nullptr);
  EXPECT_EQ(mgr->FindForm(other.Handle()), others);
  EXPECT_EQ(changed, 4);
}

}  // namespace
}  // namespace lbb::skin::test
