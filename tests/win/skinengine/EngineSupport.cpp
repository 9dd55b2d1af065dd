#include "tests/win/skinengine/EngineSupport.h"

#include <algorithm>

#include "base/Text.h"
#include "forms/Application.h"
#include "resources/skin/BuiltinSkin.h"

namespace lbb::skin::test {

namespace {

LRESULT CALLBACK RawProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* log = reinterpret_cast<TRawLog*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!log) return DefWindowProcW(hwnd, msg, wParam, lParam);
  log->seen.push_back({msg, wParam, lParam});
  if (auto it = log->answers.find(msg); it != log->answers.end()) return it->second;
  if (msg == WM_SYSCOMMAND && log->swallowSysCommand) return 0;
  if (msg == WM_NCDESTROY) SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void RegisterRawClasses() {
  static const bool done = [] {
    for (const wchar_t* name : {kRawClass, kPreviewClass}) {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof(wc);
      wc.lpfnWndProc = &RawProc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
      wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
      wc.lpszClassName = name;
      RegisterClassExW(&wc);
    }
    return true;
  }();
  (void)done;
}

INT_PTR CALLBACK DialogProc(HWND, UINT msg, WPARAM, LPARAM) {
  return msg == WM_INITDIALOG ? TRUE : FALSE;
}

// Appends a wide string (with its terminator) to a dialog template.
void PutText(std::vector<WORD>& t, const wchar_t* s) {
  do {
    t.push_back(static_cast<WORD>(*s));
  } while (*s++);
}

void AlignDword(std::vector<WORD>& t) {
  if (t.size() % 2) t.push_back(0);
}

}  // namespace

void EnsureApplication() {
  if (!forms::Application->Initialized()) forms::Application->Initialize();
}

bool PumpUntil(const std::function<bool()>& done) {
  for (int round = 0; round < 1000 && !done(); ++round) {
    forms::Application->ProcessMessages();
    if (done()) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return done();
}

void Settle() {
  for (int round = 0; round < 200; ++round) {
    forms::Application->ProcessMessages();
    if (HIWORD(GetQueueStatus(QS_ALLINPUT)) == 0) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

int TRawLog::Count(UINT msg) const {
  return static_cast<int>(
      std::count_if(seen.begin(), seen.end(), [&](const Entry& e) { return e.msg == msg; }));
}

std::vector<UINT> TRawLog::Only(const std::vector<UINT>& watch) const {
  std::vector<UINT> out;
  for (const Entry& e : seen)
    if (std::find(watch.begin(), watch.end(), e.msg) != watch.end()) out.push_back(e.msg);
  return out;
}

HWND MakeRawWindow(TRawLog* log, DWORD style, DWORD exstyle, const wchar_t* cls, HWND parent,
                   HMENU menu, RECT b) {
  RegisterRawClasses();
  return CreateWindowExW(exstyle, cls, L"Raw window", style, b.left, b.top, b.right - b.left,
                         b.bottom - b.top, parent, menu, GetModuleHandleW(nullptr), log);
}

HWND MakeDialog(DWORD extraStyle) {
  std::vector<WORD> t;
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | extraStyle;
  t.push_back(LOWORD(style));
  t.push_back(HIWORD(style));
  t.push_back(0);  // extended style
  t.push_back(0);
  t.push_back(1);  // one control
  for (WORD v : {WORD{20}, WORD{20}, WORD{160}, WORD{80}})
    t.push_back(v);
  t.push_back(0);  // no menu
  t.push_back(0);  // the dialog class
  PutText(t, L"Dialog");
  t.push_back(8);
  PutText(t, L"MS Shell Dlg");
  AlignDword(t);
  const DWORD bstyle = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON;
  t.push_back(LOWORD(bstyle));
  t.push_back(HIWORD(bstyle));
  t.push_back(0);
  t.push_back(0);
  for (WORD v : {WORD{50}, WORD{50}, WORD{60}, WORD{14}, WORD{IDOK}})
    t.push_back(v);
  t.push_back(0xFFFF);
  t.push_back(0x0080);  // button
  PutText(t, L"OK");
  t.push_back(0);  // no creation data
  return CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                    reinterpret_cast<LPCDLGTEMPLATEW>(t.data()), nullptr,
                                    &DialogProc, 0);
}

TSkinData* MakeSkinData(forms::TComponent* owner, TSkinFormType type,
                        std::span<const uint8_t> skin) {
  if (skin.empty()) skin = lbb::resources::BuiltinSkin();
  auto* d = new TSkinData(owner);
  d->SetSkinFormtype(type);
  TMemoryStream block(std::vector<uint8_t>(skin.begin(), skin.end()));
  d->LoadFromStream(block);
  d->Loaded();
  return d;
}

void EngineTest::SetUp() {
  EnsureApplication();
  // An error at the window boundary fails the test instead of waiting in a message box.
  forms::Application->OnException = [](const std::u16string& text) {
    ADD_FAILURE() << "error at the window boundary: " << TextToUtf8(text);
  };
  mgr = &EnsureSkinManager();
  data = MakeSkinData();
  ASSERT_FALSE(data->Empty);
}

void EngineTest::TearDown() {
  for (HWND h : windows)
    if (IsWindow(h)) DestroyWindow(h);
  Settle();
  delete data;
  DestroySkinManager();
  Settle();
  forms::Application->OnException = nullptr;
}

void SkinnedFormTest::SetUp() {
  EngineTest::SetUp();
  Start();
  form = std::make_unique<forms::TForm>(nullptr);
  form->SetBounds(120, 120, width_, height_);
  form->ShowForm();
  ASSERT_TRUE(SkinShown(form->Handle()));
  sf = mgr->FindForm(form->Handle());
  ASSERT_NE(sf, nullptr);
}

void SkinnedFormTest::TearDown() {
  owner.reset();  // the controls (and their skinners) go before their parent
  form.reset();
  EngineTest::TearDown();
}

void EngineTest::Start() {
  mgr->SetState(TSkinManagerState::msRunning);
  mgr->SetActive(true);
}

::testing::AssertionResult EngineTest::WaitSkinned(HWND hwnd) {
  if (PumpUntil([&] {
        TWinSkinForm* sf = mgr->FindForm(hwnd);
        return sf && sf->Skinstate == kSkinIdle && sf->Subclassed();
      }))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "the window was not skinned within the wait";
}

::testing::AssertionResult EngineTest::SkinShown(HWND hwnd) {
  Settle();
  if (!mgr->FindForm(hwnd) && !mgr->AddFormHwnd(hwnd))
    return ::testing::AssertionFailure() << "the window could not be skinned";
  return WaitSkinned(hwnd);
}

RECT ClientOf(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  return r;
}

}  // namespace lbb::skin::test
