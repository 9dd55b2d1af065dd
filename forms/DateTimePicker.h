// A date-time picker: a date field with a drop-down button that opens a month calendar (the
// system's "SysDateTimePick32" common control, short date format).
#pragma once

#include <windows.h>

#include "forms/Controls.h"

namespace lbb::forms {

// A point in time as the framework counts it: days since 30 December 1899, the time of day as
// the fraction (so 1.5 is noon on 31 December 1899).
using TDateTime = double;

// The day (midnight) of a calendar date, and back (the time of day is dropped).
TDateTime EncodeDate(int year, int month, int day);
void DecodeDate(TDateTime value, int& year, int& month, int& day);
// The system's time record and back (milliseconds kept).
TDateTime SystemTimeToDateTime(const SYSTEMTIME& st);
SYSTEMTIME DateTimeToSystemTime(TDateTime value);

class TDateTimePicker : public TWinControl {
  LBB_FORMS_CLASS_INFO

 public:
  explicit TDateTimePicker(TComponent* owner);

  // The date and time the control holds (read from its window when it has one).
  TDateTime DateTime() const;
  void SetDateTime(TDateTime value);
  // The date alone: midnight of the day; setting it keeps the time of day.
  TDateTime Date() const;
  void SetDate(TDateTime value);
  // The published "Date": the date as "yyyy-mm-dd" (an unreadable text changes nothing).
  String DateText() const;
  void SetDateText(const String& text);
  // The month calendar is open.
  bool DroppedDown() const;

  // The date changed in the control (the calendar, the keyboard) or through the setters.
  TNotifyEvent OnChange;
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;

 private:
  void WriteWindow();

  TDateTime value_ = 0;  // kept while there is no window
};

}  // namespace lbb::forms
