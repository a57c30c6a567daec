#pragma once
// Excel's Worksheet.
#include <cstdint>
#include <memory>
#include <string>

#include "automation/Object.h"
#include "automation/Variant.h"

namespace office::excel {

class Application;
class Range;
class Shapes;
class Workbook;

class Worksheet : public automation::Object {
 public:
  // Setting a name Excel refuses raises 1004 with Excel's text: empty, longer than 31
  // characters, holding one of : \ / ? * [ ], beginning or ending with an apostrophe, or the
  // name of another sheet of the workbook compared without regard to case.
  virtual std::string Name() const = 0;
  virtual void setName(const std::string& name) = 0;
  // 1-based position among all sheets of the workbook.
  virtual int32_t Index() const = 0;
  // Makes this the active sheet of its workbook; 1004 when the workbook is not the active one.
  virtual void Activate() = 0;
  virtual std::shared_ptr<excel::Workbook> Parent() = 0;
  virtual std::shared_ptr<excel::Application> Application() = 0;

  // Range(Cell1 [, Cell2]): an A1 address ("B3", "B3:B100", "$A$1", "A:A", "3:3"), or two cells
  // or addresses whose rectangle the range spans. 1004 for anything Excel would refuse.
  virtual std::shared_ptr<excel::Range> Range(const automation::Variant& cell1,
                                              const automation::Variant& cell2 = {}) = 0;
  // Cells(RowIndex, ColumnIndex): rows 1 to 1,048,576, columns 1 to 16,384 (a number, or a
  // column's letters); 1004 outside. Cells() is every cell of the sheet.
  virtual std::shared_ptr<excel::Range> Cells(const automation::Variant& row,
                                              const automation::Variant& column) = 0;
  virtual std::shared_ptr<excel::Range> Cells() = 0;
  // Columns([Index]) and Rows([Index]): whole columns / rows; a column by number or letters.
  virtual std::shared_ptr<excel::Range> Columns(const automation::Variant& index = {}) = 0;
  virtual std::shared_ptr<excel::Range> Rows(const automation::Variant& index = {}) = 0;
  virtual std::shared_ptr<excel::Shapes> Shapes() = 0;
  // ChartObjects(Index): an embedded chart's object by 1-based number or name.
  virtual automation::ObjectPtr ChartObjects(const automation::Variant& index) = 0;

  const automation::TypeInfo& typeInfo() const override;
};

}  // namespace office::excel
