// Wine's own visual style "Light" switched on and off for the programs started afterwards:
// the theme library (uxtheme) reads the user's theme-manager values once, as it is loaded into
// a process, so each program started after a switch shows the style as switched. The prefix
// gets back the switch it had before (a prefix that Wine 8 makes has the style on), so the
// programs and tests that share it see it as they did.
#pragma once

#include <string>

namespace lbb::bench {

class LightStyle {
 public:
  // Finds the style's file in the prefix and its first colour and size scheme, and keeps the
  // prefix's switch; `error` says what is missing when it returns false.
  bool Find(std::string& error);
  // Writes the theme-manager values: the style on (its file, colour and size) or off.
  bool Switch(bool on, std::string& error) const;
  // Gives the prefix back the switch it had (the value, or its absence).
  bool Restore(std::string& error);
  // Restores, however the run ends.
  ~LightStyle();

  const std::wstring& File() const { return file_; }
  // The prefix's switch as found: "1", "0", or empty when it had none.
  const std::wstring& Before() const { return before_; }

 private:
  std::wstring file_, color_, size_, before_;
  bool found_ = false;
};

}  // namespace lbb::bench
