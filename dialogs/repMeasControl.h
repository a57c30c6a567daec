#pragma once
// The repeated-measurement schedule control: when a series starts (immediately or at a set date
// and time), the interval between measurements, and how many are taken (a number, or a total
// duration the number is derived from). Its getters read the boxes, tell the user what is wrong
// in a message box, put the focus on the offending box and fail with 0x80040005; ValidateData
// turns such a failure into False. Nothing is saved with the container.
#include <cstdint>
#include <string>
#include <string_view>

#include "automation/Date.h"
#include "automation/Object.h"
#include "automation/Registry.h"
#include "forms/DateTimePicker.h"
#include "forms/Frame.h"
#include "forms/Label.h"
#include "forms/OptionButton.h"
#include "forms/TextBox.h"
#include "forms/UserControl.h"

namespace zel {

class repMeasControl : public forms::UserControl, public automation::Object {
 public:
  static constexpr const char* kClassName = "repMeasControl";
  static constexpr const char* kProgId = "ZELControlProj.repMeasControl";
  static constexpr const char* kClsid = "{69A30025-E374-421E-B454-08E6145A92E6}";
  static constexpr const char* kIid = "{D7FFE1A3-F79D-4C6F-A478-D4CFE8898ACA}";
  static constexpr const char* kEventsIid = "{0275A90D-7BF8-47A3-B4E9-6B9DDC4B04DE}";

  // A run never has more measurements than this, however they are specified.
  static constexpr int32_t kMaxSamples = 500;

  // Dispatch ids of _repMeasControl.
  static constexpr automation::DispId kDispSamplesSpecifiedByDuration = 0x68030000;
  static constexpr automation::DispId kDispDuration = 0x68030001;
  static constexpr automation::DispId kDispNumOfSamples = 0x68030002;
  static constexpr automation::DispId kDispInterval = 0x68030003;
  static constexpr automation::DispId kDispGetStartTime = 0x60030008;
  static constexpr automation::DispId kDispValidateData = 0x6003000F;
  static constexpr automation::DispId kDispInit = 0x60030015;

  repMeasControl();
  const automation::TypeInfo& typeInfo() const override;

  // The start: immed True for an immediate start (d untouched), else the picked date, hour and
  // minute with seconds 0.
  void GetStartTime(bool& immed, automation::Date& d);
  // Seconds between measurements, read from the interval boxes.
  double interval();
  void setInterval(double secs);
  // Measurements: derived from duration and interval in duration mode, else the number box.
  int32_t numOfSamples();
  void setNumOfSamples(int32_t numSamples);
  bool ValidateData();
  // Seconds, read from the duration boxes.
  int32_t Duration();
  void setDuration(int32_t secs);
  bool SamplesSpecifiedByDuration();
  // Notes the current moment and starts at `startDate` when that is a set time still to come,
  // otherwise immediately.
  void Init(bool immed, automation::Date startDate);

  // Box text to number: 0 for an empty box, -1 for text that is no 32-bit whole number;
  // fractions round half to even.
  static int32_t textToLong(std::string_view text);

  // Child controls, in creation order; positions in twips.
  forms::Frame& Frame1 = add<forms::Frame>("Frame1");
  forms::OptionButton& immediateOption = add<forms::OptionButton>("immediateOption", &Frame1);
  forms::OptionButton& atSetTime = add<forms::OptionButton>("atSetTime", &Frame1);
  forms::DateTimePicker& startDate = add<forms::DateTimePicker>("startDate", &Frame1);
  forms::DateTimePicker& startTime = add<forms::DateTimePicker>("startTime", &Frame1);
  forms::Label& Label1 = add<forms::Label>("Label1");
  forms::Label& hour = add<forms::Label>("hour");
  forms::Label& Label2 = add<forms::Label>("Label2");
  forms::Label& Label3 = add<forms::Label>("Label3");
  forms::TextBox& intervalHours = add<forms::TextBox>("intervalHours");
  forms::TextBox& intervalMinutes = add<forms::TextBox>("intervalMinutes");
  forms::TextBox& intervalSeconds = add<forms::TextBox>("intervalSeconds");
  forms::OptionButton& durationOptionButton = add<forms::OptionButton>("durationOptionButton");
  forms::TextBox& durationHours = add<forms::TextBox>("durationHours");
  forms::TextBox& durationMinutes = add<forms::TextBox>("durationMinutes");
  forms::TextBox& durationSeconds = add<forms::TextBox>("durationSeconds");
  forms::OptionButton& numOfSamplesOptionBtn = add<forms::OptionButton>("numOfSamplesOptionBtn");
  forms::TextBox& numOfSamplesValue = add<forms::TextBox>("numOfSamplesValue");

 private:
  // One reader per box: the value when it lies in [low, high], otherwise the message, the
  // focus on the box and the failure.
  int32_t readBox(forms::TextBox& box, int32_t low, int32_t high, const char* message, int style);
  int32_t readIntervalHours();
  int32_t readIntervalMinutes();
  int32_t readIntervalSeconds();
  int32_t readDurationHours();
  int32_t readDurationMinutes();
  int32_t readDurationSeconds();
  int32_t readNumOfSamples();
  [[noreturn]] void reject(const std::string& message, int style, forms::Control& focus);

  void setStartPickers(automation::Date t);
  static void splitInto(int32_t secs, forms::TextBox& hours, forms::TextBox& minutes, forms::TextBox& seconds);

  // Option selections, run by the user's choice and by the members that switch modes.
  void immediateOptionClick();
  void atSetTimeClick();
  void durationOptionButtonClick();
  void numOfSamplesOptionBtnClick();
  // Selects the option from code; its selection runs even when it was selected already.
  static void choose(forms::OptionButton& option);

  automation::Date m_initTime;
};

// The hosted schedule control "KroRepeatedMeasure.RepeatMeasurement": the same control, with
// the dispatch ids its hosts call its methods by.
class RepeatMeasurement final : public repMeasControl {
 public:
  static constexpr const char* kClassName = "RepeatMeasurement";
  static constexpr const char* kProgId = "KroRepeatedMeasure.RepeatMeasurement";
  static constexpr const char* kClsid = "{C0A33EB3-5387-47CC-9964-4F31D0984A59}";
  static constexpr const char* kIid = "{C0A33EB4-5387-47CC-9964-4F31D0984A59}";

  static constexpr automation::DispId kDispGetStartTime = 0x60030010;
  static constexpr automation::DispId kDispValidateData = 0x60030017;
  static constexpr automation::DispId kDispInit = 0x6003001D;

  RepeatMeasurement();
  const automation::TypeInfo& typeInfo() const override;
};

// Writes both faces of the schedule control into the class registry: the library's public
// class under its ProgID and class ID, and the hosted control under its own. `filePath`,
// `typeLib` and `version` are those of the library that holds them.
void registerRepMeasControl(automation::Registry& registry, const std::string& filePath = {},
                            const std::string& typeLib = {}, const automation::ComponentVersion& version = {});
void unregisterRepMeasControl(automation::Registry& registry);

}  // namespace zel
