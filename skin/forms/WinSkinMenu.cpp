#include "skin/forms/WinSkinMenu.h"

#include "base/win/Handles.h"
#include "skin/data/MenuItemGeometry.h"
#include "skin/data/imgutil.h"
#include "skin/forms/FormManager.h"
#include "skin/win/SkinMessages.h"

namespace lbb::skin {

namespace {

TWinSkinPopMenu* g_current = nullptr;

bool ManagerActive() {
  TFormManagerSeam* m = FormManager();
  return m && m->SkinningOn();
}

// The window's rectangle moved to (0, 0).
RECT WindowBox(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return RECT{0, 0, r.right - r.left, r.bottom - r.top};
}

// The device context's clip region and background mode, put back when the scope ends.
class ClipScope {
 public:
  ClipScope(HDC dc, const RECT& clip) : dc_(dc), saved_(CreateRectRgn(0, 0, 0, 0)) {
    hadClip_ = saved_ && GetClipRgn(dc_, saved_.get()) == 1;
    mode_ = SetBkMode(dc_, TRANSPARENT);
    IntersectClipRect(dc_, clip.left, clip.top, clip.right, clip.bottom);
  }
  ~ClipScope() {
    SelectClipRgn(dc_, hadClip_ ? saved_.get() : nullptr);
    if (mode_) SetBkMode(dc_, mode_);
  }
  ClipScope(const ClipScope&) = delete;
  ClipScope& operator=(const ClipScope&) = delete;

 private:
  HDC dc_;
  lbb::RegionHandle saved_;
  bool hadClip_ = false;
  int mode_ = 0;
};

}  // namespace

TWinSkinPopMenu* CurrentPopupSkinner() {
  return g_current;
}

TWinSkinPopMenu::TWinSkinPopMenu() = default;

TWinSkinPopMenu::~TWinSkinPopMenu() {
  UnSubClass();
  if (g_current == this) g_current = nullptr;
}

bool TWinSkinPopMenu::InitSkin(HWND ahwnd, TSkinData* data, HMENU amenu) {
  hwnd = ahwnd;
  fsd = data;
  hmenu = amenu;
  ownerdraw = false;
  return subclass_.Install(ahwnd, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
    return WndProc(msg, wParam, lParam);
  });
}

void TWinSkinPopMenu::UnSubClass() {
  if (!subclass_.Installed()) return;
  subclass_.Restore();
  MenuBg.SetSize(0, 0);
}

bool TWinSkinPopMenu::CanPaint() const {
  return fsd && !fsd->Empty && fsd->MenuitemBG && !fsd->MenuitemBG->Map.Empty();
}

void TWinSkinPopMenu::RenderBackground() {
  const RECT box = WindowBox(hwnd);
  const TDataSkinObject& e = *fsd->MenuitemBG;
  if (MenuBg.Width() != box.right || MenuBg.Height() != box.bottom)
    MenuBg.SetSize(box.right, box.bottom);
  if (!MenuBg.Empty()) {
    DrawSkinImage(MenuBg.Pixels(), TRect{0, 0, box.right, box.bottom}, e.Map, false, e.Tile != 1,
                  false, 1, 1, e.r);
    GdiFlush();
  }
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  RECT window{};
  GetWindowRect(hwnd, &window);
  ClientOrigin = POINT{origin.x - window.left, origin.y - window.top};
  if (!hmenu) g_current = this;
}

LRESULT TWinSkinPopMenu::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == SKM_ISSKINNED) return 1;
  if (!ManagerActive()) return subclass_.CallPrevious(msg, wParam, lParam);
  switch (msg) {
    case WM_DESTROY: {
      // The menu's own procedure sees its destruction; then the window is given back.
      const LRESULT r = subclass_.CallPrevious(msg, wParam, lParam);
      UnSubClass();
      return r;
    }
    case WM_ERASEBKGND:
      return OnEraseBkgnd(wParam, lParam);
    case WM_NCPAINT:
      return OnNcPaint(wParam, lParam);
    case WM_PRINT:
      return OnPrint(wParam, lParam);
    case WM_PAINT:
      return OnPaint(wParam, lParam);
    default:
      return subclass_.CallPrevious(msg, wParam, lParam);
  }
}

// The platform's erase runs unless the skin asks for its menu background alone; either way
// the background counts as erased.
LRESULT TWinSkinPopMenu::OnEraseBkgnd(WPARAM wParam, LPARAM lParam) {
  if (!fsd || !InSet(fsd->Options(), xoMenuBG))
    subclass_.CallPrevious(WM_ERASEBKGND, wParam, lParam);
  return 1;
}

// The whole frame from the skin; the native frame never shows. The platform may name an
// update region instead of the whole window: the frame is painted whole either way, which
// covers any region.
LRESULT TWinSkinPopMenu::OnNcPaint(WPARAM wParam, LPARAM lParam) {
  if (!CanPaint()) return subclass_.CallPrevious(WM_NCPAINT, wParam, lParam);
  RenderBackground();
  // A menu window without a frame of its own (the client area is the whole window) gets the
  // frame after its items are painted (OnPaint), over the platform's border: painted here
  // as well, it would only be painted over.
  if (FrameInsideClient()) return 0;
  lbb::WindowDc dc(hwnd, true);
  if (dc.get()) PaintFrame(dc.get());
  return 0;
}

bool TWinSkinPopMenu::FrameInsideClient() const {
  return ClientOrigin.x < kPopupFrame || ClientOrigin.y < kPopupFrame;
}

// The skin's frame strips and the rest of the picture outside the client area, where the
// items are drawn.
void TWinSkinPopMenu::PaintFrame(HDC dc) {
  HDC src = MenuBg.Canvas()->Handle();
  const int w = static_cast<int>(MenuBg.Width()), h = static_cast<int>(MenuBg.Height());
  // The frame's width all round and whatever lies outside the client area, in one transfer:
  // everything but the part of the client area inside the frame.
  const int f = kPopupFrame;
  RECT client{}, items{};
  GetClientRect(hwnd, &client);
  OffsetRect(&client, ClientOrigin.x, ClientOrigin.y);
  const RECT inner{f, f, w - f, h - f};
  SavedDc saved(dc);
  if (IntersectRect(&items, &client, &inner))
    ExcludeClipRect(dc, items.left, items.top, items.right, items.bottom);
  BitBlt(dc, 0, 0, w, h, src, 0, 0, SRCCOPY);
}

// The platform paints the items; where its frame lies inside the client area (the window has
// no frame of its own) the skin's frame goes over it afterwards.
LRESULT TWinSkinPopMenu::OnPaint(WPARAM wParam, LPARAM lParam) {
  if (!CanPaint()) return subclass_.CallPrevious(WM_PAINT, wParam, lParam);
  RenderBackground();  // the items read it while they are drawn
  const LRESULT r = subclass_.CallPrevious(WM_PAINT, wParam, lParam);
  if (!IsWindow(hwnd) || MenuBg.Empty()) return r;
  if (!FrameInsideClient()) return r;
  lbb::WindowDc dc(hwnd, true);
  if (dc.get()) PaintFrame(dc.get());
  return r;
}

// The picture first, then the platform prints the items into the window's inside.
LRESULT TWinSkinPopMenu::OnPrint(WPARAM wParam, LPARAM lParam) {
  if (!CanPaint()) return subclass_.CallPrevious(WM_PRINT, wParam, lParam);
  auto* dc = reinterpret_cast<HDC>(wParam);
  RenderBackground();
  BitBlt(dc, 0, 0, static_cast<int>(MenuBg.Width()), static_cast<int>(MenuBg.Height()),
         MenuBg.Canvas()->Handle(), 0, 0, SRCCOPY);
  const RECT box = WindowBox(hwnd);
  const RECT inside{kPopupFrame, kPopupFrame, box.right - kPopupFrame, box.bottom - kPopupFrame};
  ClipScope clip(dc, inside);
  return subclass_.CallPrevious(WM_PRINT, wParam, lParam);
}

}  // namespace lbb::skin
