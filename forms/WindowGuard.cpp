#include "forms/WindowGuard.h"

#include <atomic>
#include <exception>
#include <mutex>
#include <utility>

namespace lbb::forms {
namespace {

struct ErrorRecord {
  std::mutex lock;
  String lastText;
  int count = 0;
  TErrorPresenter presenter;
};

ErrorRecord& Record() {
  static ErrorRecord record;
  return record;
}

// Paint messages being handled on this thread (nested ones counted).
thread_local int paintDepth = 0;
// One error box at a time in the whole process.
std::atomic<bool> showing{false};

}  // namespace

bool IsPaintMessage(UINT msg) {
  switch (msg) {
    case WM_PAINT:
    case WM_NCPAINT:
    case WM_ERASEBKGND:
    case WM_PRINT:
    case WM_PRINTCLIENT:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return true;
    default:
      return false;
  }
}

String CurrentExceptionText() {
  try {
    throw;
  } catch (const std::exception& e) {
    return Utf8ToText(e.what());
  } catch (...) {
    return u"Unexpected error";
  }
}

void SetErrorPresenter(TErrorPresenter presenter) {
  std::lock_guard lock(Record().lock);
  Record().presenter = std::move(presenter);
}

namespace {

// Records `text` as the last error and returns the presenter in use.
TErrorPresenter Remember(const String& text) {
  std::lock_guard lock(Record().lock);
  Record().lastText = text;
  ++Record().count;
  return Record().presenter;
}

}  // namespace

void RecordException() {
  Remember(CurrentExceptionText());
}

void ReportException() {
  const String text = CurrentExceptionText();
  const TErrorPresenter presenter = Remember(text);
  if (!presenter || paintDepth > 0 || showing.exchange(true)) return;
  try {
    presenter(text);
  } catch (...) {
    // The presenter is the last resort: what it cannot show stays recorded.
  }
  showing = false;
}

void ReportException(UINT msg) {
  TMessageScope scope(msg);
  ReportException();
}

String LastErrorText() {
  std::lock_guard lock(Record().lock);
  return Record().lastText;
}

int ErrorCount() {
  std::lock_guard lock(Record().lock);
  return Record().count;
}

TMessageScope::TMessageScope(UINT msg) : paint_(IsPaintMessage(msg)) {
  if (paint_) ++paintDepth;
}

TMessageScope::~TMessageScope() {
  if (paint_) --paintDepth;
}

}  // namespace lbb::forms
