#include "dialogs/repMeasControl.h"

#include <cmath>
#include <memory>

#include "automation/Clock.h"
#include "automation/Conversions.h"
#include "automation/Error.h"
#include "automation/TypeInfoBuilder.h"
#include "forms/MsgBox.h"

namespace zel {

using automation::Date;
using automation::DispatchArgs;
using automation::DispId;
using automation::Variant;

using forms::place;

namespace {

constexpr int kErrorStyle = forms::vbOKOnly | forms::vbCritical;
constexpr int kPlainStyle = forms::vbOKOnly;
constexpr const char* kErrorTitle = "Error";
constexpr const char* kZeroIntervalMessage = "The Interval must be a number greater than 0";

// Both faces share one table; only the methods' dispatch ids differ.
automation::TypeInfo buildTypeInfo(const char* className, const char* iid, const char* interfaceName,
                                   DispId getStartTime, DispId validateData, DispId init) {
  using C = repMeasControl;
  return automation::TypeInfoBuilder<C>(className)
      .interface(iid, interfaceName)
      // d is an out argument only for a set time; an immediate start leaves the caller's value.
      .method("GetStartTime", getStartTime,
              [](C& self, DispatchArgs& args) {
                if (args.size() != 2) throw automation::Error::vb(450);
                bool immed = false;
                Date d;
                self.GetStartTime(immed, d);
                args[0] = Variant(immed);
                if (!immed) args[1] = Variant(d);
              })
      .get("interval", C::kDispInterval, &C::interval)
      .put("interval", C::kDispInterval, &C::setInterval)
      .get("numOfSamples", C::kDispNumOfSamples, &C::numOfSamples)
      .put("numOfSamples", C::kDispNumOfSamples, &C::setNumOfSamples)
      .method("ValidateData", validateData, &C::ValidateData)
      .get("Duration", C::kDispDuration, &C::Duration)
      .put("Duration", C::kDispDuration, &C::setDuration)
      .get("SamplesSpecifiedByDuration", C::kDispSamplesSpecifiedByDuration, &C::SamplesSpecifiedByDuration)
      .method("Init", init, &C::Init)
      .build();
}

}  // namespace

repMeasControl::repMeasControl() : UserControl("repMeasControl", 4515, 3015) {
  auto design = designTime();

  Frame1.setCaption("Start");
  place(Frame1, 0, 0, 4455, 1335, 13);
  immediateOption.setCaption("Immediately");
  place(immediateOption, 120, 360, 1215, 255, 0);
  immediateOption.setValue(true);
  atSetTime.setCaption("At set time");
  place(atSetTime, 120, 840, 1095, 255, 1);
  startDate.setFormat(forms::dtpShortDate);
  place(startDate, 1200, 720, 1575, 375, 2);
  startTime.setFormat(forms::dtpTime);
  startTime.setUpDown(true);
  place(startTime, 2880, 720, 1455, 375, 3);

  Label1.setCaption("Interval:");
  place(Label1, 120, 1710, 735, 255, 14);
  hour.setCaption("Hours");
  place(hour, 2280, 1440, 495, 255, 15);
  Label2.setCaption("Minutes");
  place(Label2, 3000, 1440, 735, 255, 16);
  Label3.setCaption("Seconds");
  place(Label3, 3840, 1440, 735, 255, 17);
  place(intervalHours, 2160, 1680, 615, 285, 4);
  place(intervalMinutes, 3000, 1680, 615, 285, 5);
  place(intervalSeconds, 3840, 1680, 615, 285, 6);

  durationOptionButton.setCaption("Duration");
  place(durationOptionButton, 120, 2220, 975, 345, 7);
  durationOptionButton.setValue(true);
  place(durationHours, 2160, 2160, 615, 285, 8);
  place(durationMinutes, 3000, 2160, 615, 285, 9);
  place(durationSeconds, 3840, 2160, 615, 285, 10);
  numOfSamplesOptionBtn.setCaption("Number of measurements:");
  place(numOfSamplesOptionBtn, 120, 2640, 2175, 255, 11);
  place(numOfSamplesValue, 3840, 2640, 615, 285, 12);
  numOfSamplesValue.setEnabled(false);

  // Handlers last, so that the selections above stay the plain design-time state.
  immediateOption.onClick = [this] { immediateOptionClick(); };
  atSetTime.onClick = [this] { atSetTimeClick(); };
  durationOptionButton.onClick = [this] { durationOptionButtonClick(); };
  numOfSamplesOptionBtn.onClick = [this] { numOfSamplesOptionBtnClick(); };
}

const automation::TypeInfo& repMeasControl::typeInfo() const {
  static const automation::TypeInfo info =
      buildTypeInfo(kClassName, kIid, "_repMeasControl", kDispGetStartTime, kDispValidateData, kDispInit);
  return info;
}

int32_t repMeasControl::textToLong(std::string_view text) {
  if (text.empty()) return 0;
  try {
    return automation::CLng(Variant(text));
  } catch (const automation::Error&) {
    return -1;
  }
}

void repMeasControl::reject(const std::string& message, int style, forms::Control& focus) {
  forms::MsgBox(message, style, style == kErrorStyle ? kErrorTitle : "");
  focus.SetFocus();
  throw automation::Error::object(5, automation::vbErrorDescription(automation::vbObjectError + 5), kProgId);
}

int32_t repMeasControl::readBox(forms::TextBox& box, int32_t low, int32_t high, const char* message, int style) {
  const int32_t value = textToLong(box.Text());
  if (value < low || value > high) reject(message, style, box);
  return value;
}

int32_t repMeasControl::readIntervalHours() {
  return readBox(intervalHours, 0, 23, "Interval hours must be a value between 0 and 23", kErrorStyle);
}

int32_t repMeasControl::readIntervalMinutes() {
  return readBox(intervalMinutes, 0, 59, "Interval minutes must be a value between 0 and 59", kErrorStyle);
}

int32_t repMeasControl::readIntervalSeconds() {
  return readBox(intervalSeconds, 0, 59, "Interval seconds must be a value between 0 and 59", kErrorStyle);
}

int32_t repMeasControl::readDurationHours() {
  return readBox(durationHours, 0, 23, "Duration hours must be a value between 0 and 23", kPlainStyle);
}

int32_t repMeasControl::readDurationMinutes() {
  return readBox(durationMinutes, 0, 59, "Duration minutes must be a value between 0 and 59", kPlainStyle);
}

int32_t repMeasControl::readDurationSeconds() {
  return readBox(durationSeconds, 0, 59, "Duration seconds must be a value between 0 and 59", kPlainStyle);
}

int32_t repMeasControl::readNumOfSamples() {
  // No upper bound here: the count's own limit has a message of its own.
  return readBox(numOfSamplesValue, 1, INT32_MAX, "Number of Samples must be a number > 0", kPlainStyle);
}

double repMeasControl::interval() {
  const int32_t hours = readIntervalHours();
  const int32_t minutes = readIntervalMinutes();
  const int32_t seconds = readIntervalSeconds();
  const int32_t total = hours * 3600 + minutes * 60 + seconds;
  if (total == 0) reject(kZeroIntervalMessage, kPlainStyle, intervalSeconds);
  return total;
}

int32_t repMeasControl::Duration() {
  const int32_t hours = readDurationHours();
  const int32_t minutes = readDurationMinutes();
  const int32_t seconds = readDurationSeconds();
  const int32_t total = hours * 3600 + minutes * 60 + seconds;
  if (total == 0) reject(kZeroIntervalMessage, kPlainStyle, durationSeconds);
  return total;
}

int32_t repMeasControl::numOfSamples() {
  if (durationOptionButton.Value()) {
    const double i = interval();
    const int32_t d = Duration();
    if (i > d) reject("The specified duration must exceed the specified interval", kErrorStyle, durationHours);
    // Both are whole seconds of at most a day, so the quotient always fits; halves go to even.
    const auto n = static_cast<int32_t>(std::nearbyint(d / i));
    if (n > kMaxSamples) {
      reject("The specified duration would cause number of measurements to exceed " + std::to_string(kMaxSamples),
             kErrorStyle, durationHours);
    }
    return n;
  }
  const int32_t n = readNumOfSamples();
  if (n > kMaxSamples) {
    reject("The number of measurements cannot exceed " + std::to_string(kMaxSamples), kErrorStyle, numOfSamplesValue);
  }
  return n;
}

bool repMeasControl::SamplesSpecifiedByDuration() { return !numOfSamplesOptionBtn.Value(); }

void repMeasControl::splitInto(int32_t secs, forms::TextBox& hours, forms::TextBox& minutes, forms::TextBox& seconds) {
  // No upper limit: a day or more shows 24 or more hours, which the reader then refuses.
  const int32_t h = secs / 3600;
  if (h >= 1) secs -= h * 3600;
  const int32_t m = secs / 60;
  if (m >= 1) secs -= m * 60;
  hours.setText(std::to_string(h));
  minutes.setText(std::to_string(m));
  seconds.setText(std::to_string(secs));
}

void repMeasControl::setInterval(double secs) {
  splitInto(automation::CLng(Variant(secs)), intervalHours, intervalMinutes, intervalSeconds);
}

void repMeasControl::setDuration(int32_t secs) {
  durationOptionButtonClick();
  splitInto(secs, durationHours, durationMinutes, durationSeconds);
}

void repMeasControl::setNumOfSamples(int32_t numSamples) {
  numOfSamplesOptionBtnClick();
  numOfSamplesOptionBtn.setValue(true);
  numOfSamplesValue.setText(std::to_string(numSamples));
}

void repMeasControl::choose(forms::OptionButton& option) {
  if (option.Value()) {
    if (option.onClick) option.onClick();
  } else {
    option.setValue(true);
  }
}

void repMeasControl::immediateOptionClick() {
  startDate.setEnabled(false);
  startTime.setEnabled(false);
  atSetTime.setValue(false);
}

void repMeasControl::atSetTimeClick() {
  immediateOption.setValue(false);
  startDate.setEnabled(true);
  startTime.setEnabled(true);
}

void repMeasControl::durationOptionButtonClick() {
  durationHours.setEnabled(true);
  durationHours.setText("0");
  durationMinutes.setEnabled(true);
  durationMinutes.setText("0");
  durationSeconds.setEnabled(true);
  durationSeconds.setText("1");
  numOfSamplesValue.setEnabled(false);
  numOfSamplesValue.setText("");
  numOfSamplesOptionBtn.setValue(false);
  durationOptionButton.setValue(true);
}

void repMeasControl::numOfSamplesOptionBtnClick() {
  for (forms::TextBox* box : {&durationHours, &durationMinutes, &durationSeconds}) {
    box->setEnabled(false);
    box->setText("");
  }
  numOfSamplesValue.setEnabled(true);
  numOfSamplesValue.setText("1");
  durationOptionButton.setValue(false);
  numOfSamplesOptionBtn.setValue(true);
}

void repMeasControl::Init(bool immed, Date startDateValue) {
  m_initTime = automation::clock().now();
  if (!immed && startDateValue > m_initTime) {
    choose(atSetTime);
    immediateOption.setValue(false);
    setStartPickers(startDateValue);
  } else {
    atSetTime.setValue(false);
    choose(immediateOption);
    setStartPickers(m_initTime);
  }
}

void repMeasControl::setStartPickers(Date t) {
  const automation::DateParts p = t.parts();
  // Day last: the picker fits an impossible day to the month, and the final day is always valid.
  startDate.setMonth(p.month);
  startDate.setYear(p.year);
  startDate.setDay(p.day);
  startTime.setHour(p.hour);
  startTime.setMinute(p.minute);
}

void repMeasControl::GetStartTime(bool& immed, Date& d) {
  if (immediateOption.Value()) {
    immed = true;
    return;
  }
  immed = false;
  d = Date::fromParts(startDate.Year(), startDate.Month(), startDate.Day(), startTime.Hour(), startTime.Minute(), 0);
}

bool repMeasControl::ValidateData() {
  try {
    numOfSamples();
    interval();
    bool immed = false;
    Date start;
    GetStartTime(immed, start);
    if (!immed && start < m_initTime) {
      forms::MsgBox("You can not choose a set time in the past", kErrorStyle, kErrorTitle);
      startDate.SetFocus();
      return false;
    }
    return true;
  } catch (const automation::Error&) {
    // The failing reader has told the user already.
    return false;
  }
}

RepeatMeasurement::RepeatMeasurement() = default;

const automation::TypeInfo& RepeatMeasurement::typeInfo() const {
  static const automation::TypeInfo info =
      buildTypeInfo(kClassName, kIid, "_RepeatMeasurement", kDispGetStartTime, kDispValidateData, kDispInit);
  return info;
}

void registerRepMeasControl(automation::Registry& registry, const std::string& filePath, const std::string& typeLib,
                            const automation::ComponentVersion& version) {
  registry.registerInterface({repMeasControl::kIid, "_repMeasControl", typeLib});
  registry.registerInterface({repMeasControl::kEventsIid, "__repMeasControl", typeLib});
  registry.registerInterface({RepeatMeasurement::kIid, "_RepeatMeasurement", typeLib});
  registry.registerClass({repMeasControl::kProgId,
                          repMeasControl::kClsid,
                          repMeasControl::kClassName,
                          filePath,
                          version,
                          {repMeasControl::kIid},
                          typeLib,
                          true,
                          [] { return std::make_shared<repMeasControl>(); }});
  registry.registerClass({RepeatMeasurement::kProgId,
                          RepeatMeasurement::kClsid,
                          RepeatMeasurement::kClassName,
                          filePath,
                          version,
                          {RepeatMeasurement::kIid},
                          typeLib,
                          true,
                          [] { return std::make_shared<RepeatMeasurement>(); }});
}

void unregisterRepMeasControl(automation::Registry& registry) {
  registry.unregisterClass(repMeasControl::kClsid);
  registry.unregisterClass(RepeatMeasurement::kClsid);
  for (const char* iid : {repMeasControl::kIid, repMeasControl::kEventsIid, RepeatMeasurement::kIid})
    registry.unregisterInterface(iid);
}

}  // namespace zel
