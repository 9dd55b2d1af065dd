// The message record every control's message method receives, and the framework's own
// notification numbers: CM_ messages the framework sends to controls, and CN_ messages (a
// parent's WM_COMMAND, WM_NOTIFY, scroll, draw-item and colour messages reflected back to
// the child control they concern, numbered CN_BASE + the original message).
#pragma once

#include <windows.h>

#include <functional>

namespace lbb::forms {

struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

// A control's replaceable message method.
using TWndMethod = std::function<void(TMessage&)>;

constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = 0xB000;
constexpr UINT CM_DEACTIVATE = 0xB001;
constexpr UINT CM_DIALOGKEY = 0xB005;       // wParam = virtual key; answer non-zero when used
constexpr UINT CM_DIALOGCHAR = 0xB006;      // wParam = character; answer non-zero when used
constexpr UINT CM_FOCUSCHANGED = 0xB007;    // lParam = the control that has the focus now
constexpr UINT CM_VISIBLECHANGED = 0xB00B;  // wParam = the new visibility
constexpr UINT CM_ENABLEDCHANGED = 0xB00C;
constexpr UINT CM_COLORCHANGED = 0xB00D;
constexpr UINT CM_FONTCHANGED = 0xB00E;
constexpr UINT CM_TEXTCHANGED = 0xB012;
constexpr UINT CM_MOUSEENTER = 0xB013;  // lParam = the control
constexpr UINT CM_MOUSELEAVE = 0xB014;  // lParam = the control
constexpr UINT CM_MENUCHANGED = 0xB015;
constexpr UINT CM_ENTER = 0xB01A;
constexpr UINT CM_EXIT = 0xB01B;
// A form is to free itself once the messages pending for it are handled: TCustomForm::Release
// posts it (a form closed with caFree); skinners of controls treat it like WM_NCDESTROY, as
// the control is about to go.
constexpr UINT CM_RELEASE = 0xB021;
constexpr UINT CM_RECREATEWND = 0xB033;
// A notification beyond the framework's own numbers that the check-box skinner repaints on
// (a check-box control of another library may send it when its look changed). This library
// does not send it.
constexpr UINT CM_CHECKBOXREPAINT = 0xB0D0;

constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;

}  // namespace lbb::forms
