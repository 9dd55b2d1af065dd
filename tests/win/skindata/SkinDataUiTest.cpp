// The skin data component's platform parts under Wine: caption font, application icon, menu
// glyphs, background brush, hints, scroll-bar information, set and list properties, and the
// calls it passes to the skin manager.
#include <windows.h>

#include <gtest/gtest.h>

#include "forms/Application.h"
#include "forms/Forms.h"
#include "forms/core/Reader.h"
#include "resources/skin/BuiltinSkin.h"
#include "skin/win/WinSkinData.h"

namespace {

using namespace lbb;
using namespace lbb::skin;
namespace forms = lbb::forms;

constexpr Pixel kRed = 0xFF0000, kMagentaPixel = 0xFF00FF;

// A system whose MENUGLYPHS are four 16 x 16 white cells, cell i with a black pixel at (i, i).
class GlyphSystem : public TFixedSkinSystem {
 public:
  PixelBuffer NamedBitmap(std::u16string_view name) const override {
    if (name != u"MENUGLYPHS") return TFixedSkinSystem::NamedBitmap(name);
    PixelBuffer p(64, 16);
    p.Fill(0xFFFFFF);
    for (int i = 0; i < 4; ++i)
      p.At(16 * i + i, i) = 0;
    return p;
  }
};

// Records the calls that go to the manager.
class CallManager : public TSkinManagerSeam {
 public:
  void SetAction(TSkinAction action, int) override { actions.push_back(action); }
  void SetLpara(HWND w) override { lpara = w; }
  void AddChildForm(HWND w) override { child = w; }
  void SetActive(bool b) override { active = b; }
  TSkinManagerState State() const override { return state; }
  void SetState(TSkinManagerState s) override { state = s; }
  void AddForm(HWND w) override { form = w; }
  void AddNestForm(forms::TWinControl* p, forms::TWinControl* n) override {
    nestParent = p;
    nested = n;
  }
  void DeleteGraphicControl(forms::TWinControl* p, forms::TControl*) override { deletedFrom = p; }
  void InstallThread(DWORD id) override { threads.push_back(id); }
  void UnInstallThread(DWORD id) override { threads.push_back(~id); }
  void RefreshMenuBars() override { ++refreshes; }
  void UpdateMenu(forms::TWinControl* p) override { menuParent = p; }
  void UpdateSkinControl(forms::TWinControl* p, forms::TControl* c) override {
    controlParent = p;
    control = c;
    ++updates;
  }
  std::vector<TSkinAction> actions;
  std::vector<DWORD> threads;
  forms::TWinControl *nestParent = nullptr, *nested = nullptr, *deletedFrom = nullptr;
  HWND lpara = nullptr, child = nullptr, form = nullptr;
  bool active = true;
  TSkinManagerState state = TSkinManagerState::msNotStarted;
  int refreshes = 0, updates = 0;
  forms::TWinControl* menuParent = nullptr;
  forms::TWinControl* controlParent = nullptr;
  forms::TControl* control = nullptr;
};

TMemoryStream Builtin() {
  const auto s = lbb::resources::BuiltinSkin();
  return TMemoryStream(std::vector<uint8_t>(s.begin(), s.end()));
}

TEST(SkinDataUi, CaptionFontIsReadAtTheLoadedStep) {
  NONCLIENTMETRICSW m{};
  m.cbSize = 504;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, 504, &m, 0));
  const std::u16string face(reinterpret_cast<const char16_t*>(m.lfCaptionFont.lfFaceName));
  TSkinData d(nullptr);
  d.CaptionFont->SetName(u"Courier New");
  d.CaptionFont->SetHeight(-40);
  d.Loaded();
  EXPECT_EQ(d.CaptionFont->Name(), face);
  EXPECT_EQ(d.CaptionFont->Height(), m.lfCaptionFont.lfHeight);
  EXPECT_TRUE(InSet(d.SkinControls(), xcScrollbar));  // the platform has the call
}

TEST(SkinDataUi, MenuGlyphsWithWhiteLeftOut) {
  GlyphSystem sys;
  SetSkinSystem(&sys);
  TSkinData d(nullptr);
  SetSkinSystem(nullptr);
  ASSERT_EQ(d.bmpmenu.Count(), 4);
  forms::TBitmap cell;
  ASSERT_TRUE(d.bmpmenu.GetBitmap(2, cell, lbb::clFuchsia));
  EXPECT_EQ(cell.Pixels().At(2, 2), 0u);
  EXPECT_EQ(cell.Pixels().At(0, 0) & 0xFFFFFF, kMagentaPixel);
  EXPECT_EQ(cell.Pixels().At(1, 1) & 0xFFFFFF, kMagentaPixel);
  TSkinData none(nullptr);
  EXPECT_EQ(none.bmpmenu.Count(), 0);
}

TEST(SkinDataUi, BackgroundBrushFollowsButtonFace) {
  TSkinData d(nullptr);
  EXPECT_EQ(d.BGBrush.get(), nullptr);
  TMemoryStream block = Builtin();
  d.LoadFromStream(block);
  ASSERT_NE(d.BGBrush.get(), nullptr);
  LOGBRUSH lb{};
  ASSERT_TRUE(GetObjectW(d.BGBrush.get(), sizeof(lb), &lb));
  EXPECT_EQ(lb.lbColor, ColorToRGB(d.Colors[kShemeButtonFace]));
  EXPECT_EQ(lb.lbStyle, static_cast<UINT>(BS_SOLID));
}

// A 32 x 32 icon: left half see-through, right half red.
HICON HalfRedIcon() {
  std::vector<uint32_t> colour(32 * 32, 0);
  std::vector<uint8_t> mask(4 * 32, 0);
  for (int y = 0; y < 32; ++y) {
    mask[4 * y] = mask[4 * y + 1] = 0xFF;
    for (int x = 16; x < 32; ++x)
      colour[32 * y + x] = 0x00FF0000;
  }
  lbb::BitmapHandle c(CreateBitmap(32, 32, 1, 32, colour.data()));
  lbb::BitmapHandle m(CreateBitmap(32, 32, 1, 1, mask.data()));
  ICONINFO ii{TRUE, 0, 0, m.get(), c.get()};
  return CreateIconIndirect(&ii);
}

TEST(SkinDataUi, AppIconOnMagenta) {
  if (!forms::Application->Initialized()) forms::Application->Initialize();
  HWND app = forms::Application->Handle();
  ASSERT_NE(app, nullptr);
  TSkinData d(nullptr);
  SendMessageW(app, WM_SETICON, ICON_SMALL, 0);
  SendMessageW(app, WM_SETICON, ICON_BIG, 0);
  d.GetAppIcon();
  EXPECT_TRUE(d.SysIcon.Empty());  // no icon: unchanged
  HICON icon = HalfRedIcon();
  ASSERT_NE(icon, nullptr);
  SendMessageW(app, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  d.GetAppIcon();
  const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  ASSERT_EQ(d.SysIcon.Width(), cx);
  ASSERT_EQ(d.SysIcon.Height(), cy);
  EXPECT_EQ(d.SysIcon.Pixels().At(1, cy / 2), kMagentaPixel);
  EXPECT_EQ(d.SysIcon.Pixels().At(cx - 2, cy / 2), kRed);
  EXPECT_TRUE(d.SysIcon.Transparent());
  EXPECT_EQ(d.SysIcon.TransparentColor(), 0xFF00FF);
  SendMessageW(app, WM_SETICON, ICON_BIG, 0);
  DestroyIcon(icon);
}

TEST(SkinDataUi, CaptionButtonHints) {
  TSkinData d(nullptr);
  d.ActivateHint(RECT{100, 120, 140, 140}, u"Close");
  ASSERT_TRUE(d.IsHint());
  HWND hint = d.HintHandle();
  ASSERT_NE(hint, nullptr);
  EXPECT_TRUE(IsWindowVisible(hint));
  RECT r{};
  GetWindowRect(hint, &r);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 120);
  d.ActivateHint(RECT{300, 300, 310, 310}, u"Other");  // one showing: ignored
  GetWindowRect(hint, &r);
  EXPECT_EQ(r.left, 100);
  d.HideHint();
  EXPECT_FALSE(d.IsHint());
  EXPECT_FALSE(d.HintHandle() && IsWindowVisible(d.HintHandle()));
  d.SetOptions(d.Options() & ~SetOf(xoCaptionButtonHint));
  d.ActivateHint(RECT{100, 120, 140, 140}, u"Close");
  EXPECT_FALSE(d.IsHint());
}

TEST(SkinDataUi, ScrollBarInformation) {
  HWND bar = CreateWindowExW(0, L"SCROLLBAR", L"", WS_POPUP | SBS_HORZ, 10, 10, 200, 20, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(bar, nullptr);
  SCROLLBARINFO info{};
  info.cbSize = sizeof(info);
  EXPECT_TRUE(TSkinData::HasScrollBarInfo());
  EXPECT_TRUE(TSkinData::GetScrollBarInfo(bar, OBJID_CLIENT, &info));
  EXPECT_EQ(info.rcScrollBar.right - info.rcScrollBar.left, 200);
  SCROLLBARINFO none{};
  none.cbSize = sizeof(none);
  EXPECT_FALSE(TSkinData::GetScrollBarInfo(nullptr, OBJID_CLIENT, &none));
  DestroyWindow(bar);
}

TEST(SkinDataUi, ControlOfAWindowAndMouseLeave) {
  forms::THintWindow own(nullptr);
  HWND h = own.Handle();
  EXPECT_EQ(ControlOfWindow(h), &own);
  HWND plain = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(ControlOfWindow(plain), nullptr);
  EXPECT_EQ(ControlOfWindow(nullptr), nullptr);
  EXPECT_TRUE(TrackMouseLeave(plain));
  EXPECT_FALSE(TrackMouseLeave(nullptr));
  DestroyWindow(plain);
}

TEST(SkinDataUi, SetAndListProperties) {
  TSkinData d(nullptr);
  EXPECT_EQ(forms::GetStrProp(&d, u"Options"), u"[xoPreview,xoToolbarBK,xoCaptionButtonHint]");
  EXPECT_TRUE(forms::SetPropText(&d, u"Options", u"[ xoMenuBG , xotransparent, xoNothing]"));
  EXPECT_EQ(d.Options(), SetOf(xoTransparent) | SetOf(xoMenuBG));
  EXPECT_TRUE(forms::SetPropText(&d, u"SkinControls", u"[xcCombo,xcFastReport]"));
  EXPECT_EQ(d.SkinControls(), SetOf(xcCombo) | SetOf(xcFastReport));
  EXPECT_EQ(forms::GetStrProp(&d, u"SkinControls"), u"[xcCombo,xcFastReport]");
  forms::SetPropText(&d, u"SkinControls", u"[]");
  EXPECT_EQ(d.SkinControls(), 0u);
  auto* list = dynamic_cast<forms::TStrings*>(forms::GetObjectProp(&d, u"Skin3rd", u"TStrings"));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->Count(), 118);
  EXPECT_EQ(list->Strings(1), u"TVirtualStringTree=scrollbar");
  forms::TStrings mine;
  mine.Add(u"TMyGrid=scrollbar");
  mine.Add(u"TMyEdit=Edit");
  EXPECT_TRUE(forms::SetObjectProp(&d, u"Skin3rd", &mine));
  mine.Add(u"TLater=Edit");  // the component holds a copy
  ASSERT_EQ(d.Skin3rd().size(), 2u);
  EXPECT_EQ(d.Skin3rd()[1], u"TMyEdit=Edit");
}

TEST(SkinDataUi, ManagerCalls) {
  CallManager m;
  SetSkinManager(&m);
  {
    TSkinData d(nullptr);
    d.UpdateMainMenu(false);
    EXPECT_FALSE(d.MenuMsg);
    EXPECT_EQ(m.refreshes, 0);
    d.UpdateMainMenu(true);
    EXPECT_TRUE(d.MenuMsg);
    EXPECT_EQ(m.refreshes, 1);
    forms::THintWindow form(nullptr);
    d.ChangeForm(&form);
    EXPECT_EQ(m.lpara, form.Handle());
    ASSERT_EQ(m.actions, std::vector<TSkinAction>{TSkinAction::saReskinForm});
    d.SkinForm(form.Handle());
    EXPECT_EQ(m.child, form.Handle());
    d.EnableSkin(false);
    EXPECT_FALSE(m.active);
    d.UpdateMenu(&form);
    EXPECT_EQ(m.menuParent, &form);
    d.UpdateSkinControl(&form, nullptr);
    EXPECT_EQ(m.controlParent, &form);
    EXPECT_EQ(m.control, nullptr);
    EXPECT_EQ(m.updates, 1);
    forms::THintWindow inner(nullptr);
    d.AddNestForm(&form, &inner);
    EXPECT_EQ(m.nestParent, &form);
    EXPECT_EQ(m.nested, &inner);
    d.DeleteGraphicControl(&inner, nullptr);
    EXPECT_EQ(m.deletedFrom, &inner);
    d.InstallThread(42);
    d.UnInstallThread(42);
    EXPECT_EQ(m.threads, (std::vector<DWORD>{42, ~DWORD{42}}));
  }
  {
    // A component of one form adds that form's window when it is loaded active.
    forms::TForm owner(nullptr);
    auto* d = new TSkinData(&owner);
    forms::ReadComponents(owner,
                          {{d,
                            {forms::TStoredProperty::Text(u"SkinFormtype", u"sfOnlyThisForm"),
                             forms::TStoredProperty::Text(u"Active", u"True")}}});
    EXPECT_TRUE(m.active);
    EXPECT_EQ(m.form, owner.Handle());
    // Each such component counts the manager's state one up.
    EXPECT_EQ(m.state, TSkinManagerState::msRunning);
    auto* second = new TSkinData(&owner);
    forms::ReadComponents(owner,
                          {{second, {forms::TStoredProperty::Text(u"SkinFormtype", u"sfDialog")}}});
    EXPECT_EQ(static_cast<int>(m.state), 2);
  }
  SetSkinManager(nullptr);
}

}  // namespace
