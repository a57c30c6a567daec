// Transfer driving: Get Data, each measurement of a run, and stopping a run. The host add-in
// owns the clock; the control only keeps the run's counters and interval, answers when the next
// measurement is due and keeps the host's command bar and status bar in step.
#include <string>

#include "automation/Clock.h"
#include "automation/Conversions.h"
#include "automation/Error.h"
#include "control/ZELControl.h"
#include "forms/Constants.h"
#include "forms/MsgBox.h"

namespace zel {

using automation::Variant;

namespace {

constexpr const char* kCrLf = "\r\n";

}  // namespace

DataConnection& ZELControl::connectionObject() const {
  if (!dataC) throw automation::Error::vb(automation::vbErrObjectNotSet);
  return *dataC;
}

void ZELControl::showTransferNotSupported() {
  forms::MsgBox(std::string("Data Transfer is not supported") + kCrLf + "for this measurement function" + kCrLf +
                    "or when a measurement personality is enabled.",
                forms::vbCritical, "Error");
}

void ZELControl::endRepeatedTransfer(bool& moreTransfers) {
  moreTransfers = false;
  connectionObject().EnableSingleMeaureButtons();
  connectionObject().UpdateStatus("");
  connectionObject().SetInRepeatDataTransfer(false);
}

void ZELControl::DoDataTransfer(bool& moreTransfers, Variant& startDateOut) {
  try {
    if (!isTransferMode(getServer())) {
      showTransferNotSupported();
      return;
    }
    PropertyChanged();
    if (!dataC) raiseNoConnection();

    bool immed = false;
    moreTransfers = dataC->DoDataTransfer(immed, startDate, samplesRemaining, intervalSeconds);
    if (!moreTransfers) return;
    samplesTotal = samplesRemaining;

    // Held as a time of day, so that the next start is one addition away.
    int32_t rest = intervalSeconds;
    const int32_t hours = rest / 3600;
    if (hours >= 1) rest -= hours * 3600;
    const int32_t minutes = rest / 60;
    if (minutes >= 1) rest -= minutes * 60;
    intervalText = automation::format(hours, "00") + ":" + automation::format(minutes, "00") + ":" +
                   automation::format(rest, "00");

    if (immed) {
      startDate = automation::clock().now();
      startDateOut = Variant(automation::clock().now());
    } else {
      startDateOut = Variant(startDate);
      std::string text = "Repeated Measurement(s) to start at " + startDate.toString() +
                         ", number of samples = " + std::to_string(samplesRemaining);
      if (samplesRemaining > 1) text += ", with " + std::to_string(intervalSeconds) + " second intervals";
      dataC->UpdateStatus(text);
    }

    // A single immediate measurement leaves the command bar as it is.
    if (samplesRemaining > 1 || !immed) {
      dataC->EnableRepeatMeaureButtons();
      dataC->SetInRepeatDataTransfer(true);
    }
  } catch (const automation::Error& e) {
    forms::MsgBox(std::string("Data Transfer Failure") + kCrLf + "Error Description: " + e.description(),
                  forms::vbCritical, "Error");
  }
}

void ZELControl::StartTransfer(bool& moreTransfers, Variant& startDateOut) {
  try {
    if (!isTransferMode(getServer())) {
      showTransferNotSupported();
      endRepeatedTransfer(moreTransfers);
      releaseIo(currentIoSession());
      return;
    }

    connectionObject().TransferDataToApp();
    --samplesRemaining;
    if (samplesRemaining <= 0) {
      endRepeatedTransfer(moreTransfers);
    } else {
      dataC->EnableRepeatMeaureButtons();
      if (samplesTotal > 1) {
        dataC->UpdateStatus("Repeated Measurement " + std::to_string(samplesTotal - samplesRemaining) + " of " +
                            std::to_string(samplesTotal) + ", " + std::to_string(intervalSeconds) +
                            " second intervals");
      }
      moreTransfers = true;
      // One interval after the end of this transfer, not after its start: a slow transfer
      // never makes the next one due at once.
      const automation::Date interval = automation::CDate(Variant(intervalText));
      startDate = automation::Date(automation::clock().now().serial() + interval.serial());
      startDateOut = Variant(startDate);
    }
    releaseIo(currentIoSession());
  } catch (const automation::Error& e) {
    forms::MsgBox(std::string("Failed to transfer data to Excel Spreadsheet") + kCrLf + "Error: " + e.description(),
                  forms::vbCritical, "Error");
    // The host stops the run on the answer; nothing more may fail on the way out.
    moreTransfers = false;
    try {
      connectionObject().UpdateStatus("");
    } catch (...) {
    }
    try {
      connectionObject().EnableSingleMeaureButtons();
    } catch (...) {
    }
    try {
      releaseIo(currentIoSession());
    } catch (...) {
    }
  }
}

void ZELControl::StopTransfer(Variant& stopDate, bool changeToolbar) {
  if (changeToolbar) connectionObject().EnableSingleMeaureButtons();
  connectionObject().UpdateStatus("");
  connectionObject().SetInRepeatDataTransfer(false);
  stopDate = Variant(startDate);
}

}  // namespace zel
