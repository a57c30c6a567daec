#pragma once
// Word's Shapes of a document: floating pictures.
#include <cstdint>
#include <memory>
#include <string>

#include "automation/Object.h"
#include "automation/Variant.h"

namespace office::word {

class Shape : public automation::Object {
 public:
  virtual std::string Name() const = 0;  // "Picture 1"
  virtual int32_t Type() const = 0;      // msoPicture 13
  virtual double Left() const = 0;
  virtual double Top() const = 0;
  virtual double Width() const = 0;
  virtual double Height() const = 0;

  const automation::TypeInfo& typeInfo() const override;
};

class Shapes : public automation::Object {
 public:
  // AddPicture(FileName, [LinkToFile], [SaveWithDocument], [Left], [Top], [Width], [Height],
  // [Anchor]): left out, the picture is embedded, not linked, at the top left of the page in
  // its own size. A file that is not there raises 5152.
  virtual std::shared_ptr<Shape> AddPicture(const std::string& fileName,
                                            const automation::Variant& linkToFile = {},
                                            const automation::Variant& saveWithDocument = {},
                                            const automation::Variant& left = {},
                                            const automation::Variant& top = {},
                                            const automation::Variant& width = {},
                                            const automation::Variant& height = {},
                                            const automation::Variant& anchor = {}) = 0;
  virtual std::shared_ptr<Shape> Item(const automation::Variant& index) = 0;
  virtual int32_t Count() const = 0;

  const automation::TypeInfo& typeInfo() const override;
};

}  // namespace office::word
