#pragma once
// Excel's Shapes of a worksheet: pictures and embedded charts with their position and size in
// points.
#include <cstdint>
#include <memory>
#include <string>

#include "automation/Object.h"
#include "automation/Variant.h"

namespace office::excel {

class Shape : public automation::Object {
 public:
  virtual std::string Name() const = 0;  // "Picture 1", "Chart 1"
  virtual void setName(const std::string& name) = 0;
  virtual int32_t Type() const = 0;  // MsoShapeType
  virtual double Left() const = 0;
  virtual void setLeft(double left) = 0;
  virtual double Top() const = 0;
  virtual void setTop(double top) = 0;
  virtual double Width() const = 0;
  virtual void setWidth(double width) = 0;
  virtual double Height() const = 0;
  virtual void setHeight(double height) = 0;
  virtual void IncrementLeft(double increment) = 0;
  virtual void IncrementTop(double increment) = 0;

  const automation::TypeInfo& typeInfo() const override;
};

class Shapes : public automation::Object {
 public:
  // AddPicture(Filename, LinkToFile, SaveWithDocument, Left, Top, Width, Height): the picture
  // file is read now, so the picture stays when the file goes (1004 "The specified file wasn't
  // found." when it is not there). Position and size are in points.
  virtual std::shared_ptr<Shape> AddPicture(const std::string& fileName, int32_t linkToFile,
                                            int32_t saveWithDocument, double left, double top,
                                            double width, double height) = 0;
  // By 1-based index or by name (without regard to case); a name that is not there raises
  // 0x80070057 "The item with the specified name wasn't found.", an index 9.
  virtual std::shared_ptr<Shape> Item(const automation::Variant& index) = 0;
  virtual int32_t Count() const = 0;

  const automation::TypeInfo& typeInfo() const override;
};

}  // namespace office::excel
