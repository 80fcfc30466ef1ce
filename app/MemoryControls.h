// Controls held in plain memory, for native tests of the handlers. They keep
// the same edge rules as the real ones (clamping, empty cells outside the list).
#pragma once

#include <string>
#include <vector>

#include "app/Controls.h"
#include "app/RowStore.h"

class MemoryCaption : public CaptionControl {
 public:
  void SetCaption(std::string_view text) override;
  std::string Caption() const override { return caption_; }
  // Every caption set, in order.
  const std::vector<std::string>& History() const { return history_; }

 private:
  std::string caption_;
  std::vector<std::string> history_;
};

class MemoryEdit : public EditControl {
 public:
  explicit MemoryEdit(std::string text = {}) : text_(std::move(text)) {}
  std::string GetText() const override { return text_; }
  void SetText(std::string_view text) override { text_ = text; }

 private:
  std::string text_;
};

class MemoryEnable : public EnableControl {
 public:
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  bool IsEnabled() const override { return enabled_; }

 private:
  bool enabled_ = true;
};

class MemoryProgress : public ProgressControl {
 public:
  void SetMaximum(int value) override;
  void SetPosition(int value) override;
  int Maximum() const override { return maximum_; }
  int Position() const override { return position_; }

 private:
  int maximum_ = 100;
  int position_ = 0;
};

class MemoryList : public ListControl {
 public:
  explicit MemoryList(int columnCount) : rows_(columnCount) {}
  int AppendRow(std::string_view cell0 = {}) override { return rows_.AppendRow(cell0); }
  void SetCell(int row, int column, std::string_view text) override { rows_.SetCell(row, column, text); }
  std::string GetCell(int row, int column) const override { return rows_.GetCell(row, column); }
  void AppendCell(int row, int column, std::string& out) const override { out += rows_.CellView(row, column); }
  void DeleteAllRows() override;
  int RowCount() const override { return rows_.RowCount(); }
  int ColumnCount() const override { return rows_.ColumnCount(); }
  int Selection() const override { return selection_ < RowCount() ? selection_ : -1; }
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  bool IsEnabled() const override { return enabled_; }

  void Select(int row) { selection_ = row; }

 private:
  RowStore rows_;
  int selection_ = -1;
  bool enabled_ = true;
};

// The main window's controls in memory, laid out with their initial contents.
struct MemoryMainWindow {
  MemoryCaption 标签4, ts, 时间;
  MemoryEdit 编辑框1, 编辑框2, 编辑框3{"10"};
  MemoryList 超级列表框1{8}, 超级列表框2{4};
  MemoryEnable 按钮5;
  MemoryProgress 进度条1;

  MainControls Controls() {
    return MainControls{标签4, ts, 时间, 编辑框1, 编辑框2, 编辑框3, 超级列表框1, 超级列表框2, 按钮5, 进度条1};
  }
};
