// The control-kind mapping under Wine: which skinner a control object of a skinned form gets
// (the DisableTag and radio groups, the application's own skinner, the Skin3rd list with its
// "nil" kind, its "=" key and its first line winning, the built-in chain) and which a bare
// window gets by its class and button style. Controls made after the form was skinned are
// owned elsewhere, so that only the explicit AddComp maps them.
#include <windows.h>

#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "forms/Forms.h"
#include "forms/StdCtrls.h"
#include "skin/controls/WinSkinObjImage.h"
#include "skin/controls/WinSubClass.h"
#include "tests/win/skinengine/EngineSupport.h"

namespace lbb::skin::test {
namespace {

// A windowed control that reports the class name it is given (another vendor's control).
class TNamedControl : public forms::TWinControl {
 public:
  TNamedControl(forms::TComponent* owner, std::u16string name)
      : forms::TWinControl(owner), name_(std::move(name)) {}
  String ClassName() const override { return name_; }

 private:
  std::u16string name_;
};

class MappingTest : public SkinnedFormTest {
 protected:
  // A control of class `name` on `parent`, owned outside the form.
  TNamedControl* Named(std::u16string name, forms::TWinControl* parent = nullptr) {
    auto* c = new TNamedControl(owner.get(), std::move(name));
    c->SetParent(parent ? parent : form.get());
    c->SetBounds(10, 10, 80, 24);
    return c;
  }
  // The skinners listed for `c`.
  std::vector<TSkinControl*> SkinnersOf(const forms::TControl* c) const {
    std::vector<TSkinControl*> out;
    for (TSkinControl* s : sf->Controls())
      if (s->control == c || s->GControl == c || s->Owner() == c) out.push_back(s);
    return out;
  }
  // The check-image kind of the one skinner of `c`; 0 when it has none, -1 when it has
  // another kind of skinner or more than one.
  int ObjImageKind(const forms::TControl* c) const {
    const auto s = SkinnersOf(c);
    if (s.empty()) return 0;
    auto* o = s.size() == 1 ? dynamic_cast<TSkinObjImage*>(s[0]) : nullptr;
    return o ? o->kind : -1;
  }
};

TEST_F(MappingTest, TheChainGivesEachVendorsCheckBoxItsImageKindAndTheSkinsColour) {
  auto* rz = Named(u"TRzCheckBox");
  auto* rzRadio = Named(u"TRzRadioButton");
  auto* cx = Named(u"TcxCheckBox");
  rz->SetColor(0x010203);
  for (forms::TControl* c :
       {static_cast<forms::TControl*>(rz), static_cast<forms::TControl*>(rzRadio),
        static_cast<forms::TControl*>(cx)})
    sf->AddComp(c, form.get());
  EXPECT_EQ(ObjImageKind(rz), 1);
  EXPECT_EQ(ObjImageKind(rzRadio), 2);
  EXPECT_EQ(ObjImageKind(cx), 3);
  EXPECT_EQ(rz->Color(), data->Colors[kShemeButtonFace]);
  // Mapped once only.
  sf->AddComp(rz, form.get());
  EXPECT_EQ(SkinnersOf(rz).size(), 1u);
  // Without the gate the control stays native.
  data->SetSkinControls(data->SkinControls() & ~SetOf(xcCheckBox));
  auto* gated = Named(u"TRzCheckBox");
  sf->AddComp(gated, form.get());
  EXPECT_EQ(ObjImageKind(gated), 0);
}

TEST_F(MappingTest, TheDisableTagKeepsAControlAndARadioGroupsButtonsNative) {
  auto* tagged = Named(u"TRzCheckBox");
  tagged->SetTag(data->DisableTag());
  sf->AddComp(tagged, form.get());
  EXPECT_EQ(ObjImageKind(tagged), 0);

  auto* group = Named(u"TMyRadioGroup");
  group->SetBounds(10, 40, 200, 100);
  auto* a = Named(u"TRzRadioButton", group);
  auto* b = Named(u"TRzRadioButton", group);
  group->SetTag(data->DisableTag());
  sf->AddComp(group, form.get());
  EXPECT_EQ(a->Tag(), data->DisableTag());
  EXPECT_EQ(b->Tag(), data->DisableTag());
  sf->AddComp(a, group);
  EXPECT_EQ(ObjImageKind(a), 0);
  // A tagged control of another kind leaves its children's tags alone.
  auto* box = Named(u"TMyBox");
  auto* inner = Named(u"TRzRadioButton", box);
  box->SetTag(data->DisableTag());
  sf->AddComp(box, form.get());
  EXPECT_EQ(inner->Tag(), 0);
}

TEST_F(MappingTest, Skin3rdLinesDecideBeforeTheChain) {
  data->SetSkin3rd({u"TRz=nil", u"TRzRadioButton=nil", u"TRzDBCheckBox=NoSuchKind",
                    u"TMyHolder=Container", u"TMyHolder=nil", u"TOtherHolder=nil",
                    u"TOtherHolder=container"});
  // "TRz=" is not the key of TRzCheckBox: the chain still maps it.
  auto* rz = Named(u"TRzCheckBox");
  sf->AddComp(rz, form.get());
  EXPECT_EQ(ObjImageKind(rz), 1);
  // "nil" and an unknown kind leave the class native; the chain is not asked.
  auto* radio = Named(u"TRzRadioButton");
  auto* db = Named(u"TRzDBCheckBox");
  sf->AddComp(radio, form.get());
  sf->AddComp(db, form.get());
  EXPECT_EQ(ObjImageKind(radio), 0);
  EXPECT_EQ(ObjImageKind(db), 0);
  // The first line of a class wins: a container walks its children, nil does not.
  auto* holder = Named(u"TMyHolder");
  auto* held = Named(u"TRzCheckBox", holder);
  auto* other = Named(u"TOtherHolder");
  auto* notHeld = Named(u"TRzCheckBox", other);
  sf->AddComp(holder, form.get());
  sf->AddComp(other, form.get());
  EXPECT_EQ(ObjImageKind(held), 1);
  EXPECT_EQ(ObjImageKind(notHeld), 0);
  EXPECT_TRUE(SkinnersOf(holder).empty());
}

TEST_F(MappingTest, TheApplicationsOwnSkinnerIsStartedAndListed) {
  std::vector<std::u16string> asked;
  TSkinControl* given = nullptr;
  data->OnSkinControl = [&](forms::TComponent* sender, TSkinData* sd, forms::TControl* f,
                            forms::TControl* c, const std::u16string& cls,
                            forms::TComponent*& skinned) {
    EXPECT_EQ(sender, sf);
    EXPECT_EQ(sd, data);
    EXPECT_EQ(f, form.get());
    asked.push_back(cls);
    if (cls == u"TMINE") skinned = given = new TSkinControl(c);
  };
  auto* mine = Named(u"TMine");
  auto* rz = Named(u"TRzCheckBox");
  sf->AddComp(mine, form.get());
  sf->AddComp(rz, form.get());
  EXPECT_EQ(asked, (std::vector<std::u16string>{u"TMINE", u"TRZCHECKBOX"}));
  ASSERT_NE(given, nullptr);
  EXPECT_TRUE(given->Started());
  EXPECT_EQ(given->control, mine);
  EXPECT_EQ(SkinnersOf(mine), (std::vector<TSkinControl*>{given}));
  EXPECT_EQ(ObjImageKind(rz), 1) << "a control the event leaves alone goes on to the chain";
}

// ---- bare windows

TEST_F(MappingTest, ButtonWindowsThatDrawThemselvesGetNoSkinnerAGroupBoxGetsOne) {
  const size_t before = sf->Controls().size();
  HWND group = CreateWindowExW(0, L"BUTTON", L"g", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 5, 5, 60,
                               40, form->Handle(), nullptr, nullptr, nullptr);
  sf->AddControlh(group);
  EXPECT_EQ(sf->Controls().size(), before + 1) << "the group box got no skinner";
  const size_t withGroup = sf->Controls().size();
  for (DWORD style : {DWORD(BS_OWNERDRAW), DWORD(BS_PUSHBUTTON | BS_BITMAP)}) {
    HWND h = CreateWindowExW(0, L"BUTTON", L"b", WS_CHILD | WS_VISIBLE | style, 5, 5, 60, 20,
                             form->Handle(), nullptr, nullptr, nullptr);
    ASSERT_NE(h, nullptr);
    sf->AddControlh(h);
    EXPECT_EQ(sf->Controls().size(), withGroup) << "style " << std::hex << style;
    DestroyWindow(h);
  }
  HWND simple = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | CBS_SIMPLE, 5, 5, 60, 60,
                                form->Handle(), nullptr, nullptr, nullptr);
  sf->AddControlh(simple);
  EXPECT_EQ(sf->Controls().size(), withGroup);
  DestroyWindow(simple);
  DestroyWindow(group);
}

}  // namespace
}  // namespace lbb::skin::test
