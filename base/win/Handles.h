// One small owner per Win32 acquire/release pair, so that no path leaks a handle. Every
// owner of the program, the form library and the skin engine comes from here.
//
// The rule for "no handle": null, for every family. Kernel handles (files, events, threads)
// also take INVALID_HANDLE_VALUE, the failure value of CreateFile, as "no handle", so an owner
// made from a failed call is empty and never closes it.
#pragma once

#include <windows.h>

#include <utility>

namespace lbb {

// An owned handle released by `Release` (a function object type) when it goes.
template <class H, class Release>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(H h) : h_(Normal(h)) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& o) noexcept : h_(o.release()) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) reset(o.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  H get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  H release() { return std::exchange(h_, nullptr); }
  void reset(H h = nullptr) {
    if (h_) Release()(h_);
    h_ = Normal(h);
  }

 private:
  static H Normal(H h) {
    if constexpr (requires { Release::kInvalidIsNone; }) {
      if (h == INVALID_HANDLE_VALUE) return nullptr;
    }
    return h;
  }

  H h_ = nullptr;
};

struct DeleteGdiObject {
  void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct DeleteDcHandle {
  void operator()(HDC h) const { DeleteDC(h); }
};
struct DestroyIconHandle {
  void operator()(HICON h) const { DestroyIcon(h); }
};
struct DestroyMenuHandle {
  void operator()(HMENU h) const { DestroyMenu(h); }
};
struct DestroyWindowHandle {
  void operator()(HWND h) const { DestroyWindow(h); }
};
struct CloseKernelHandle {
  static constexpr bool kInvalidIsNone = true;
  void operator()(HANDLE h) const { CloseHandle(h); }
};
struct UnhookHook {
  void operator()(HHOOK h) const { UnhookWindowsHookEx(h); }
};
struct UnmapFileView {
  void operator()(void* view) const { UnmapViewOfFile(view); }
};
struct FreeModuleHandle {
  void operator()(HMODULE h) const { FreeLibrary(h); }
};
struct CloseRegistryKey {
  void operator()(HKEY h) const { RegCloseKey(h); }
};

using FontHandle = UniqueHandle<HFONT, DeleteGdiObject>;
using BrushHandle = UniqueHandle<HBRUSH, DeleteGdiObject>;
using PenHandle = UniqueHandle<HPEN, DeleteGdiObject>;
using BitmapHandle = UniqueHandle<HBITMAP, DeleteGdiObject>;
using RegionHandle = UniqueHandle<HRGN, DeleteGdiObject>;
using MemoryDcHandle = UniqueHandle<HDC, DeleteDcHandle>;
using IconHandle = UniqueHandle<HICON, DestroyIconHandle>;
using MenuHandle = UniqueHandle<HMENU, DestroyMenuHandle>;
using WindowHandle = UniqueHandle<HWND, DestroyWindowHandle>;
using KernelHandle = UniqueHandle<HANDLE, CloseKernelHandle>;
using HookHandle = UniqueHandle<HHOOK, UnhookHook>;
using MappedView = UniqueHandle<void*, UnmapFileView>;
using ModuleHandle = UniqueHandle<HMODULE, FreeModuleHandle>;  // LoadLibrary
using RegistryKey = UniqueHandle<HKEY, CloseRegistryKey>;

// Memory allocated in another process (VirtualAllocEx), released there when the owner goes.
// The process handle must outlive the owner.
class RemoteMemory {
 public:
  RemoteMemory(HANDLE process, size_t bytes)
      : process_(process),
        address_(
            VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
  ~RemoteMemory() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  }
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;
  void* get() const { return address_; }
  explicit operator bool() const { return address_ != nullptr; }
  // Leaves the memory to the other process (a thread there may still read it).
  void* release() { return std::exchange(address_, nullptr); }

 private:
  HANDLE process_;
  void* address_;
};

// A global atom (GlobalAddAtomW / GlobalDeleteAtom), deleted when the owner goes.
class GlobalAtom {
 public:
  explicit GlobalAtom(const wchar_t* name) : atom_(GlobalAddAtomW(name)) {}
  ~GlobalAtom() {
    if (atom_) GlobalDeleteAtom(atom_);
  }
  GlobalAtom(const GlobalAtom&) = delete;
  GlobalAtom& operator=(const GlobalAtom&) = delete;
  ATOM get() const { return atom_; }

 private:
  ATOM atom_;
};

// A timer of a window (SetTimer / KillTimer) under a fixed id: started again replaces the
// running one, and it is killed when stopped or when the owner goes. WM_TIMER with the id
// reaches the window's procedure.
class WindowTimer {
 public:
  explicit WindowTimer(UINT_PTR id) : id_(id) {}
  ~WindowTimer() { Stop(); }
  WindowTimer(const WindowTimer&) = delete;
  WindowTimer& operator=(const WindowTimer&) = delete;
  UINT_PTR Id() const { return id_; }
  bool Running() const { return hwnd_ != nullptr; }
  void Start(HWND hwnd, UINT ms) {
    Stop();
    if (hwnd && SetTimer(hwnd, id_, ms, nullptr)) hwnd_ = hwnd;
  }
  void Stop() {
    if (hwnd_) KillTimer(std::exchange(hwnd_, nullptr), id_);
  }

 private:
  UINT_PTR id_;
  HWND hwnd_ = nullptr;
};

// The device context of a window (GetDC / GetWindowDC), released with ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd, bool wholeWindow = false)
      : hwnd_(hwnd), dc_(wholeWindow ? GetWindowDC(hwnd) : GetDC(hwnd)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// One paint cycle (BeginPaint / EndPaint).
class PaintCycle {
 public:
  explicit PaintCycle(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
  ~PaintCycle() { EndPaint(hwnd_, &ps_); }
  PaintCycle(const PaintCycle&) = delete;
  PaintCycle& operator=(const PaintCycle&) = delete;
  HDC get() const { return dc_; }
  const RECT& Area() const { return ps_.rcPaint; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// An object selected into a device context until the scope ends.
class SelectScope {
 public:
  SelectScope(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
  ~SelectScope() {
    if (old_) SelectObject(dc_, old_);
  }
  SelectScope(const SelectScope&) = delete;
  SelectScope& operator=(const SelectScope&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// The saved state of a device context (SaveDC / RestoreDC).
class SavedDc {
 public:
  explicit SavedDc(HDC dc) : dc_(dc), id_(SaveDC(dc)) {}
  ~SavedDc() {
    if (id_) RestoreDC(dc_, id_);
  }
  SavedDc(const SavedDc&) = delete;
  SavedDc& operator=(const SavedDc&) = delete;

 private:
  HDC dc_;
  int id_;
};

}  // namespace lbb
