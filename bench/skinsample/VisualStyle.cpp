// The theme manager's values that Wine's theme library reads as it loads (under
// HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager): ThemeActive "1" or "0",
// DllName (the style's file), ColorName and SizeName (schemes the file holds; a name the file
// does not hold leaves the style off).
#include "bench/skinsample/VisualStyle.h"

#include <windows.h>

#include "base/win/Handles.h"

namespace lbb::bench {

namespace {

constexpr wchar_t kThemeManager[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";

// The first of the names a style file lists in its resource of type `type` (id 1): strings
// one after the other, each ended by a null.
std::wstring FirstName(HMODULE style, const wchar_t* type) {
  HRSRC res = FindResourceW(style, MAKEINTRESOURCEW(1), type);
  HGLOBAL data = res ? LoadResource(style, res) : nullptr;
  const auto* text = data ? static_cast<const wchar_t*>(LockResource(data)) : nullptr;
  if (!text) return {};
  const size_t most = SizeofResource(style, res) / sizeof(wchar_t);
  size_t n = 0;
  while (n < most && text[n] != 0)
    ++n;
  return std::wstring(text, n);
}

lbb::RegistryKey OpenThemeManager(REGSAM access) {
  HKEY raw = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kThemeManager, 0, nullptr, 0, access, nullptr, &raw,
                      nullptr) != ERROR_SUCCESS)
    return {};
  return lbb::RegistryKey(raw);
}

// The text value `name`, empty when there is none.
std::wstring ReadText(HKEY key, const wchar_t* name) {
  wchar_t text[64] = {};
  DWORD type = 0, bytes = sizeof text - sizeof(wchar_t);
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &bytes) !=
          ERROR_SUCCESS ||
      type != REG_SZ)
    return {};
  return text;
}

bool SetText(HKEY key, const wchar_t* name, const std::wstring& value) {
  const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        bytes) == ERROR_SUCCESS;
}

}  // namespace

bool LightStyle::Find(std::string& error) {
  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  file_ = std::wstring(windows) + L"\\resources\\themes\\light\\light.msstyles";
  const lbb::ModuleHandle style(LoadLibraryExW(
      file_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  if (!style) {
    error = "Wine's Light visual style is not in the prefix (resources\\themes\\light)";
    return false;
  }
  color_ = FirstName(style.get(), L"COLORNAMES");
  size_ = FirstName(style.get(), L"SIZENAMES");
  if (color_.empty() || size_.empty()) {
    error = "the Light visual style names no colour or size scheme";
    return false;
  }
  const lbb::RegistryKey key = OpenThemeManager(KEY_QUERY_VALUE);
  if (!key) {
    error = "the theme manager's registry key cannot be read";
    return false;
  }
  before_ = ReadText(key.get(), L"ThemeActive");
  found_ = true;
  return true;
}

bool LightStyle::Switch(bool on, std::string& error) const {
  const lbb::RegistryKey key = OpenThemeManager(KEY_SET_VALUE);
  if (!key) {
    error = "the theme manager's registry key cannot be written";
    return false;
  }
  bool ok = SetText(key.get(), L"ThemeActive", on ? L"1" : L"0");
  if (on)
    ok = ok && SetText(key.get(), L"DllName", file_) && SetText(key.get(), L"ColorName", color_) &&
         SetText(key.get(), L"SizeName", size_);
  if (!ok) error = "the theme manager's values cannot be written";
  return ok;
}

bool LightStyle::Restore(std::string& error) {
  if (!found_) return true;
  const lbb::RegistryKey key = OpenThemeManager(KEY_SET_VALUE);
  const bool ok =
      key && (before_.empty() ? RegDeleteValueW(key.get(), L"ThemeActive") == ERROR_SUCCESS
                              : SetText(key.get(), L"ThemeActive", before_));
  if (!ok) error = "the theme manager's switch cannot be set back";
  found_ = !ok;
  return ok;
}

LightStyle::~LightStyle() {
  std::string ignored;
  Restore(ignored);
}

}  // namespace lbb::bench
