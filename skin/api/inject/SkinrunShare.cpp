#include "skin/api/inject/SkinrunShare.h"

#include <cstring>
#include <utility>

namespace lbb::skinapi {

namespace {

std::wstring NameOf(const wchar_t* what, DWORD pid) {
  return std::wstring(L"lbbskin-skinrun-") + what + L"-" + std::to_wstring(pid);
}

}  // namespace

std::optional<SkinrunShare> SkinrunShare::Create(DWORD pid, const std::wstring& skinPath) {
  if (skinPath.size() >= SkinrunBlock::kPathChars) return std::nullopt;
  SkinrunShare s;
  s.mapping_.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      sizeof(SkinrunBlock), NameOf(L"block", pid).c_str()));
  if (!s.mapping_) return std::nullopt;
  s.view_.reset(MapViewOfFile(s.mapping_.get(), FILE_MAP_WRITE, 0, 0, sizeof(SkinrunBlock)));
  s.ready_.reset(CreateEventW(nullptr, TRUE, FALSE, NameOf(L"ready", pid).c_str()));
  if (!s.view_ || !s.ready_) return std::nullopt;
  SkinrunBlock& b = s.Block();
  std::memset(&b, 0, sizeof b);
  b.magic = SkinrunBlock::kMagic;
  b.size = sizeof(SkinrunBlock);
  std::memcpy(b.skinPath, skinPath.c_str(), (skinPath.size() + 1) * sizeof(wchar_t));
  return s;
}

std::optional<SkinrunShare> SkinrunShare::Open(DWORD pid) {
  SkinrunShare s;
  s.mapping_.reset(OpenFileMappingW(FILE_MAP_WRITE, FALSE, NameOf(L"block", pid).c_str()));
  if (!s.mapping_) return std::nullopt;
  s.view_.reset(MapViewOfFile(s.mapping_.get(), FILE_MAP_WRITE, 0, 0, sizeof(SkinrunBlock)));
  s.ready_.reset(OpenEventW(EVENT_MODIFY_STATE, FALSE, NameOf(L"ready", pid).c_str()));
  if (!s.view_ || !s.ready_) return std::nullopt;
  const SkinrunBlock& b = s.Block();
  if (b.magic != SkinrunBlock::kMagic || b.size != sizeof(SkinrunBlock)) return std::nullopt;
  return s;
}

AttachStage SkinrunShare::Stage() const {
  return static_cast<AttachStage>(
      InterlockedCompareExchange(reinterpret_cast<volatile LONG*>(&Block().stage), 0, 0));
}

void SkinrunShare::Reach(AttachStage stage) const {
  auto* at = reinterpret_cast<volatile LONG*>(&Block().stage);
  LONG now = InterlockedCompareExchange(at, 0, 0);
  while (now < static_cast<LONG>(stage)) {
    const LONG seen = InterlockedCompareExchange(at, static_cast<LONG>(stage), now);
    if (seen == now) return;
    now = seen;
  }
}

}  // namespace lbb::skinapi
