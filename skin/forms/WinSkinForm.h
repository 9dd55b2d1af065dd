// TWinSkinForm: the object that skins one top-level window, MDI frame or MDI child. It takes
// over the window's procedure (and, for a framework form, the form's message method), keeps
// the window's set-up (styles, border kind, caption buttons, icons, window state), dispatches
// the window's messages in stages, and gives the window back exactly as it found it.
//
// The skin manager (TSkinManage) decides which windows get one and owns the lifecycle: it
// creates the skinner (owned by the form when there is a framework form, else by the
// manager), sets Hwnd, mode and formclass, calls InitTform or InitDlg and posts SKM_SKINFORM.
//
// The set-up, dispatch and removal live in WinSkinForm*.cpp; the skinned frame (border widths,
// the client area, painting, hit tests, caption buttons, hints, the system menu and the window
// region) in WinSkinFrame*.cpp, WinSkinSysMenu.cpp and WinSkinRegion.cpp. A window's native
// menu bar is taken into `hmenu` (given back when the window is unskinned) and painted by the
// menu bar (WinSkinMenuBar.cpp, WinSkinMenuTrack.cpp); the owner-drawn menu items are filled in
// by their own files through the hand-over points named below.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/win/Handles.h"
#include "forms/Forms.h"
#include "forms/Graphics.h"
#include "forms/Menus.h"
#include "forms/Messages.h"
#include "forms/WindowProcHook.h"
#include "skin/controls/SkinControlHost.h"
#include "skin/data/CaptionGeometry.h"
#include "skin/forms/NCObject.h"
#include "skin/win/DibSurface.h"
#include "skin/win/SkinMessages.h"
#include "skin/win/SkinTimers.h"
#include "skin/win/WinSkinData.h"

namespace lbb::skin {

class TSkinControl;
// The painted menu bar belongs to the menu-bar painter.
class TWinSkinMenu;
class TMenuBtn;
enum class TSkinnerKind;

enum class TSkinFormStyle : uint8_t { sfsNormal, sfsMDIform, sfsMDIChild, sfsChild };
enum class TSkinFormBorder : uint8_t { sbsSizeable, sbsSingle, sbsNone, sbsDialog };
enum class TSkinWindowState : uint8_t { swsNormal, swsMax, swsMin };
// TSkinFormIcons: a bit set in one byte.
enum TSkinFormIcon : uint8_t {
  sbiMax = 1,
  sbiMin = 2,
  sbiHelp = 4,
  sbisystem = 8,
  sbicaption = 16
};
using TSkinFormIcons = uint8_t;

// Skinstate values.
enum TSkinFormState : int {
  kSkinPending = 0,    // set up, SKM_SKINFORM not yet processed
  kSkinIdle = 1,       // skinned and idle
  kSkinChanging = 3,   // SkinChange running
  kSkinRemoving = 4,   // being removed: nothing restored
  kSkinFitting = 5,    // FitFrame of the deferred initialisation
  kSkinDestroyed = 6,  // the window is gone; the manager frees the skinner at its next purge
};

// The period of the form skinner's hover timer.
constexpr UINT kHoverTimerMs = 250;

class TWinSkinForm : public forms::TComponent, public TSkinControlHost {
 public:
  // `AOwner` is the framework form, or null for a plain window (then the manager owns it).
  explicit TWinSkinForm(forms::TComponent* AOwner);
  // Frees the control skinners, caption buttons, buffers, timer, menus and fonts, and asks
  // the manager to drop Hwnd from its list.
  ~TWinSkinForm() override;

  // Set-up for a framework form, and for a plain window.
  void InitTform(TSkinData* afsd, forms::TCustomForm* aform);
  void InitDlg(TSkinData* afsd);

  // Giving the window back: it lives on (UnSubclass), it is being destroyed (UnSubclass3),
  // the frame was never skinned (UnSubclass2).
  void UnSubclass();
  void UnSubclass2();
  void UnSubclass3();

  // Re-applies the current skin (the manager calls DeleteSysbtn and InitSkinData first).
  void SkinChange();
  // The border widths and caption buttons from the skin data; freeing the buttons.
  void InitSkinData();
  void DeleteSysbtn();
  // The shaped window region from colour-keyed border pieces, and taking it away. `redraw`
  // false while the window is being resized: the resize repaints what the region changes.
  // CropTo shapes the window for the size `W` x `H` it is about to take.
  void Cropwindow(bool redraw = true);
  void CropTo(int W, int H, bool redraw);
  void Uncropwindow();
  // The whole frame (left, right, caption bar, bottom) rendered into `fbmp`, sized to the
  // window, on the skin's button face.
  void getClipMap(TDibSurface& fbmp);

  // ---- the skinned frame
  // Paints the non-client area on `dc`, or on the window's own when null.
  void PaintFrame(HDC dc = nullptr);
  // Renders border piece `side` (kBorderLeft...) in the window's active or inactive look.
  void DrawBorder(int side, const RECT& r, HDC dc);
  void DrawBorderPixels(int side, const TRect& r, PixelBuffer& dst);
  // Whether caption button `index` shows now (stored in its `visible`).
  bool IsSysButtonVisible(size_t index);
  // The same with the window's state read once for a whole row of buttons.
  bool IsSysButtonVisible(size_t index, const TButtonWindow& window);
  void LayoutSysButtons();
  // One caption button in its state, straight onto the window.
  void DrawSysButton(TWinSysButton& button);
  // The caption button at frame point p (visible, Action >= 0), or null.
  TWinSysButton* FindSysBtn(const TFramePoint& p) const;
  TFramePoint ScreenToFrame(POINT screen) const;
  // The click of ActiveBtn at screen point `at`.
  void SysButtonClick(POINT at);
  // The hint text of a caption button's action (empty: none).
  static std::u16string SysButtonHint(int action);
  void SendToActiveMDIChild(WPARAM command);
  // The skinned system menu at `screen`. A second mouse click within the double-click time
  // does not open it again (`byMouse`); the keyboard opens it every time.
  void PopupSysMenu(POINT screen, bool byMouse = true);
  void BuildSysMenu();
  void BuildDefaultSysMenu();
  void AddSysMenuitem(const std::u16string& acaption, int action);
  bool HasCloseItem() const;
  // The window-icon bitmap (IconBmp, DefIcon, Iconx) from the window's icon.
  void MakeIconBitmap();
  // Kept for its callers; no effect.
  void EnableSysbtn(bool) {}
  void doLog(const std::u16string&) {}

  // SetWindowPos with frame changed and nothing else (flags 0x37).
  void Refresh();
  // Invalidates all of `ahwnd` with erase and updates it at once.
  static void RePaint(HWND ahwnd);
  void Minimize();
  void Maximize();
  void Restore();
  void RestoreMDI();
  bool MDIChildMax() const;

  // ---- the host of the control skinners: the list this skinner owns
  bool AddControlList(TSkinControl* acontrol) override;
  // Removes it (searching from the end) without freeing it.
  void DeleteControl(TSkinControl* acontrol) override;
  HWND HostWindow() const override { return Hwnd; }
  TSkinData* HostData() const override { return fsd; }
  forms::TCanvas* HostCanvas() const override { return fcanvas2.get(); }
  // The control-kind mapping (WinSkinMapping.cpp): the skinner of one control object
  // (`wForm`: the form or container being walked), of one bare window, and of every child
  // window of a plain window.
  void AddComp(forms::TComponent* comp);
  void AddComp(forms::TComponent* comp, forms::TWinControl* wForm);
  void AddControlh(HWND ahwnd);
  void InitHwndControls(HWND ahwnd);
  // The Skin3rd lookup: true when the list has a line for the class (whatever it gave).
  bool AddSkin3rdControl(const std::u16string& className, forms::TControl* control);
  void InitControls(forms::TWinControl* wForm);
  void InitNestform(forms::TWinControl* wForm);

  // Menu items (WinSkinMenuItem*.cpp). Owner-drawing of a form's popup menus and of its main
  // menus' drop-down items switched on and off: switching off takes away only the handlers
  // and owner-draw flags that switching on set.
  void InitPopMenu(forms::TWinControl* aform, bool enable, bool update);
  void InitMainMenu(forms::TWinControl* aform, bool enable);
  // One framework item drawn in the skin's look (the plain look without a MenuItem element).
  void DrawMenuItem(forms::TObject* Sender, forms::TCanvas* ACanvas, RECT ARect, bool Selected);
  // One framework item measured: the framework's measure (the item's own handler left out),
  // widened for the skin's look; and the system menu's width rule over the framework's measure.
  void MeasureItem(forms::TObject* Sender, forms::TCanvas* ACanvas, int& Width, int& Height);
  void SysMenuMeasureItem(forms::TObject* Sender, int& Width);
  // WM_MEASUREITEM and WM_DRAWITEM of menu items that reach the skinned window.
  void OnMeasureMenuItem(forms::TMessage& m);
  void OnDrawMenuItem(forms::TMessage& m);

  // ---- the painted menu bar (WinSkinMenuTrack.cpp)
  // Opens `button`'s drop-down under it and tracks it until it closes; false when nothing
  // was opened (no button, a command item, a drop-down open already).
  bool CheckMenu(TMenuBtn* button);
  // Posts a non-client press on `button`, which opens its drop-down.
  void ClickButton(TMenuBtn* button);
  // SKM_MENUNEXT: opens the bar button under the screen point in lParam.
  void OpenMenuAt(forms::TMessage& m);
  // Rebuilds the bar's buttons and repaints the band at once.
  void UpdateMainMenu();
  // The first enabled, visible button whose caption has `ch` as accelerator; null when none.
  TMenuBtn* FindAccelBtn(wchar_t ch) const;
  // The button after (or before) the current one of the tracking, wrapping round.
  TMenuBtn* NextMenuBtn(bool forward) const;
  void InstallMenuHook();
  static void RemoveMenuHook();
  static LRESULT CALLBACK MenuMsgFilter(int code, WPARAM wParam, LPARAM lParam);
  // Makes every item of `amenu` and its drop-downs owner-drawn.
  static void MakeOwnerDraw(HMENU amenu);
  // A popup menu the program tracks itself with this bare window as its owner is opening
  // (WM_INITMENUPOPUP): its items are made owner-drawn while it is open, as the bar's drop-downs
  // are. The menu loop's end (WM_EXITMENULOOP) gives them back.
  void OnProgramMenuOpening(HMENU popup, bool windowMenu);
  void OnProgramToldOfDropDown(HMENU popup);
  void OnMenuLoopEnd();
  // True when the skin draws the owner-drawn menu item `id` (of `shown`, null when not known):
  // the item of a form object or one this skinner made owner-drawn. A program's own
  // owner-drawn items are drawn by the program.
  bool DrawsMenuItem(HMENU shown, UINT id) const;

  // True while the window's procedure is this skinner's.
  bool Subclassed() const;

  // The replacement window procedure and the procedure before it (the message dispatch).
  void SkinWndProc(forms::TMessage& m);
  void CallDefault(forms::TMessage& m);
  // The replacement of the framework form's message method (skinned frames of forms).
  void FormWindowProc(forms::TMessage& m);
  // The replacement procedure of an MDI frame's client window.
  LRESULT MDIClientWndProc(UINT msg, WPARAM wParam, LPARAM lParam);
  // Makes the window's size fit the skin frame; `keepClient`: around the current client area.
  void FitFrame(bool keepClient);
  // The window state from the window's placement.
  void ReadWindowState();
  // The system-menu style for the skinned caption (the frame painter sets it).
  void SetSysMenuStyle(bool strip);
  // The hover and hint timer's tick (the frame painter handles caption-button hovering).
  void TimerTick();

  // ---- what the manager, the menu bar and the painters' tests read
  // The control skinners (a snapshot).
  std::vector<TSkinControl*> Controls() const;
  // Frees the skinner of the windowless control `control` (its form lost it).
  void DeleteGraphicControl(forms::TControl* control);
  // The window's region is cut from the skin's keyed border pieces.
  bool Cropped() const { return crop; }
  // Makes the next Cropwindow rebuild the region even at the same size.
  void ForgetCropSize() { crwidth = 0; }
  // The window's native menu, held while the painted bar shows it.
  HMENU NativeMenu() const { return hmenu; }
  void HoldNativeMenu(HMENU amenu) { hmenu = amenu; }
  bool WindowActive() const { return FWindowActive; }
  bool IsMessageBox() const { return ismessagebox; }
  // The skin data paints the main menu as a band.
  bool SkinsMainMenu() const { return sMainMenu; }
  // The caption reads right to left (buttons on the left).
  bool RightToLeft() const { return bidileft; }
  // A drop-down of the painted bar is being tracked.
  bool InMenuLoop() const { return std::atomic_ref<const bool>(fInMenu).load(); }
  // The MDI client window of an MDI frame.
  HWND MDIClientWindow() const { return ClientHwnd; }
  // The caption's layout: the caption area between the buttons, the title text's rectangle,
  // the width the right-hand buttons take, the application icon's size, and the widest
  // character of the caption font (dialogs are widened by the title).
  const RECT& CaptionRect() const { return ctr; }
  const RECT& TitleRect() const { return FTitleRect; }
  int RightButtonsWidth() const { return RightBtn; }
  int IconSize() const { return Iconx; }
  int CharWidth() const { return charwidth; }
  int FrameWidth() const { return fwidth; }
  HFONT CaptionFontHandle() const;
  // The title as the caption writes it (padded on both sides).
  std::wstring TitleText() const;
  // The skinned system menu (null until the frame painter makes it).
  const forms::TPopupMenu* SystemMenu() const { return sysmenu.get(); }
  // When the system menu last popped up (a second right click within the double-click time
  // after it closes the window).
  void SetSysMenuPopTime(unsigned tick) { poptime = tick; }

  // ---- the state the skin manager and other skin parts read and write under these names
  HWND Hwnd = nullptr;
  intptr_t mode = 0;
  std::u16string formclass;
  TSkinData* fsd = nullptr;
  forms::TCustomForm* FForm = nullptr;
  TSkinFormState Skinstate = kSkinPending;
  TSkinFormStyle FormStyle = TSkinFormStyle::sfsNormal;
  TSkinFormBorder FormBorder = TSkinFormBorder::sbsSingle;
  TSkinWindowState Windowstate = TSkinWindowState::swsNormal;
  RECT bw{};  // border widths: left, top (caption bar), right, bottom
  int MenuHeight = 0;
  // The painted menu bar, owned: made at set-up for a window with a native menu (not an MDI
  // child), freed when the window is unskinned or the skinner goes.
  std::unique_ptr<TWinSkinMenu> menu;
  // The caption buttons, in the skin's order, and the one under the mouse.
  std::vector<std::unique_ptr<TWinSysButton>> SysBtn;
  TNCObject* ActiveBtn = nullptr;

 private:
  // The implementation's own state (subclassing, hooks) — see WinSkinFormImpl.h.
  struct TImpl;
  std::unique_ptr<TImpl> impl;

  // The skinner's own state: what other classes may see of it is read through the
  // operations above.
  TSkinFormIcons FormIcons = 0;
  bool sMainMenu = false;
  bool crop = false;
  bool FWindowActive = true;
  bool fInMenu = false;
  bool programMenu = false;  // a popup menu of the program's is open (OnProgramMenuOpening)
  bool bidileft = false;
  bool isunicode = false;
  bool ismessagebox = false;
  bool ischildform = false;
  bool menuauto = false;
  // The control skinners, owned; a skinner freed by its control takes itself out.
  std::vector<std::unique_ptr<TSkinControl>> Controllist;
  std::unique_ptr<forms::TCanvas> fCanvas;
  std::unique_ptr<forms::TCanvas> fcanvas2;
  std::wstring bstr = L"  ";
  std::wstring astr = L" ";
  std::u16string classname;
  std::wstring caption;
  RECT fClientRect{};
  RECT wTr{};
  RECT ctr{};
  RECT FTitleRect{};
  RECT oldsize{};  // (0, 0, native frame width, native frame height)
  SIZE sizedTo{};  // the window's size at its last WM_SIZE
  int BtnCount = 0;
  int RightBtn = 0;
  int charwidth = 0;
  int Iconx = 0;
  int fwidth = 0, fheight = 0;
  int crwidth = 0, crheight = 0;
  unsigned poptime = 0;
  int DoubleTime = 0;
  HWND parenthwnd = nullptr;
  HWND ClientHwnd = nullptr;
  HMENU hmenu = nullptr;
  HMENU hsysmenu = nullptr;
  HMENU activemenu = nullptr;
  HICON DefIcon = nullptr;
  TColor formcolor = 0;
  DWORD dwstyle = 0;
  // The window's region while crop (the window owns it once it is set; never deleted here).
  HRGN WinRgn = nullptr;
  // The skinned system menu, owned; the frame painter makes it (null until then).
  std::unique_ptr<forms::TPopupMenu> sysmenu;
  forms::TPopupMenu* trackedSysmenu = nullptr;  // the system menu while it shows
  // Scratch surfaces of the frame painter: border pieces and single caption buttons; the
  // caption as composed without its buttons (what a button redraw puts back under it).
  TDibSurface BorderBuf;
  TDibSurface ButtonBuf;
  PixelBuffer CaptionBack;
  // The 250 ms hover and hint timer: one of the engine's own, started on the window's thread
  // and ticking there into TimerTick; the window's own WM_TIMER messages are never touched.
  TSkinTimer timer{[this] { TimerTick(); }};
  std::unique_ptr<forms::TFont> CaptionFont;
  std::unique_ptr<forms::TBitmap> IconBmp;
  std::unique_ptr<TDibSurface> CaptionBuf;
  forms::TComponent* Activeskincontrol = nullptr;

  void InitForm(TSkinData* afsd);
  // The mapping's steps (WinSkinMapping.cpp).
  void MapControl(forms::TControl* c, forms::TWinControl* wForm);
  bool IsControlSkinned(forms::TControl* c) const;
  void AddChildControls(forms::TWinControl* w);
  bool Gate(int member) const;
  void Attach(TSkinnerKind kind, forms::TControl* c, bool colour = false);
  void MapByClass(forms::TControl* c, forms::TWinControl* w, const std::u16string& name);
  bool MapFormLibraryKind(forms::TControl* c);
  void MapGeneralKinds(forms::TControl* c, forms::TWinControl* w, const std::u16string& name);
  void MapNestedForm(forms::TCustomForm* f);
  void MapSkin3rdKind(const std::u16string& kind, const std::u16string& key, forms::TControl* c);
  void MapSkin3rdContainerKind(const std::u16string& kind, forms::TControl* c,
                               forms::TWinControl* w);
  void MapButtonWindow(HWND ahwnd, DWORD style);
  void MapWindowClass(HWND ahwnd, const std::u16string& name, DWORD style);
  void ClipControls();
  void TakeClipBack();
  void MapCommonControlClass(HWND ahwnd, const std::u16string& name);
  // The skinner of `kind` for bare window `h` when the SkinControls set has `gate`.
  void AttachHwndIf(int gate, TSkinnerKind kind, HWND h);
  void ReadStyles();
  void ReadFormIcons(DWORD style, DWORD exstyle);
  void DetectMDIClient();
  void ReadBorderKind(DWORD style, DWORD exstyle);
  void HideWhileSkinning();
  void TakeMenuBar();
  void GiveMenuBack();
  void Subclass();
  void OnSkinForm();
  void SaveFrameSize();
  // Puts back the WS_VISIBLE HideWhileSkinning took and has the window painted once.
  void EndHold();
  void FitAfterSkinning();
  void NotifySkinned();
  int TitleWidth();
  RECT CurrentClientRect() const;
  void WidenMessageBox(int& width);
  void RestoreNativeSize();
  void FreeControls();
  // The start of UnSubclass and UnSubclass3: a frame that was never skinned is given back by
  // UnSubclass2 (false); else the system menu and timer go, and, when subclassed, the form's
  // message method, the window procedure and the control skinners (true).
  bool TakeProceduresBack();
  void FreeDeadControls();
  void FreeControlAt(size_t i);
  void UndoFormLooks();
  void AddWindowedControls(forms::TWinControl* parent);

  // Dispatch stages and handlers.
  bool Stage1(forms::TMessage& m);
  bool Stage2(forms::TMessage& m);
  void Stage3(forms::TMessage& m);
  void OnEraseBkgnd(forms::TMessage& m);
  void OnNcDestroy(forms::TMessage& m);
  void OnNcActivateEarly(forms::TMessage& m);
  void OnInitMenuPopup(forms::TMessage& m);
  void OnCtlColor(forms::TMessage& m);
  void OnReskinScrollbar(forms::TMessage& m);
  void OnIsSkinned(forms::TMessage& m);
  void OnSize(forms::TMessage& m);
  void OnWindowPosChanging(forms::TMessage& m);
  void OnDpiChanged(const forms::TMessage& m);
  void ReadCaptionFont(int dpi);
  void OnCommand(forms::TMessage& m);
  void OnSysCommand(forms::TMessage& m);
  void OnMenuNext(forms::TMessage& m);
  void OnMenuChanged(forms::TMessage& m, bool formMethod);
  void OnMenuItem(forms::TMessage& m);
  void OnNcCalcSize(forms::TMessage& m);
  void OnNcHitTest(forms::TMessage& m);
  void OnNcPaint(forms::TMessage& m);
  void OnNcActivate(forms::TMessage& m);
  void OnNcMouse(forms::TMessage& m);
  void OnRepaintFrame(forms::TMessage& m);
  void OnSetText(forms::TMessage& m);
  void OnPaintFrameTo(forms::TMessage& m);
  void PaintFrameOn(HDC dc);
  void PaintCaption(HDC dc);
  void DrawCaptionText(TDibSurface& buf, const RECT& c);
  void DrawSysButtons(TDibSurface& buf);
  void DrawFormIcon(TDibSurface& buf, const RECT& r);
  // The menu band: painted by the bar (or filled with the skin's face without one).
  void PaintMenuBand(HDC dc);
  RECT MenuBandRect() const;
  // The band repainted on the window now.
  void RepaintMenuBand();
  // The bar made from the window's native menu, and freed (a drop-down of it closed first).
  void MakeMenuBar();
  void FreeMenuBar();
  // Presses a bar button and tracks its drop-down; the button is normal again afterwards.
  void PressMenuBtn(TMenuBtn* button);
  // The keyboard's way into the bar: the button for `ch` (0: the first), pressed.
  bool OpenMenuByKey(wchar_t ch);
  // What the tracking hook does with one message of the menu loop.
  void FilterMenuMessage(MSG& msg);
  void MirrorArrows(MSG& msg) const;
  int KeyCandidate(WPARAM key) const;
  int MouseCandidate(POINT screen) const;
  void MenuSelected(WPARAM wParam, LPARAM lParam);
  void OnMenuSelect(forms::TMessage& m);
  TButtonWindow ButtonWindow() const;
  // The top of the application icon drawn in the caption: centred on the title.
  int IconTop() const;
  TFrameWidths Widths() const { return TFrameWidths{bw.left, bw.top, bw.right, bw.bottom}; }
  void NcMouseMove(forms::TMessage& m, TNCObject* hit);
  void NcButtonDown(forms::TMessage& m, TNCObject* hit, const TFramePoint& p);
  void NcButtonUp(forms::TMessage& m, TNCObject* hit, POINT at);
  void NcDoubleClick(forms::TMessage& m, TWinSysButton* hit);
  void NcRightButtonDown(forms::TMessage& m, POINT at);
  void ShowButtonHint(TWinSysButton& b, POINT cursor);
  void LeaveSkinControl();
  void DialogChar(forms::TMessage& m);
  void OldWndProc(forms::TMessage& m);
};

// The component a nested form carries: its only field refers to the host's form skinner.
class TWinSkinSpy : public forms::TComponent {
 public:
  explicit TWinSkinSpy(forms::TComponent* AOwner) : forms::TComponent(AOwner) {}
  TWinSkinForm* sf = nullptr;
};

}  // namespace lbb::skin
