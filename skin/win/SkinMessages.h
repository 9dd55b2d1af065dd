// The private window messages of the skin engine and the magic number some of them carry.
// The numbers are fixed: skinned windows of other modules answer them too.
#pragma once

#include <windows.h>

namespace lbb::skin {

constexpr UINT SKM_SKINCHANGED = 0x3401;      // the skin changed: re-skin the form
constexpr UINT SKM_REPAINTFRAME = 0x3502;     // repaint the whole non-client area
constexpr UINT SKM_SKINFORM = 0x3503;         // deferred initialisation; lParam kSkinFormParam
constexpr UINT SKM_SETSKINNED = 0x3506;       // control skinners: wParam > 0 on, else off
constexpr UINT SKM_CUSTOMBUTTON = 0x3514;     // posted: a caption button without built-in action
constexpr UINT SKM_BUTTONVISIBLE = 0x3515;    // sent: is a caption button shown (result > 0)
constexpr UINT SKM_MDIREDRAW = 0x3516;        // posted to the MDI client: redraw the frame
constexpr UINT SKM_RESKINSCROLLBAR = 0x3517;  // wParam = control window: new scroll-bar skinner
constexpr UINT SKM_MENUNEXT = 0x3518;         // lParam = screen point: open that menu-bar item
constexpr UINT SKM_ISSKINNED = 0x3523;        // answered 1 by every skinned window
constexpr UINT SKM_PAINTCLIENTTO = 0xBC4A;    // edits: paint the client into the DC in wParam
constexpr UINT SKM_PAINTFRAMETO = 0xBC4B;     // lParam SkinMagic: paint the frame into wParam's DC
constexpr UINT SKM_QUERYSKIN = 0xBC4D;        // SkinMagic when lParam is SkinMagic, else 1
constexpr UINT SKM_SKINNED = 0xBC4E;          // wParam 0, lParam SkinMagic: skinning finished

constexpr LPARAM SkinMagic = 0x41A2;
// A window property: a window (top-level or control) that has it set is kept native; the
// equivalent of the skin data's DisableTag for windows without a control object.
constexpr const wchar_t* kNativeWindowProp = L"LbbSkinNative";

// The window was marked to stay native (kNativeWindowProp).
inline bool KeptNative(HWND hwnd) {
  return hwnd && GetPropW(hwnd, kNativeWindowProp) != nullptr;
}
constexpr LPARAM kSkinFormParam = 1000;  // lParam of the SKM_SKINFORM the manager posts

}  // namespace lbb::skin
