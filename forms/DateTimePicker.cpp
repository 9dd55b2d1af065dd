#include "forms/DateTimePicker.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "base/Text.h"

namespace lbb::forms {

namespace {

// Days between 1970-01-01 and 1899-12-30.
constexpr int64_t kEpochShift = 25569;

// Days since 1970-01-01 of a proleptic Gregorian date, and back (H. Hinnant's algorithms).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(static_cast<int64_t>(yoe) + era * 400 + (month <= 2));
}

void InitDateClasses() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_DATE_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)done;
}

}  // namespace

TDateTime EncodeDate(int year, int month, int day) {
  return static_cast<TDateTime>(
      DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) + kEpochShift);
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
  CivilFromDays(static_cast<int64_t>(std::floor(value)) - kEpochShift, year, month, day);
}

TDateTime SystemTimeToDateTime(const SYSTEMTIME& st) {
  const double time =
      (st.wHour * 3600000.0 + st.wMinute * 60000.0 + st.wSecond * 1000.0 + st.wMilliseconds) /
      86400000.0;
  return EncodeDate(st.wYear, st.wMonth, st.wDay) + time;
}

SYSTEMTIME DateTimeToSystemTime(TDateTime value) {
  SYSTEMTIME st{};
  int y = 0, m = 0, d = 0;
  const double days = std::floor(value);
  DecodeDate(days, y, m, d);
  st.wYear = static_cast<WORD>(y);
  st.wMonth = static_cast<WORD>(m);
  st.wDay = static_cast<WORD>(d);
  // 1899-12-30 was a Saturday.
  const int64_t n = static_cast<int64_t>(days);
  st.wDayOfWeek = static_cast<WORD>(((n % 7) + 7 + 6) % 7);
  int64_t ms = std::llround((value - days) * 86400000.0);
  ms = std::min<int64_t>(ms, 86399999);
  st.wHour = static_cast<WORD>(ms / 3600000);
  st.wMinute = static_cast<WORD>(ms / 60000 % 60);
  st.wSecond = static_cast<WORD>(ms / 1000 % 60);
  st.wMilliseconds = static_cast<WORD>(ms % 1000);
  return st;
}

const TClassInfo& TDateTimePicker::StaticClassInfo() {
  static const TClassInfo info = [] {
    TClassInfo i(u"TDateTimePicker", &TWinControl::StaticClassInfo());
    i.Add(StrProp<TDateTimePicker>(u"Date", &TDateTimePicker::DateText,
                                   &TDateTimePicker::SetDateText));
    return i;
  }();
  return info;
}

TDateTimePicker::TDateTimePicker(TComponent* owner) : TWinControl(owner) {
  InitDateClasses();
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 186, 21);
  SYSTEMTIME now{};
  GetLocalTime(&now);
  value_ = SystemTimeToDateTime(now);
}

void TDateTimePicker::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.nativeClass = DATETIMEPICK_CLASSW;
  p.style |= DTS_SHORTDATEFORMAT;
}

void TDateTimePicker::CreateWnd() {
  TWinControl::CreateWnd();
  WriteWindow();
}

void TDateTimePicker::DestroyWnd() {
  value_ = DateTime();
}

void TDateTimePicker::WriteWindow() {
  if (!WindowHandle()) return;
  SYSTEMTIME st = DateTimeToSystemTime(value_);
  Perform(DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

TDateTime TDateTimePicker::DateTime() const {
  if (!WindowHandle()) return value_;
  SYSTEMTIME st{};
  if (SendMessageW(WindowHandle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) !=
      GDT_VALID)
    return value_;
  return SystemTimeToDateTime(st);
}

void TDateTimePicker::SetDateTime(TDateTime value) {
  if (value == DateTime()) return;
  value_ = value;
  WriteWindow();
  if (OnChange) OnChange(this);
}

TDateTime TDateTimePicker::Date() const {
  return std::floor(DateTime());
}

void TDateTimePicker::SetDate(TDateTime value) {
  const TDateTime now = DateTime();
  SetDateTime(std::floor(value) + (now - std::floor(now)));
}

String TDateTimePicker::DateText() const {
  int y = 0, m = 0, d = 0;
  DecodeDate(DateTime(), y, m, d);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", y, m, d);
  return Utf8ToText(buf);
}

void TDateTimePicker::SetDateText(const String& text) {
  int y = 0, m = 0, d = 0;
  const std::string s = TextToUtf8(text);
  if (std::sscanf(s.c_str(), "%d-%d-%d", &y, &m, &d) != 3 || m < 1 || m > 12 || d < 1 || d > 31)
    return;
  SetDate(EncodeDate(y, m, d));
}

bool TDateTimePicker::DroppedDown() const {
  if (!WindowHandle()) return false;
  const auto cal = reinterpret_cast<HWND>(SendMessageW(WindowHandle(), DTM_GETMONTHCAL, 0, 0));
  return cal && IsWindowVisible(cal);
}

void TDateTimePicker::WndProc(TMessage& m) {
  if (m.Msg == CN_NOTIFY && reinterpret_cast<NMHDR*>(m.LParam)->code == DTN_DATETIMECHANGE) {
    value_ = DateTime();
    if (OnChange) OnChange(this);
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

}  // namespace lbb::forms
