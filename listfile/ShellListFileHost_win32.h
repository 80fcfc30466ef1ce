// The import and export buttons' view of Windows: the shell's folder browser,
// task-modal message boxes and the real files.
#pragma once

#include "listfile/ListFileCommands.h"

class ShellListFileHost final : public ListFileHost {
 public:
  std::wstring BrowseForFolder(std::string_view title, bool showFiles) override;
  void ShowMessage(const MessageText& text, std::string_view caption, unsigned style) override;
  bool ExportList(const ListControl& list, const std::wstring& path) override;
  bool ImportList(ListControl& list, const std::wstring& path) override;
};
