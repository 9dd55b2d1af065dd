// The C interface of the skin engine (lbbskin.h): each function hands over to TApiEngine and
// catches everything at the boundary, so that no exception reaches the C caller.
#include "skin/api/include/lbbskin.h"

#include <new>
#include <vector>

#include "skin/api/SkinApiEngine.h"

namespace {

using lbb::skin::api::TApiEngine;

// Runs `call` and turns whatever escapes it into a result code.
template <typename F>
int Guarded(F&& call) noexcept {
  try {
    return call();
  } catch (const std::bad_alloc&) {
    return LBBSKIN_E_INTERNAL;
  } catch (...) {
    return LBBSKIN_E_INTERNAL;
  }
}

}  // namespace

extern "C" {

LBBSKIN_API int __cdecl lbbskin_start(void) {
  return Guarded([] { return TApiEngine::Instance().Start(); });
}

LBBSKIN_API int __cdecl lbbskin_stop(void) {
  return Guarded([] { return TApiEngine::Instance().Stop(); });
}

LBBSKIN_API int __cdecl lbbskin_load_file(const wchar_t* path) {
  return Guarded([&] {
    if (!path || !*path) return LBBSKIN_E_ARGUMENT;
    std::vector<uint8_t> bytes;
    if (const int r = lbb::skin::api::ReadSkinFile(path, bytes); r != LBBSKIN_OK) return r;
    return TApiEngine::Instance().Load(std::move(bytes));
  });
}

LBBSKIN_API int __cdecl lbbskin_load_memory(const void* data, size_t size) {
  return Guarded([&] {
    if (!data || size == 0) return LBBSKIN_E_ARGUMENT;
    const auto* first = static_cast<const uint8_t*>(data);
    return TApiEngine::Instance().Load(std::vector<uint8_t>(first, first + size));
  });
}

LBBSKIN_API int __cdecl lbbskin_load_resource(HMODULE module, const wchar_t* name,
                                              const wchar_t* type) {
  return Guarded([&] {
    if (!name || !type) return LBBSKIN_E_ARGUMENT;
    std::vector<uint8_t> bytes;
    if (const int r = lbb::skin::api::ReadSkinResource(module, name, type, bytes); r != LBBSKIN_OK)
      return r;
    return TApiEngine::Instance().Load(std::move(bytes));
  });
}

LBBSKIN_API int __cdecl lbbskin_unskin_all(void) {
  return Guarded([] { return TApiEngine::Instance().UnskinAll(); });
}

LBBSKIN_API int __cdecl lbbskin_set_controls(unsigned controls) {
  return Guarded([&] { return TApiEngine::Instance().SetControls(controls); });
}

LBBSKIN_API int __cdecl lbbskin_set_options(unsigned options) {
  return Guarded([&] { return TApiEngine::Instance().SetOptions(options); });
}

LBBSKIN_API int __cdecl lbbskin_keep_native(HWND window, int keep) {
  return Guarded([&] { return TApiEngine::KeepNative(window, keep != 0); });
}

LBBSKIN_API int __cdecl lbbskin_set_filter(lbbskin_filter_fn fn, void* user) {
  return Guarded([&] { return TApiEngine::Instance().SetFilter(fn, user); });
}

LBBSKIN_API int __cdecl lbbskin_set_scope(int scope) {
  return Guarded([&] { return TApiEngine::Instance().SetScope(scope); });
}

LBBSKIN_API const char* __cdecl lbbskin_error_text(int code) {
  switch (code) {
    case LBBSKIN_OK:
      return "no error";
    case LBBSKIN_E_ARGUMENT:
      return "an argument is null, out of range or unknown";
    case LBBSKIN_E_NOT_FOUND:
      return "the skin file or resource does not exist";
    case LBBSKIN_E_READ:
      return "the skin file cannot be read";
    case LBBSKIN_E_BAD_SKIN:
      return "the data hold no skin that can be used";
    case LBBSKIN_E_NOT_STARTED:
      return "skinning was not started on this thread";
    case LBBSKIN_E_THREADS:
      return "other threads still skin their windows; stop them first";
    case LBBSKIN_E_HOOK:
      return "the thread's window hook could not be installed";
    case LBBSKIN_E_INTERNAL:
      return "the skin engine failed inside";
    default:
      return "unknown result code";
  }
}

}  // extern "C"
