// The control operations that handlers use, independent of any window system.
// The Win32 wrappers implement them over real windows; MemoryControls.h over
// plain memory for native tests. All texts are GBK bytes.
#pragma once

#include <string>
#include <string_view>

class CaptionControl {
 public:
  virtual ~CaptionControl() = default;
  virtual void SetCaption(std::string_view text) = 0;
  virtual std::string Caption() const = 0;
};

class EditControl {
 public:
  virtual ~EditControl() = default;
  virtual std::string GetText() const = 0;
  virtual void SetText(std::string_view text) = 0;
};

class EnableControl {
 public:
  virtual ~EnableControl() = default;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool IsEnabled() const = 0;
};

class ProgressControl {
 public:
  virtual ~ProgressControl() = default;
  // Values below 0 count as 0 and above 32767 as 32767.
  virtual void SetMaximum(int value) = 0;
  virtual void SetPosition(int value) = 0;
  virtual int Maximum() const = 0;
  virtual int Position() const = 0;
};

class ListControl : public EnableControl {
 public:
  // Adds a row after the last one with cell 0 set; the new 0-based index, or -1.
  virtual int AppendRow(std::string_view cell0 = {}) = 0;
  // No effect when the row or column does not exist.
  virtual void SetCell(int row, int column, std::string_view text) = 0;
  // Empty text when the row or column does not exist (row -1 included).
  virtual std::string GetCell(int row, int column) const = 0;
  // Adds the cell's text to the end of out; nothing when the row or column
  // does not exist. Lists that hold their texts append without a copy.
  virtual void AppendCell(int row, int column, std::string& out) const { out += GetCell(row, column); }
  virtual void DeleteAllRows() = 0;
  virtual int RowCount() const = 0;
  virtual int ColumnCount() const = 0;
  // Index of the first selected row, or -1.
  virtual int Selection() const = 0;
};

// The controls of the main window that handlers read and write, by their names.
struct MainControls {
  CaptionControl& 标签4;
  CaptionControl& ts;
  CaptionControl& 时间;
  EditControl& 编辑框1;
  EditControl& 编辑框2;
  EditControl& 编辑框3;
  ListControl& 超级列表框1;
  ListControl& 超级列表框2;
  EnableControl& 按钮5;
  ProgressControl& 进度条1;
};
