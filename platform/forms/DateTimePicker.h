#pragma once
// The common controls' DateTimePicker: a date-time Value shown as a long or short date, a time
// or a custom format, with a drop-down calendar or an up-down box. Year..Second set one part of
// Value; a day that the new month or year does not have becomes the month's last day. Change
// fires when the user picks a new value, not when code sets one.
#include <functional>
#include <string>

#include "automation/Date.h"
#include "forms/Control.h"

namespace forms {

class DateTimePicker : public Control {
 public:
  // Starts at the clock's current date and time.
  explicit DateTimePicker(const Site& site);

  automation::Date Value() const;
  void setValue(automation::Date value);
  int Format() const;
  void setFormat(int format);
  // Day "d dd ddd dddd", month "M MM MMM MMMM", year "y yy yyyy", hour "h hh" (12-hour) and
  // "H HH" (24-hour), minute "m mm", second "s ss", "t tt" for AM/PM, 'quoted' text.
  std::string CustomFormat() const;
  void setCustomFormat(std::string format);
  bool UpDown() const;
  void setUpDown(bool upDown);
  // What the control shows, in its Format.
  std::string Text() const;

  int Year() const;
  int Month() const;
  int Day() const;
  int Hour() const;
  int Minute() const;
  int Second() const;
  void setYear(int year);
  void setMonth(int month);
  void setDay(int day);
  void setHour(int hour);
  void setMinute(int minute);
  void setSecond(int second);

  std::function<void()> onChange;

  bool canHaveFocus() const override { return true; }

 protected:
  void saveDesign() override;
  void restoreDesign() override;

 private:
  friend class User;
  void userPick(automation::Date value);
  void setPart(int which, int value);

  struct State {
    automation::Date value;
    int format = dtpLongDate;
    std::string customFormat;
    bool upDown = false;
  };
  State s_, design_;
};

// The text of `date` in a DateTimePicker custom format.
std::string formatPickerText(automation::Date date, std::string_view format);

}  // namespace forms
