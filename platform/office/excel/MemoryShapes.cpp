#include "office/excel/MemoryShapes.h"

#include "automation/Conversions.h"
#include "office/Errors.h"
#include "office/excel/Constants.h"
#include "office/excel/MemoryApplication.h"
#include "office/excel/MemoryChart.h"
#include "office/excel/MemoryWorkbook.h"
#include "office/excel/MemoryWorksheet.h"

namespace office::excel {

std::shared_ptr<Shape> MemoryShapes::AddPicture(const std::string& fileName, int32_t linkToFile,
                                                int32_t saveWithDocument, double left, double top, double width,
                                                double height) {
  auto sheet = sheet_.lock();
  if (!sheet) throw applicationDefinedError();
  auto book = sheet->book(true);
  auto app = book->application();
  auto bytes = readFileBytes(app ? app->resolvePath(fileName) : fileName);
  if (!bytes) throw excelError("The specified file wasn't found.");
  auto shape = std::make_shared<MemoryShape>(nextName("Picture"), msoPicture, left, top, width, height);
  shape->setPicture(Picture{fileName, std::move(*bytes), linkToFile != 0, saveWithDocument != 0});
  shapes_.push_back(shape);
  return shape;
}

std::shared_ptr<Shape> MemoryShapes::Item(const automation::Variant& index) {
  if (index.isString()) {
    for (const auto& shape : shapes_)
      if (automation::equalsNoCase(shape->Name(), index.asString())) return shape;
    throw automation::Error(static_cast<int32_t>(0x80070057u), "The item with the specified name wasn't found.",
                            kExcelSource);
  }
  const int32_t i = automation::CLng(index);
  if (i < 1 || i > Count()) throw automation::Error::vb(automation::vbErrSubscriptOutOfRange);
  return shapes_[static_cast<size_t>(i - 1)];
}

void MemoryShape::IncrementLeft(double increment) {
  left_ += increment;
  if (chart_) chart_->record("Shapes(\"" + name_ + "\").IncrementLeft " + automation::CStr(automation::Variant(increment)));
}

std::string MemoryShapes::nextName(const std::string& kind) { return kind + " " + std::to_string(++counter_); }

void MemoryShapes::add(std::shared_ptr<MemoryShape> shape) {
  if (auto sheet = sheet_.lock()) sheet->book(true);
  shapes_.push_back(std::move(shape));
}

}  // namespace office::excel
