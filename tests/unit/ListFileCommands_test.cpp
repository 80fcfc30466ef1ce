#include "listfile/ListFileCommands.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "app/MemoryControls.h"
#include "listfile/ListFile.h"

namespace {

const std::string kInfo = "\xD0\xC5\xCF\xA2\xA3\xBA";  // 信息：
const std::string kExportTitle = "\xC7\xEB\xD1\xA1\xD4\xF1\xB4\xE6\xB7\xC5\xC2\xB7\xBE\xB6";
const std::string kImportTitle = "\xC7\xEB\xD1\xA1\xD4\xF1\xB5\xBC\xC8\xEB\xCE\xC4\xBC\xFE";
const std::string kNoFolder =
    "\xC2\xB7\xBE\xB6\xD1\xA1\xD4\xF1\xB4\xED\xCE\xF3\xA3\xAC\xC7\xEB\xD6\xD8\xD0\xC2\xD1\xA1\xD4\xF1!";
const std::string kNoFile =
    "\xB5\xBC\xC8\xEB\xCE\xC4\xBC\xFE\xD1\xA1\xD4\xF1\xB4\xED\xCE\xF3\xA3\xAC\xC7\xEB\xD6\xD8\xD0\xC2\xD1\xA1\xD4\xF1!";

struct Shown {
  MessageText text;
  std::string caption;
  unsigned style;
  bool operator==(const Shown&) const = default;
};

void PrintTo(const Shown& s, std::ostream* os) { *os << s.text.before << "|" << s.text.after << "|" << s.style; }

// Files in memory; a path listed in unwritable or missing from files fails.
class FakeHost : public ListFileHost {
 public:
  std::wstring BrowseForFolder(std::string_view title, bool showFiles) override {
    titles.emplace_back(title);
    filesShown.push_back(showFiles);
    return chosen;
  }
  void ShowMessage(const MessageText& text, std::string_view caption, unsigned style) override {
    shown.push_back({text, std::string(caption), style});
  }
  bool ExportList(const ListControl& list, const std::wstring& path) override {
    if (unwritable) return false;
    files[path] = FormatListFile(list);
    return true;
  }
  bool ImportList(ListControl& list, const std::wstring& path) override {
    const auto file = files.find(path);
    if (file == files.end()) return false;
    ImportListText(list, file->second);
    return true;
  }

  std::wstring chosen;
  bool unwritable = false;
  std::map<std::wstring, std::string> files;
  std::vector<std::string> titles;
  std::vector<bool> filesShown;
  std::vector<Shown> shown;
};

TEST(ExportButton, WritesIpTxtIntoTheChosenFolder) {
  MemoryList list(8);
  list.AppendRow("1");
  FakeHost host;
  host.chosen = L"C:\\\u4E2D\uD55C";  // a Chinese and a Hangul character: GBK cannot spell the second
  ExportToChosenFolder(list, host);
  EXPECT_EQ(host.titles, std::vector<std::string>{kExportTitle});
  EXPECT_EQ(host.filesShown, std::vector<bool>{false});
  const std::wstring path = L"C:\\\u4E2D\uD55C\\ip.txt";
  EXPECT_EQ(host.files[path], "1,,,,,,,,\r\n");
  EXPECT_EQ(host.shown, (std::vector<Shown>{{{"", path, " \xB1\xA3\xB4\xE6\xB3\xC9\xB9\xA6"},  // " 保存成功"
                                             "\xB2\xD9\xD7\xF7\xB3\xC9\xB9\xA6",                 // 操作成功
                                             0x40}}));
}

TEST(ExportButton, DriveRootGetsADoubledBackslash) {
  MemoryList list(8);
  FakeHost host;
  host.chosen = L"C:\\";
  ExportToChosenFolder(list, host);
  EXPECT_EQ(host.files.count(L"C:\\\\ip.txt"), 1u);
  EXPECT_EQ(host.files[L"C:\\\\ip.txt"], "") << "an empty list writes an empty file";
}

TEST(ExportButton, CancelledDialogShowsTheErrorAndWritesNothing) {
  MemoryList list(8);
  FakeHost host;
  ExportToChosenFolder(list, host);
  EXPECT_TRUE(host.files.empty());
  EXPECT_EQ(host.shown, (std::vector<Shown>{{{kNoFolder, L"", ""}, kInfo, 0}}));
}

TEST(ExportButton, FailedWriteIsReportedNotCalledSuccess) {
  MemoryList list(8);
  FakeHost host;
  host.chosen = L"Z:\\readonly";
  host.unwritable = true;
  ExportToChosenFolder(list, host);
  EXPECT_EQ(host.shown, (std::vector<Shown>{{{"", L"Z:\\readonly\\ip.txt", " \xB1\xA3\xB4\xE6\xCA\xA7\xB0\xDC"},  // 保存失败
                                             kInfo, 0x10}}));
}

TEST(ImportButton, AppendsTheFileRowsEachTime) {
  MemoryList list(8);
  list.AppendRow("old");
  FakeHost host;
  host.files[L"C:\\ip.txt"] = "1,a,\r\n2,b,\r\n";
  host.chosen = L"C:\\ip.txt";
  ImportFromChosenFile(list, host);
  ImportFromChosenFile(list, host);
  EXPECT_EQ(host.titles, (std::vector<std::string>{kImportTitle, kImportTitle}));
  EXPECT_EQ(host.filesShown, (std::vector<bool>{true, true}));
  EXPECT_EQ(list.RowCount(), 5);
  EXPECT_EQ(list.GetCell(4, 1), "b");
  const Shown read{{"\xB6\xC1\xC8\xA1\xB3\xC9\xB9\xA6", L"", ""}, kInfo, 0};  // 读取成功
  EXPECT_EQ(host.shown, (std::vector<Shown>{read, read}));
}

TEST(ImportButton, CancelledDialogShowsTheErrorAndAddsNothing) {
  MemoryList list(8);
  FakeHost host;
  ImportFromChosenFile(list, host);
  EXPECT_EQ(list.RowCount(), 0);
  EXPECT_EQ(host.shown, (std::vector<Shown>{{{kNoFile, L"", ""}, kInfo, 0}}));
}

TEST(ImportButton, UnreadableFileIsReportedNotCalledSuccess) {
  MemoryList list(8);
  FakeHost host;
  host.chosen = L"C:\\folder";
  ImportFromChosenFile(list, host);
  EXPECT_EQ(list.RowCount(), 0);
  EXPECT_EQ(host.shown, (std::vector<Shown>{{{"\xB6\xC1\xC8\xA1\xCA\xA7\xB0\xDC\xA3\xBA", L"C:\\folder", ""},  // 读取失败：
                                             kInfo, 0x10}}));
}

}  // namespace
