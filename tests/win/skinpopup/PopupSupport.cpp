#include "tests/win/skinpopup/PopupSupport.h"

#include <filesystem>
#include <fstream>
#include <thread>

#include "base/PngFile.h"
#include "forms/Screenshot.h"

namespace lbb::skin::test {

namespace {

struct TFound {
  std::vector<HWND> popups;
};

BOOL CALLBACK CollectPopup(HWND hwnd, LPARAM lp) {
  wchar_t cls[16] = {};
  GetClassNameW(hwnd, cls, 16);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == GetCurrentProcessId() && std::wstring(cls) == L"#32768" && IsWindowVisible(hwnd))
    reinterpret_cast<TFound*>(lp)->popups.push_back(hwnd);
  return TRUE;
}

std::vector<HWND> VisiblePopups() {
  TFound found;
  EnumWindows(&CollectPopup, reinterpret_cast<LPARAM>(&found));
  return found.popups;
}

forms::TMenuItem* NewItem(forms::TComponent* owner, const char16_t* caption) {
  auto* item = new forms::TMenuItem(owner);
  item->SetCaption(caption);
  return item;
}

}  // namespace

void PopupTest::SetUp() {
  ButtonTest::SetUp();
  images = new forms::TImageList(form);
  forms::TBitmap glyph(16, 16);
  glyph.Pixels().Fill(0xFF00FF);
  for (int y = 3; y < 13; ++y)
    for (int x = 3; x < 13; ++x)
      glyph.Pixels().At(x, y) = kImageInk;
  images->AddMasked(glyph, lbb::clFuchsia);
  menu = new forms::TPopupMenu(form);
  menu->SetImages(images);
  const char16_t* captions[piCount] = {u"&Open", u"With image", u"Checked", u"Disabled", u"-",
                                       u"Bold",  u"Bold",       u"More",    u"E&xit"};
  for (int i = 0; i < piCount; ++i) {
    items[i] = NewItem(form, captions[i]);
    items[i]->OnClick = [this, i](forms::TObject*) { ++clicks[i]; };
    menu->Items()->Add(items[i]);
  }
  items[piCheckedImage]->SetChecked(true);
  items[piCheckedImage]->SetImageIndex(0);
  items[piChecked]->SetChecked(true);
  items[piDisabled]->SetEnabled(false);
  items[piDefault]->SetDefault(true);
  items[piExit]->SetShortCut(forms::scAlt | VK_F4);
  child = NewItem(form, u"Inside");
  items[piSub]->Add(child);
}

void PopupTest::TearDown() {
  CloseMenus();
  ButtonTest::TearDown();
}

POINT PopupTest::MenuPoint() const {
  POINT p{40, 40};
  ClientToScreen(form->Handle(), &p);
  return p;
}

void PopupTest::Track(forms::TPopupMenu* m, POINT at,
                      const std::function<void(HWND popup)>& watch) {
  std::thread watcher([&] {
    // A message queue of its own, so that the platform takes this thread's input as any other.
    MSG none;
    PeekMessageW(&none, nullptr, 0, 0, PM_NOREMOVE);
    HWND popup = WaitPopups();
    if (!popup) {
      ADD_FAILURE() << "the popup menu never showed";
    } else {
      watch(popup);
    }
    CloseMenus();
  });
  m->Popup(at.x, at.y);  // modal until the watcher closes the menu
  watcher.join();
  Settle();
}

input::Waiting Watching() {
  input::Waiting w;
  w.handleMessages = nullptr;  // the watcher has no windows
  return w;
}

HWND WaitPopups(int count) {
  HWND newest = nullptr;
  input::WaitUntil(
      [&] {
        const std::vector<HWND> popups = VisiblePopups();
        if (static_cast<int>(popups.size()) < count) return false;
        newest = popups.front();  // the top of the Z order
        return true;
      },
      Watching());
  return newest;
}

PixelBuffer CaptureOf(HWND popup) {
  return forms::CaptureWindow(popup);
}

RECT ItemIn(HWND popup, HMENU m, int pos) {
  RECT r{}, w{};
  GetMenuItemRect(nullptr, m, static_cast<UINT>(pos), &r);
  GetWindowRect(popup, &w);
  OffsetRect(&r, -w.left, -w.top);
  return r;
}

bool WaitPicture(HWND popup, const std::function<bool(const PixelBuffer&)>& check,
                 PixelBuffer* shot) {
  PixelBuffer last;
  const bool ok = input::WaitUntil(
      [&] {
        last = CaptureOf(popup);
        return !last.Empty() && check(last);
      },
      Watching());
  if (shot) *shot = std::move(last);
  return ok;
}

void CloseMenus() {
  input::Waiting w = Watching();
  w.limitMs = 3000;
  for (int i = 0; i < 4 && !VisiblePopups().empty(); ++i)
    (void)input::PressKey(
        VK_ESCAPE, [] { return VisiblePopups().empty(); }, "closing a menu", w);
}

int Count(const PixelBuffer& shot, const RECT& area, Pixel p) {
  int n = 0;
  for (int y = std::max(0L, area.top); y < std::min<LONG>(shot.Height(), area.bottom); ++y)
    for (int x = std::max(0L, area.left); x < std::min<LONG>(shot.Width(), area.right); ++x)
      n += (shot.At(x, y) & 0xFFFFFF) == p;
  return n;
}

Pixel SchemePixel(const TSkinData& d, int index) {
  return PixelOf(ColorToRGB(d.Colors[static_cast<size_t>(index)]));
}

void SavePicture(const PixelBuffer& picture, const std::string& name) {
  const std::string dir = LBB_SCREENSHOT_DIR "/skinpopup";
  std::filesystem::create_directories(dir);
  std::ofstream out(dir + "/" + name + ".png", std::ios::binary);
  const std::string png = EncodePng(picture);
  out.write(png.data(), static_cast<std::streamsize>(png.size()));
  EXPECT_TRUE(static_cast<bool>(out)) << name;
}

}  // namespace lbb::skin::test
