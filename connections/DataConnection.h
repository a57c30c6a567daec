#pragma once
// The one seam between the control and its host application. The control holds at most one
// DataConnection and sends every host-side effect through it: dialogs over the host, worksheet
// writes, pictures, the host's command bar, status bar, cursor and help, and the connection's
// own saved state. DataConnection itself is the do-nothing implementation: every member returns
// zero, False or an empty value. ExcelDataConnection and WordDataConnection override it.
#include <cstdint>
#include <string>

#include "automation/Date.h"
#include "automation/Object.h"
#include "automation/PropertyBag.h"
#include "automation/Variant.h"
#include "transfer/InstrumentServer.h"

namespace zel {

// The kind of connection a saved document carried.
enum SavedDataCvalues : int32_t {
  NoneSaved = 0,
  ExcelSaved = 1,
  WordSaved = 2,
};

class DataConnection : public automation::Object {
 public:
  static constexpr const char* kClsid = "{A7E9C590-7F4B-4608-8812-B9B77F6DD6F3}";
  static constexpr const char* kIid = "{66369D70-CD0A-4015-AEF6-F21859EF39E9}";
  // Dispatch ids of the members follow their slots: kFirstDispId + slot.
  static constexpr automation::DispId kFirstDispId = 0x60030000;

  DataConnection() = default;
  ~DataConnection() override = default;

  // Slots 0 to 16, in order.
  virtual int32_t SavedDataCValue();
  virtual bool DoDataTransfer(bool& immed, automation::Date& startDate, int32_t& num_samples,
                              int32_t& intervalInSeconds);
  virtual void DoPictureTransfer();
  virtual bool Init(automation::ObjectPtr& app, InstrumentServerPtr& server, automation::ObjectPtr& ctl,
                    int32_t& m_hdc);
  virtual automation::Variant app();
  virtual void TransferDataToApp();
  virtual void UpdateConnectedIconAndTooltip(std::string& hostName);
  virtual void EnableToolbarButtons();
  virtual void EnableRepeatMeaureButtons();
  virtual void EnableSingleMeaureButtons();
  virtual void UpdateStatus(const std::string& msg);
  virtual void SetBusyCursor(bool val);
  virtual void WriteProperties(automation::PropertyBag& propBag);
  virtual void ReadProperties(automation::PropertyBag& propBag);
  virtual void DoHelp(int32_t topHwnd, int16_t contextID);
  virtual void SetInitialToolbarState();
  virtual void SetInRepeatDataTransfer(bool val);

  const automation::TypeInfo& typeInfo() const override;

 protected:
  // The _DataConnection interface with its seventeen members, for the implementing classes'
  // own type information.
  static const automation::TypeInfo& dataConnectionTypeInfo();
  // The object-defined error 5 without description: what a connection raises for a member
  // its host does not support.
  [[noreturn]] static void raiseNotSupported();
};

}  // namespace zel
