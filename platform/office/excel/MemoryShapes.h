#pragma once
// The shapes of an in-memory worksheet. Shapes are named as Excel names them: by kind and a
// number counted over all shapes the sheet has had ("Picture 1", "Chart 2").
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "office/Picture.h"
#include "office/excel/Shapes.h"

namespace office::excel {

class MemoryChart;
class MemoryWorksheet;

class MemoryShape : public Shape {
 public:
  MemoryShape(std::string name, int32_t type, double left, double top, double width, double height)
      : name_(std::move(name)), type_(type), left_(left), top_(top), width_(width), height_(height) {}

  std::string Name() const override { return name_; }
  void setName(const std::string& name) override { name_ = name; }
  int32_t Type() const override { return type_; }
  double Left() const override { return left_; }
  void setLeft(double left) override { left_ = left; }
  double Top() const override { return top_; }
  void setTop(double top) override { top_ = top; }
  double Width() const override { return width_; }
  void setWidth(double width) override { width_ = width; }
  double Height() const override { return height_; }
  void setHeight(double height) override { height_ = height; }
  void IncrementLeft(double increment) override;
  void IncrementTop(double increment) override { top_ += increment; }

  // The picture of a picture shape.
  const std::optional<Picture>& picture() const { return picture_; }
  void setPicture(Picture picture) { picture_ = std::move(picture); }
  // The chart of a chart frame.
  const std::shared_ptr<MemoryChart>& chart() const { return chart_; }
  void setChart(std::shared_ptr<MemoryChart> chart) { chart_ = std::move(chart); }

 private:
  std::string name_;
  int32_t type_;
  double left_, top_, width_, height_;
  std::optional<Picture> picture_;
  std::shared_ptr<MemoryChart> chart_;
};

class MemoryShapes final : public Shapes {
 public:
  explicit MemoryShapes(std::weak_ptr<MemoryWorksheet> sheet) : sheet_(std::move(sheet)) {}

  std::shared_ptr<Shape> AddPicture(const std::string& fileName, int32_t linkToFile, int32_t saveWithDocument,
                                    double left, double top, double width, double height) override;
  std::shared_ptr<Shape> Item(const automation::Variant& index) override;
  int32_t Count() const override { return static_cast<int32_t>(shapes_.size()); }

  // Adds a shape made elsewhere (an embedded chart's frame), naming it "<kind> <n>" unless it
  // has a name.
  void add(std::shared_ptr<MemoryShape> shape);
  // The next name for a shape of this kind ("Chart" gives "Chart 3").
  std::string nextName(const std::string& kind);
  const std::vector<std::shared_ptr<MemoryShape>>& all() const { return shapes_; }

 private:
  std::weak_ptr<MemoryWorksheet> sheet_;
  std::vector<std::shared_ptr<MemoryShape>> shapes_;
  int32_t counter_ = 0;
};

}  // namespace office::excel
