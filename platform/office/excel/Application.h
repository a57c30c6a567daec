#pragma once
// Excel's Application, as the system and its host call it. Implementations: the in-memory one
// (MemoryApplication.h); on Windows a wrapper over the real Excel.
#include <cstdint>
#include <memory>
#include <string>

#include "automation/Object.h"
#include "automation/Variant.h"
#include "office/excel/AppEvents.h"

namespace office {
class CommandBars;
}

namespace office::excel {

class AddIns;
class Range;
class Sheets;
class Workbook;
class Workbooks;

class Application : public automation::Object {
 public:
  virtual std::string Name() const = 0;  // "Microsoft Excel"
  // The top-level window's handle (32 bits, as Excel's Hwnd property gives it).
  virtual int32_t Hwnd() const = 0;

  virtual std::shared_ptr<excel::Workbooks> Workbooks() = 0;
  // nullptr (Nothing) when no workbook is open.
  virtual std::shared_ptr<excel::Workbook> ActiveWorkbook() = 0;
  // The active sheet of the active workbook (a Worksheet, or a chart sheet); nullptr when no
  // workbook is open.
  virtual automation::ObjectPtr ActiveSheet() = 0;
  // The active cell of the active worksheet; nullptr when no workbook is open. 1004 when the
  // active sheet is no worksheet.
  virtual std::shared_ptr<excel::Range> ActiveCell() = 0;
  // What is selected on the active sheet: a Range, or another selected object; Nothing when no
  // workbook is open.
  virtual automation::Variant Selection() = 0;
  // The active chart; Nothing when none is active.
  virtual automation::ObjectPtr ActiveChart() = 0;
  // The chart sheets of the active workbook; 1004 when no workbook is open.
  virtual automation::ObjectPtr Charts() = 0;
  // Sheets and Worksheets of the active workbook; 1004 when no workbook is open.
  virtual std::shared_ptr<excel::Sheets> Sheets() = 0;
  virtual std::shared_ptr<excel::Sheets> Worksheets() = 0;
  // Range(Cell1 [, Cell2]) of the active sheet: an A1 address, or two cells / addresses whose
  // rectangle it spans. 1004 when the address is no range or no worksheet is active.
  virtual std::shared_ptr<excel::Range> Range(const automation::Variant& cell1,
                                              const automation::Variant& cell2 = {}) = 0;
  double InchesToPoints(double inches) const { return inches * 72.0; }

  virtual std::shared_ptr<excel::AddIns> AddIns() = 0;
  virtual std::shared_ptr<office::CommandBars> CommandBars() = 0;
  // Help([HelpFile], [HelpContextID]): opens the help file at a topic.
  virtual void Help(const automation::Variant& helpFile = {},
                    const automation::Variant& helpContextID = {}) = 0;

  // False while Excel shows its own status text; otherwise the text set. Putting False gives
  // the status bar back to Excel; anything else is shown as text (also while it is hidden).
  virtual automation::Variant StatusBar() const = 0;
  virtual void setStatusBar(const automation::Variant& value) = 0;
  virtual bool DisplayStatusBar() const = 0;
  virtual void setDisplayStatusBar(bool display) = 0;
  // XlMousePointer; a value that is none of xlDefault, xlWait, xlNorthwestArrow, xlIBeam raises
  // 1004 "Unable to set the Cursor property of the Application class".
  virtual int32_t Cursor() const = 0;
  virtual void setCursor(int32_t cursor) = 0;
  virtual bool ScreenUpdating() const = 0;
  virtual void setScreenUpdating(bool updating) = 0;

  // Connects an event sink and returns its cookie. Sinks are held weakly: the caller keeps its
  // sink alive for as long as it wants events, and a sink that is gone is simply skipped.
  // Events go to the sinks in the order they were connected.
  virtual uint32_t advise(std::shared_ptr<AppEvents> sink) = 0;
  // Disconnects; an unknown cookie is ignored.
  virtual void unadvise(uint32_t cookie) = 0;

  const automation::TypeInfo& typeInfo() const override;
};

}  // namespace office::excel
