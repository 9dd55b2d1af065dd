// TSkinControlHost: what a control skinner needs of the skinner of its top-level window: a
// place in its list of control skinners (which owns the skinners of bare windows), the
// window itself, the skin data and the canvas the skinner draws with. The form skinner is
// the host; the control skinners never see more of it than this.
#pragma once

#include <windows.h>

#include "forms/Graphics.h"
#include "skin/win/WinSkinData.h"

namespace lbb::skin {

class TSkinControl;

class TSkinControlHost {
 public:
  // Appends `acontrol` to the host's list unless listed; true when it was listed already.
  virtual bool AddControlList(TSkinControl* acontrol) = 0;
  // Takes `acontrol` out of the list without freeing it (its destructor calls this).
  virtual void DeleteControl(TSkinControl* acontrol) = 0;
  // The top-level window the host skins.
  virtual HWND HostWindow() const = 0;
  // The skin data the host's window is skinned with.
  virtual TSkinData* HostData() const = 0;
  // The canvas control skinners of this host draw with.
  virtual forms::TCanvas* HostCanvas() const = 0;

 protected:
  ~TSkinControlHost() = default;
};

}  // namespace lbb::skin
