// What the import and export buttons do, apart from the platform: the folder
// browser, the message boxes and the file access sit behind ListFileHost, so
// the steps run natively over a fake and on Windows over the real ones.
#pragma once

#include <string>
#include <string_view>

#include "app/Controls.h"

// Message-box style values.
inline constexpr unsigned kMessageOk = 0;
inline constexpr unsigned kMessageIconError = 0x10;
inline constexpr unsigned kMessageIconInformation = 0x40;

inline constexpr char kDefaultCaption[] = "\xD0\xC5\xCF\xA2\xA3\xBA";  // "信息："

// A message that may name a file: GBK text, then the path (UTF-16, so a folder
// name GBK cannot spell survives), then more GBK text.
struct MessageText {
  std::string before;
  std::wstring path;
  std::string after;

  bool operator==(const MessageText&) const = default;
};

class ListFileHost {
 public:
  virtual ~ListFileHost() = default;
  // The shell's folder browser with a GBK title; the chosen item's path, or
  // empty when cancelled or when the item has no file-system path.
  virtual std::wstring BrowseForFolder(std::string_view title, bool showFiles) = 0;
  // A task-modal message box without owner.
  virtual void ShowMessage(const MessageText& text, std::string_view caption, unsigned style) = 0;
  // Writes the whole list to the file; false when it could not be written.
  virtual bool ExportList(const ListControl& list, const std::wstring& path) = 0;
  // Appends the file's records; false (and no row added) when it could not be read.
  virtual bool ImportList(ListControl& list, const std::wstring& path) = 0;
};

// 导出: asks for a folder and writes "ip.txt" into it.
void ExportToChosenFolder(ListControl& list, ListFileHost& host);
// 导入: asks for a file and appends its rows.
void ImportFromChosenFile(ListControl& list, ListFileHost& host);
