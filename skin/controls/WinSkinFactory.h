// The factory of the control skinners: the kinds the control-kind mapping chooses from (the
// mapping itself decides, in skin/forms/WinSkinMapping.cpp, as part of the form skinner), and
// making and starting the skinner of a kind (WinSkinFactory.cpp, the one file that knows every
// skinner class).
#pragma once

#include <windows.h>

#include "forms/Controls.h"

namespace lbb::skin {

class TSkinControl;
class TSkinControlHost;

// The skinner a mapping chose.
enum class TSkinnerKind {
  Button,
  BitButton,
  PngBitButton,  // a bit button whose picture is its "PngImage"
  MenuButton,
  SpeedButton,
  PngSpeedButton,
  Scrollbar,        // started with InitScrollbar
  SingleScrollbar,  // the same without a border (kind 1)
  ScControl,        // a scroll-bar control
  ListView,
  ScrollbarH,  // a bare window's own bars
  ObjImageCheck,
  ObjImageRadio,
  ObjImageProps,
  Edit,
  CheckBox,
  RadioButton,
  ComBox,
  ComBoxEx,  // a combo box with HasButton
  Box,
  BoxH,
  GroupBox,
  Tab,
  TabBtn,  // a tab control in button style (TCS_BUTTONS)
  Tab31,
  TabSheet,
  AdvPage,
  UpDown,
  MediaPlayer,
  TrackBar,
  DateTime,
  Progress,
  StatusBar,
  Sizer,
  Header,  // a bare list view's header window
};

// Makes the skinner of `kind` for the control object (owned by it) and starts it on sf's
// skin data and canvas (Init with `colour`, or the start the kind needs). Null when the
// skinner could not start; the control stays native.
TSkinControl* AttachSkinner(TSkinControlHost& sf, TSkinnerKind kind, forms::TControl* control,
                            bool colour);
// The same for a bare window (started with Inithwnd; the form skinner's list owns it).
TSkinControl* AttachSkinnerHwnd(TSkinControlHost& sf, TSkinnerKind kind, HWND ahwnd);

}  // namespace lbb::skin
