#include "tools/gallery/GalleryAuto.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <functional>
#include <unordered_set>

#include "forms/Application.h"
#include "forms/Screenshot.h"
#include "forms/Timer.h"
#include "forms/WinText.h"
#include "skin/data/FrameMatch.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinMenuBar.h"
#include "skin/manager/WinSkinDlg.h"

namespace lbb::gallery {

using namespace forms;

namespace {

constexpr DWORD kStepLimitMs = 15000;

// Handles messages until `done` holds; false when `limitMs` passed first.
bool PumpUntil(const std::function<bool()>& done, DWORD limitMs = kStepLimitMs) {
  const ULONGLONG end = GetTickCount64() + limitMs;
  while (!done()) {
    Application->ProcessMessages();
    if (done()) break;
    const ULONGLONG now = GetTickCount64();
    if (now >= end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE,
                              static_cast<DWORD>(std::min<ULONGLONG>(20, end - now)), QS_ALLINPUT);
  }
  return true;
}

// Handles messages until none is waiting (or the step's limit passed).
void Settle() {
  PumpUntil([] {
    Application->ProcessMessages();
    return HIWORD(GetQueueStatus(QS_ALLINPUT)) == 0;
  });
}

// The skin data's requests run on the skin manager's timer after kSkinActionDelayMs: the
// gallery lets them run before it takes a picture of their effect.
void LetSkinManagerAct() {
  const ULONGLONG until = GetTickCount64() + 2 * skin::kSkinActionDelayMs;
  PumpUntil([until] { return GetTickCount64() >= until; });
  Settle();
}

struct FoundWindow {
  std::u16string className;
  HWND hwnd = nullptr;
};

// EnumThreadWindows callback (a CALLBACK function for the i686 build): the first visible
// window of the class asked for.
BOOL CALLBACK FindVisibleOfClass(HWND w, LPARAM lp) {
  auto* found = reinterpret_cast<FoundWindow*>(lp);
  if (!IsWindowVisible(w) || WindowClassName(w) != found->className) return TRUE;
  found->hwnd = w;
  return FALSE;
}

HWND VisibleWindowOfClass(const std::u16string& className) {
  FoundWindow found{className, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), FindVisibleOfClass, reinterpret_cast<LPARAM>(&found));
  return found.hwnd;
}

std::string Narrow(const std::u16string& s) {
  return std::string(s.begin(), s.end());
}

// The whole screen as it shows now.
PixelBuffer CaptureWholeScreen() {
  return CaptureScreen(RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
}

// True when the screen inside `r` differs from the picture of the whole screen `before` in at
// least a third of its pixels (a popup has come up there), or in any pixel with `anyChange`.
// Popups are separate windows that the screen may show a moment after they painted: the
// pictures are taken only once the screen shows them.
bool ScreenChangedIn(const PixelBuffer& before, const RECT& r, bool anyChange = false) {
  const PixelBuffer now = CaptureScreen(r);
  if (now.Empty() || before.Empty()) return false;
  int changed = 0, compared = 0;
  for (int y = 0; y < now.Height(); ++y)
    for (int x = 0; x < now.Width(); ++x) {
      const int sx = r.left + x, sy = r.top + y;
      if (sx < 0 || sy < 0 || sx >= before.Width() || sy >= before.Height()) continue;
      ++compared;
      if ((now.At(x, y) & 0xFFFFFF) != (before.At(sx, sy) & 0xFFFFFF)) ++changed;
    }
  return compared > 0 && (anyChange ? changed > 0 : changed * 3 >= compared);
}

// What a picture of a window must show: the frame of the skin in use, the platform's own frame,
// or either.
enum class TFrameWanted { kSkinned, kUnskinned, kAny };

class AutoRun {
 public:
  AutoRun(TSkinGalleryForm& form, std::filesystem::path shots, std::u16string skinFile)
      : form_(form), shots_(std::move(shots)), skinFile_(std::move(skinFile)) {}

  std::vector<std::string> Run();
  void Fail(const std::string& what) { failures_.push_back(what); }
  // Brings the window forward, lets it paint and writes its picture once the screen shows it
  // with the frame asked for (the frame of the skin in SkinData1, or the platform's); a
  // picture that never shows it, or of fewer than eight colours, is a failure.
  void Shot(HWND hwnd, const std::string& file, TFrameWanted frame);
  void Shot(TCustomForm* form, const std::string& file, TFrameWanted frame);
  // Writes a picture (a blank one is a failure).
  void Save(const PixelBuffer& picture, const std::string& file);

 private:
  void Step(const std::string& name, const std::function<void()>& body);
  void OpenMainWindow();
  void OpenNestedForm();
  void OpenMDIWindows();
  void OpenDialog();
  void ShowMessageBoxes();
  void SwitchSkins();
  void UseSkinFile();
  void CloseWindows();
  void ShootSkinState(int number, const std::string& skin);
  void CheckMenuCaptions(const std::string& file);
  void ShowCaptionParts();
  void ShowSystemMenu(HWND main);
  void ShowMenuDropDown();
  void ShowPopupMenu();

  TSkinGalleryForm& form_;
  std::filesystem::path shots_;
  std::u16string skinFile_;
  std::vector<std::string> failures_;
};

// Closes the next message box of a class from a timer that runs inside the box's modal loop:
// takes its picture, then clicks its button with BM_CLICK.
class BoxCloser {
 public:
  BoxCloser(AutoRun& run, std::u16string className, std::string file,
            std::function<HWND(HWND box)> button)
      : run_(run),
        className_(std::move(className)),
        file_(std::move(file)),
        button_(std::move(button)) {
    timer_.SetInterval(50);
    timer_.OnTimer = [this](TObject*) { Tick(); };
    timer_.SetEnabled(true);
  }
  bool Closed() const { return closed_; }

 private:
  void Tick() {
    HWND box = VisibleWindowOfClass(className_);
    if (!box) {
      if (++ticks_ * 50 > static_cast<int>(kStepLimitMs)) timer_.SetEnabled(false);
      return;
    }
    timer_.SetEnabled(false);
    run_.Shot(box, file_, TFrameWanted::kSkinned);
    HWND button = button_(box);
    if (!button) {
      run_.Fail(file_ + ": the box has no button to press");
      PostMessageW(box, WM_CLOSE, 0, 0);
      return;
    }
    PostMessageW(button, BM_CLICK, 0, 0);
    closed_ = true;
  }

  AutoRun& run_;
  std::u16string className_;
  std::string file_;
  std::function<HWND(HWND)> button_;
  TTimer timer_{nullptr};
  int ticks_ = 0;
  bool closed_ = false;
};

// Takes the picture of the next popup menu over `main` from a timer that runs inside the
// menu's modal loop, once the screen shows the menu where the screen showed something else
// when the camera was made, then closes the menu. A menu that opens but never shows on the
// screen is a failure.
class MenuCamera {
 public:
  MenuCamera(AutoRun& run, HWND main, std::string file)
      : run_(run), main_(main), file_(std::move(file)), before_(CaptureWholeScreen()) {
    timer_.SetInterval(50);
    timer_.OnTimer = [this](TObject*) { Tick(); };
    timer_.SetEnabled(true);
  }
  bool Pictured() const { return pictured_; }

 private:
  static constexpr int kShowTicks = 60;  // 3 s for a menu to reach the screen

  void Tick() {
    HWND menu = VisibleWindowOfClass(u"#32768");
    if (!menu) return;
    RECT area{}, popup{};
    GetWindowRect(main_, &area);
    GetWindowRect(menu, &popup);
    if (!ScreenChangedIn(before_, popup)) {
      if (++waited_ < kShowTicks) return;
      timer_.SetEnabled(false);
      run_.Fail(file_ + ": the menu is open but the screen never showed it");
      EndMenu();
      return;
    }
    timer_.SetEnabled(false);
    UnionRect(&area, &area, &popup);
    run_.Save(CaptureScreen(area), file_);
    pictured_ = true;
    EndMenu();
  }

  AutoRun& run_;
  HWND main_;
  std::string file_;
  PixelBuffer before_;
  TTimer timer_{nullptr};
  int waited_ = 0;
  bool pictured_ = false;
};

// A window the skin manager is skinning has finished its deferred initialisation. The wait is
// bounded: with the skin off (or for a window that is not skinned) it simply ends.
constexpr DWORD kSkinnedLimitMs = 2000;
void WaitSkinned(HWND top) {
  PumpUntil(
      [top] {
        skin::TSkinManage* m = skin::SkinManagerInstance();
        skin::TWinSkinForm* sf = m ? m->FindForm(top) : nullptr;
        return sf && sf->Skinstate == skin::kSkinIdle;
      },
      kSkinnedLimitMs);
}

void AutoRun::Shot(HWND hwnd, const std::string& file, TFrameWanted frame) {
  HWND top = GetAncestor(hwnd, GA_ROOT);
  WaitSkinned(top);
  SetForegroundWindow(top);
  BringWindowToTop(top);
  RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  Settle();
  const skin::TSkinModel& skin = *form_.SkinData1;
  PixelBuffer picture;
  const auto shows = [&] {
    picture = CaptureWindow(hwnd);
    if (picture.Empty() || frame == TFrameWanted::kAny) return !picture.Empty();
    return (skin::FrameLookShown(picture, skin) != 0) == (frame == TFrameWanted::kSkinned);
  };
  if (!PumpUntil(shows, 3000) && !picture.Empty()) {
    Fail(file + (frame == TFrameWanted::kSkinned ? ": the window does not show the skin's frame"
                                                 : ": the window still shows the skin's frame"));
  }
  Save(picture, file);
}

void AutoRun::Save(const PixelBuffer& picture, const std::string& file) {
  if (picture.Empty()) return Fail(file + ": the window could not be captured");
  std::unordered_set<Pixel> colours;
  for (int y = 0; y < picture.Height() && colours.size() < 8; ++y) {
    const Pixel* row = picture.Row(y);
    for (int x = 0; x < picture.Width() && colours.size() < 8; ++x)
      colours.insert(row[x] & 0xFFFFFF);
  }
  if (colours.size() < 8) return Fail(file + ": the picture is blank");
  if (!SavePng(picture, (shots_ / file).string()))
    Fail(file + ": could not be written to " + (shots_ / file).string());
}

void AutoRun::Shot(TCustomForm* form, const std::string& file, TFrameWanted frame) {
  if (!form || !form->WindowHandle()) return Fail(file + ": the window is not open");
  Shot(form->WindowHandle(), file, frame);
}

void AutoRun::Step(const std::string& name, const std::function<void()>& body) {
  const size_t before = failures_.size();
  try {
    body();
  } catch (const std::exception& e) {
    Fail(name + ": " + e.what());
  }
  if (failures_.size() > before) {
    for (size_t i = before; i < failures_.size(); ++i)
      failures_[i] = name + ": " + failures_[i];
  }
}

std::vector<std::string> AutoRun::Run() {
  std::error_code ec;
  std::filesystem::create_directories(shots_, ec);
  if (ec) return {"cannot make the folder " + shots_.string() + ": " + ec.message()};
  Step("main window", [this] { OpenMainWindow(); });
  Step("nested form", [this] { OpenNestedForm(); });
  Step("MDI frame", [this] { OpenMDIWindows(); });
  Step("dialog form", [this] { OpenDialog(); });
  Step("message boxes", [this] { ShowMessageBoxes(); });
  Step("skins", [this] { SwitchSkins(); });
  Step("caption buttons and system menu", [this] { ShowCaptionParts(); });
  Step("menu bar drop-down", [this] { ShowMenuDropDown(); });
  Step("popup menu", [this] { ShowPopupMenu(); });
  if (!skinFile_.empty()) Step("skin file", [this] { UseSkinFile(); });
  Step("closing", [this] { CloseWindows(); });
  return failures_;
}

void AutoRun::OpenMainWindow() {
  form_.ShowForm();
  if (!PumpUntil([this] { return form_.Active(); })) Fail("the main window never became active");
  LetSkinManagerAct();
  if (form_.SkinData1->Empty) Fail("the built-in skin was not loaded");
  Shot(&form_, "01-main-slate.png", TFrameWanted::kSkinned);
}

void AutoRun::OpenNestedForm() {
  form_.ShowNestedForm(true);
  HWND nested = form_.NestedForm->Handle();
  if (!PumpUntil([nested] { return IsWindowVisible(nested) != 0; })) {
    return Fail("the nested form never showed");
  }
  if (GetParent(nested) != form_.NestPanel->Handle()) Fail("the nested form is not on its panel");
  Shot(&form_, "02-nested-form.png", TFrameWanted::kSkinned);
}

void AutoRun::OpenMDIWindows() {
  TGalleryMDIFrame* frame = form_.OpenMDIWindows();
  const bool arranged = PumpUntil([frame] {
    if (frame->MDIChildCount() != 3) return false;
    int zoomed = 0, iconic = 0;
    for (int i = 0; i < 3; ++i) {
      zoomed += IsZoomed(frame->MDIChildren(i)->WindowHandle()) ? 1 : 0;
      iconic += IsIconic(frame->MDIChildren(i)->WindowHandle()) ? 1 : 0;
    }
    return zoomed == 1 && iconic == 1;
  });
  if (!arranged) Fail("the frame does not hold a normal, a minimised and a maximised child");
  LetSkinManagerAct();
  Shot(frame, "03-mdi-maximised.png", TFrameWanted::kSkinned);
  // The maximised child restored and the children cascaded: all three in view.
  if (TCustomForm* active = frame->ActiveMDIChild()) active->SetWindowState(TWindowState::wsNormal);
  frame->Cascade();
  if (!PumpUntil([frame] {
        return frame->ActiveMDIChild() && !IsZoomed(frame->ActiveMDIChild()->WindowHandle());
      })) {
    Fail("the maximised child was not restored");
  }
  Shot(frame, "04-mdi-cascaded.png", TFrameWanted::kSkinned);
}

void AutoRun::OpenDialog() {
  TGalleryDialog* dialog = form_.OpenDialog();
  if (!PumpUntil([dialog] { return dialog->Active(); })) Fail("the dialog never became active");
  LetSkinManagerAct();
  Shot(dialog, "05-dialog.png", TFrameWanted::kSkinned);
}

void AutoRun::ShowMessageBoxes() {
  TGalleryDialog* dialog = form_.Dialog();
  if (!dialog) return Fail("the dialog form is not open");
  {
    BoxCloser closer(*this, u"#32770", "06-messagebox.png",
                     [](HWND box) { return GetDlgItem(box, IDOK); });
    const int answer = dialog->ShowPlatformBox();
    if (!closer.Closed()) Fail("the platform's message box was never found");
    if (answer != IDOK) Fail("the platform's message box answered " + std::to_string(answer));
  }
  {
    BoxCloser closer(*this, u"TMessageForm", "07-messagedlg.png", [](HWND box) -> HWND {
      auto* message = dynamic_cast<TMessageForm*>(Screen->FindForm(box));
      TButton* yes = message ? message->Button(mbYes) : nullptr;
      return yes ? yes->WindowHandle() : nullptr;
    });
    const int answer = dialog->ShowMessageDlg();
    if (!closer.Closed()) Fail("the message dialog was never found");
    if (answer != mrYes) Fail("the message dialog answered " + std::to_string(answer));
  }
  dialog->Close();
  if (!PumpUntil([dialog] { return !dialog->Visible(); })) Fail("the dialog form stayed open");
}

void AutoRun::ShootSkinState(int number, const std::string& skin) {
  LetSkinManagerAct();
  const auto file = [](int n, const std::string& name) {
    return (n < 10 ? "0" : "") + std::to_string(n) + "-" + name + ".png";
  };
  const TFrameWanted frame =
      form_.SkinData1->Active() ? TFrameWanted::kSkinned : TFrameWanted::kUnskinned;
  Shot(&form_, file(number, "main-" + skin), frame);
  if (frame == TFrameWanted::kSkinned) CheckMenuCaptions(file(number, "main-" + skin));
  Shot(form_.MDIFrame(), file(number + 1, "mdi-" + skin), frame);
}

namespace {

int Luminance(Pixel p) {
  const int r = static_cast<int>(p & 0xFF), g = static_cast<int>((p >> 8) & 0xFF),
            b = static_cast<int>((p >> 16) & 0xFF);
  return (r * 299 + g * 587 + b * 114) / 1000;
}

}  // namespace

// The main window's menu-bar captions as the screen shows them: written in the skin's menu-bar
// text colour (resolved when the skin leaves it to the system) and standing out from the band
// behind them.
void AutoRun::CheckMenuCaptions(const std::string& file) {
  skin::TSkinManage* m = skin::SkinManagerInstance();
  skin::TWinSkinForm* sf = m ? m->FindForm(form_.Handle()) : nullptr;
  if (!sf || !sf->menu || !sf->fsd) return Fail(file + ": the main window has no painted menu bar");
  const PixelBuffer picture = CaptureWindow(form_.Handle());
  const Pixel ink = PixelOf(sf->fsd->SchemeRGB(skin::kShemeMenuBarText)) & 0xFFFFFF;
  constexpr int kMinInk = 6, kMinContrast = 96;
  for (const auto& b : sf->menu->Buttons) {
    const RECT& r = b->bounds;
    if (!b->visible || !b->enabled || b->caption.empty() || r.right <= r.left) continue;
    int inked = 0;
    for (int y = std::max<LONG>(r.top, 0); y < std::min<LONG>(r.bottom, picture.Height()); ++y)
      for (int x = std::max<LONG>(r.left, 0); x < std::min<LONG>(r.right, picture.Width()); ++x)
        if ((picture.At(x, y) & 0xFFFFFF) == ink) ++inked;
    const Pixel band = picture.At(std::min<int>(r.left + 1, picture.Width() - 1),
                                  std::min<int>(r.top + 1, picture.Height() - 1));
    if (inked < kMinInk || std::abs(Luminance(ink) - Luminance(band)) < kMinContrast) {
      return Fail(file + ": the menu-bar caption \"" +
                  Narrow(String(b->caption.begin(), b->caption.end())) + "\" cannot be read");
    }
  }
}

void AutoRun::SwitchSkins() {
  if (!form_.UseSkin(TGallerySkin::gsSand)) Fail("the Sand skin was not loaded");
  ShootSkinState(8, "sand");
  form_.SetSkinning(false);
  if (form_.SkinData1->Active()) Fail("skinning stayed on");
  ShootSkinState(10, "noskin");
  if (!form_.UseSkin(TGallerySkin::gsSlate)) Fail("the Slate skin was not loaded again");
  form_.SetSkinning(true);
  if (!form_.SkinData1->Active()) Fail("skinning did not come back on");
  ShootSkinState(12, "slate");
  const String state = form_.StatusBar1->Panels(1)->Text();
  if (state != u"Skin: Slate, skinning on") Fail("the status bar says \"" + Narrow(state) + "\"");
}

// The skinned caption at work on the main window: the close button hot with its hint, then the
// skinned system menu (Alt+space), each pictured with the popup over the window.
void AutoRun::ShowCaptionParts() {
  HWND main = form_.Handle();
  skin::TSkinManage* m = skin::SkinManagerInstance();
  skin::TWinSkinForm* sf = m ? m->FindForm(main) : nullptr;
  if (!sf || !sf->fsd) return Fail("the main window is not skinned");
  SetForegroundWindow(main);
  RedrawWindow(main, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  Settle();
  const skin::TWinSysButton* close = nullptr;
  for (const auto& b : sf->SysBtn)
    if (b->visible && b->data->Action == 0) close = b.get();
  if (!close) return Fail("the main window's caption has no close button");
  RECT w{};
  GetWindowRect(main, &w);
  const POINT at{w.left + (close->bounds.left + close->bounds.right) / 2,
                 w.top + (close->bounds.top + close->bounds.bottom) / 2};
  const int64_t pause = Application->HintPause();
  Application->SetHintPause(50);
  const PixelBuffer before = CaptureWholeScreen();
  SetCursorPos(at.x, at.y);
  sf->fsd->hintcount = 0;
  SendMessageW(main, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(at.x, at.y));
  const bool hinted = PumpUntil([sf] { return sf->fsd->IsHint(); }, 5000);
  Application->SetHintPause(pause);
  RECT area = w, hint{};
  const RECT button{w.left + close->bounds.left, w.top + close->bounds.top,
                    w.left + close->bounds.right, w.top + close->bounds.bottom};
  if (!hinted || !GetWindowRect(sf->fsd->HintHandle(), &hint)) {
    Fail("the close button's hint never showed");
  } else if (!PumpUntil([&] { return ScreenChangedIn(before, hint); }, 3000)) {
    Fail("the close button's hint is up but the screen never showed it");
  } else if (!PumpUntil([&] { return ScreenChangedIn(before, button, true); }, 3000)) {
    Fail("the close button under the mouse never showed hot");
  } else {
    UnionRect(&area, &area, &hint);
    Save(CaptureScreen(area), "16-caption-hint.png");
  }
  sf->fsd->HideHint();
  SetCursorPos(w.left + 60, w.bottom - 30);
  ShowSystemMenu(main);
}

// Alt+space opens the skinned system menu in a modal loop; a timer inside it takes the picture
// once the menu shows and closes it.
void AutoRun::ShowSystemMenu(HWND main) {
  MenuCamera camera(*this, main, "17-system-menu.png");
  SendMessageW(main, WM_SYSCOMMAND, SC_KEYMENU, L' ');
  if (!camera.Pictured()) Fail("the skinned system menu never showed");
}

// A right click (real input) on the form's panel opens the form's popup menu (the panel has
// none of its own and hands the click up); a timer inside the menu's modal loop takes the
// picture once the menu shows and closes it.
void AutoRun::ShowPopupMenu() {
  HWND main = form_.Handle();
  SetForegroundWindow(main);
  Settle();
  POINT at{318, 132};  // a free spot of the panel, between the nested form and its neighbours
  ClientToScreen(form_.NestPanel->Handle(), &at);
  MenuCamera camera(*this, main, "19-popup-menu.png");
  SetCursorPos(at.x, at.y);
  INPUT click[2] = {};
  click[0].type = click[1].type = INPUT_MOUSE;
  click[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
  click[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
  if (SendInput(2, click, sizeof(INPUT)) != 2) Fail("the right click could not be sent");
  PumpUntil([&] { return camera.Pictured(); });
  if (!camera.Pictured()) Fail("the popup menu never showed");
  Settle();
  if (VisibleWindowOfClass(u"#32768")) Fail("the popup menu stayed open");
}

// A real click on the main window's first menu-bar button opens its drop-down in a modal loop;
// a timer inside it takes the picture once the drop-down shows and closes it.
void AutoRun::ShowMenuDropDown() {
  HWND main = form_.Handle();
  skin::TSkinManage* m = skin::SkinManagerInstance();
  skin::TWinSkinForm* sf = m ? m->FindForm(main) : nullptr;
  if (!sf || !sf->menu || sf->menu->Buttons.empty())
    return Fail("the main window has no painted menu bar");
  SetForegroundWindow(main);
  Settle();
  RECT w{};
  GetWindowRect(main, &w);
  const RECT& b = sf->menu->Buttons[0]->bounds;
  const POINT at{w.left + (b.left + b.right) / 2, w.top + (b.top + b.bottom) / 2};
  MenuCamera camera(*this, main, "18-menu-dropdown.png");
  // A press that went elsewhere (the cursor not yet there) is made again, twice at most.
  for (int attempt = 0; attempt < 3 && !camera.Pictured(); ++attempt) {
    SetCursorPos(at.x, at.y);
    PumpUntil([at] {
      POINT c{};
      return GetCursorPos(&c) && c.x == at.x && c.y == at.y;
    });
    INPUT click[2]{};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, click, sizeof(INPUT));
    // The press reaches the window while this pumps; the drop-down's loop runs inside it.
    PumpUntil([&camera] { return camera.Pictured(); }, 3000);
  }
  if (!camera.Pictured()) return Fail("the first menu of the main window never dropped down");
  if (!PumpUntil([] { return VisibleWindowOfClass(u"#32768") == nullptr; }))
    Fail("the menu drop-down stayed open");
  SetCursorPos(w.left + 60, w.bottom - 30);
}

void AutoRun::UseSkinFile() {
  if (!form_.UseSkin(TGallerySkin::gsFile, skinFile_)) {
    Fail("no usable skin in " + Narrow(skinFile_));
  } else {
    ShootSkinState(14, "file");
  }
  if (!form_.UseSkin(TGallerySkin::gsSlate)) Fail("the Slate skin was not loaded again");
}

void AutoRun::CloseWindows() {
  if (TGalleryMDIFrame* frame = form_.MDIFrame()) {
    frame->Close();  // frees the frame and its children
    if (!PumpUntil([this] { return form_.MDIFrame() == nullptr; })) Fail("the MDI frame stayed");
  }
  form_.ShowNestedForm(false);
  Settle();
}

}  // namespace

std::vector<std::string> RunAutoGallery(TSkinGalleryForm& form, const std::filesystem::path& shots,
                                        const std::u16string& skinFile) {
  return AutoRun(form, shots, skinFile).Run();
}

}  // namespace lbb::gallery
