// What the sample's benchmark build (SkinSampleBench.exe) and the benchmark that drives it
// share: the message-only window of the probe inside the sample's process, the looks it can be
// started in, and the commands the benchmark sends it. Times travel as microseconds on the
// performance counter, which every process of the machine reads alike.
#pragma once

#include <windows.h>

namespace lbb::bench::probe {

// 64-bit results: times on the performance counter do not fit 32 bits.
static_assert(sizeof(LRESULT) == 8, "the sample's benchmark is a 64-bit program");

inline constexpr wchar_t kWindowClass[] = L"LbbSkinSampleProbe";
inline constexpr wchar_t kMainClass[] = L"LbbSkinSample";

// SkinSampleBench.exe --look NAME: the look the sample is started in.
inline constexpr wchar_t kLookOption[] = L"--look";
inline constexpr wchar_t kClassicLook[] = L"classic";  // no skin; the style as the prefix has it
inline constexpr wchar_t kSkinLook[] = L"skin";        // the built-in skin, as the sample ships
inline constexpr wchar_t kStyleLook[] = L"style";      // no skin; a visual style must be on

// Commands, sent with SendMessageTimeout; each answers as said.
enum Command : UINT {
  // 1 when the sample shows the look it was started in (the visual style on or off as the
  // look wants, the main window and its status bar skinned or not), else 0.
  kLookShown = WM_APP + 0x51,
  // The end of the main window's first complete paint (frame with its menu bar, client and
  // status bar, each in the final look), or 0 while it has not happened.
  kFirstPaint,
  // Handles every message waiting for the sample's thread; 1.
  kSettle,
  // wParam full repaints of the main window (frame and every child, each to its end); the
  // median of their durations.
  kRepaint,
  // wParam one-pixel resize steps of the main window, each with its repaint finished; their
  // total duration.
  kResize,
  // Arms the watch for the next drop-down menu shown, painted and idle (then closed); 1.
  kMenuArm,
  // When the armed drop-down was shown and painted, once it is closed again, or 0.
  kMenuPainted,
  // Which parts of the first complete paint have been painted in the final look: 1 the frame,
  // 2 the client area, 4 the status bar.
  kPaintsSeen,
};

}  // namespace lbb::bench::probe
