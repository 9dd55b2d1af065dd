// The one rule for exceptions at the window boundary, for every window procedure and message
// method of the form library and the program: no exception leaves a window procedure. An
// exception thrown while a message is handled is recorded (last text and count), the message
// gets its default handling instead, and the error is shown (by the presenter the
// application installs) only outside painting and only when no error is showing already:
// a box opened from a paint message would be painted over by the next paint and re-enter
// without end, and a box per exception of a message that fails again inside the box's own
// loop would pile up.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>

#include "base/Text.h"

namespace lbb::forms {

// Messages during which no error is shown: painting, drawing and measuring of items, colour
// requests.
bool IsPaintMessage(UINT msg);

// The text of the exception being handled (call inside a catch block): what() read as UTF-8,
// or a general text for other exceptions.
String CurrentExceptionText();

// Shows an error to the user; it may run a modal loop.
using TErrorPresenter = std::function<void(const String& text)>;
// Installs the presenter (the application's message box); empty: errors are only recorded.
void SetErrorPresenter(TErrorPresenter presenter);

// Records the exception being handled (call inside a catch block) and shows it unless a
// paint message is being handled on this thread or an error is showing already.
void ReportException();
// The same while message `msg` is handled (no error shows when it is a paint message).
void ReportException(UINT msg);

// The last error recorded and the number recorded since the process started.
String LastErrorText();
int ErrorCount();

// Marks the handling of a message on this thread: paint messages suppress the error box
// for everything that runs inside them.
class TMessageScope {
 public:
  explicit TMessageScope(UINT msg);
  ~TMessageScope();
  TMessageScope(const TMessageScope&) = delete;
  TMessageScope& operator=(const TMessageScope&) = delete;

 private:
  bool paint_;
};

// Records the exception being handled (call inside a catch block) without showing it.
void RecordException();

// `body`'s result, or `fallback`'s when `body` throws, or a value-initialised result when both
// do; `note` is called inside the catch block of each failure.
template <class Note, class Body, class Fallback>
auto Guarded(Note note, Body&& body, Fallback&& fallback) noexcept -> decltype(body()) {
  try {
    return body();
  } catch (...) {
    note();
  }
  try {
    return fallback();
  } catch (...) {
    note();
    return decltype(body()){};
  }
}

// Handles message `msg` with `handle` (returning its result); when it throws, the
// exception is reported and `fallback` (the default handling) answers instead.
template <class Handle, class Fallback>
LRESULT GuardMessage(UINT msg, Handle&& handle, Fallback&& fallback) {
  TMessageScope scope(msg);
  return Guarded([] { ReportException(); }, std::forward<Handle>(handle),
                 std::forward<Fallback>(fallback));
}

// The same for code the platform calls outside a window procedure (a hook, a timer or
// enumeration callback, a thread body): `body`'s result, or `fallback`'s when it throws. The
// error is recorded, never shown from here: a box opened inside a hook or a menu loop would
// run a loop of its own in the middle of the platform's.
template <class Body, class Fallback>
auto GuardCallback(Body&& body, Fallback&& fallback) noexcept -> decltype(body()) {
  return Guarded([] { RecordException(); }, std::forward<Body>(body),
                 std::forward<Fallback>(fallback));
}

}  // namespace lbb::forms
