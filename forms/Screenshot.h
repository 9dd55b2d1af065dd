// Pictures of windows for people to look at: a window's pixels as the screen shows them,
// written as a PNG file.
#pragma once

#include <windows.h>

#include <string>

#include "base/PixelBuffer.h"

namespace lbb::forms {

// The window's pixels (frame included when `wholeWindow`), copied from the screen; the
// window should be visible and on top. Empty when the copy failed.
PixelBuffer CaptureWindow(HWND hwnd, bool wholeWindow = true);
// The screen's pixels inside `screen` (a window with the popups over it, for example); what
// lies off the screen is black.
PixelBuffer CaptureScreen(const RECT& screen);
// Writes a picture as a PNG file; false when it could not be written whole.
bool SavePng(const PixelBuffer& picture, const std::string& path);
// Captures the window and writes it as a PNG file; false when nothing was written.
bool SaveWindowPng(HWND hwnd, const std::string& path, bool wholeWindow = true);

}  // namespace lbb::forms
