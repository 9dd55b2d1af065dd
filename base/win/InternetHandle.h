// The WinHTTP member of the handle-owner family (base/win/Handles.h): sessions, connections
// and requests, closed with WinHttpCloseHandle. Separate so only WinHTTP users see winhttp.h.
#pragma once

#include <windows.h>
#include <winhttp.h>

#include "base/win/Handles.h"

namespace lbb {

struct CloseInternetHandle {
  void operator()(HINTERNET h) const { WinHttpCloseHandle(h); }
};
using InternetHandle = UniqueHandle<HINTERNET, CloseInternetHandle>;

}  // namespace lbb
