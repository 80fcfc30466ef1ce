#include "listfile/ListFile_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "app/MemoryControls.h"
#include "listfile/ListFileCommands.h"

namespace {

// A fresh folder under the temp folder, removed with its files afterwards.
class ListFileFolder : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
    folder_ = std::wstring(temp) + L"listfile-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
              std::to_wstring(GetTickCount());
    ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
  }
  void TearDown() override { RemoveTree(folder_); }

  static void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + L"\\" + name;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          RemoveTree(path);
        } else {
          DeleteFileW(path.c_str());
        }
      } while (FindNextFileW(search, &found));
      FindClose(search);
    }
    SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(folder.c_str());
  }

  std::wstring folder_;
};

MemoryList TwoProxies() {
  MemoryList list(8);
  list.AppendRow("1");
  list.SetCell(0, 1, "\xD6\xD0\xB9\xFA");  // 中国
  list.SetCell(0, 2, "127.0.0.1");
  list.SetCell(0, 3, "3128");
  list.AppendRow("2");
  list.SetCell(1, 2, "127.0.0.2");
  return list;
}

constexpr char kTwoProxiesFile[] = "1,\xD6\xD0\xB9\xFA,127.0.0.1,3128,,,,,\r\n2,,127.0.0.2,,,,,,\r\n";

TEST_F(ListFileFolder, ExportWritesTheExactBytesAndImportReadsThemBack) {
  const std::wstring path = folder_ + L"\\ip.txt";
  ASSERT_TRUE(WriteWholeFile(path, std::string(100, 'x')));  // an older, longer file is truncated
  ASSERT_TRUE(ExportList(TwoProxies(), path));
  EXPECT_EQ(ReadWholeFile(path), std::optional<std::string>(kTwoProxiesFile));

  MemoryList list(8);
  ASSERT_TRUE(ImportList(list, path));
  ASSERT_TRUE(ImportList(list, path));
  ASSERT_EQ(list.RowCount(), 4);
  EXPECT_EQ(list.GetCell(3, 2), "127.0.0.2");
  EXPECT_EQ(list.GetCell(2, 1), "\xD6\xD0\xB9\xFA");
}

TEST_F(ListFileFolder, EmptyListGivesAnEmptyFile) {
  const std::wstring path = folder_ + L"\\ip.txt";
  ASSERT_TRUE(ExportList(MemoryList(8), path));
  EXPECT_EQ(ReadWholeFile(path), std::optional<std::string>(""));
}

TEST_F(ListFileFolder, FolderNamesGbkCannotSpellWorkEndToEnd) {
  // Hangul and an emoji (a surrogate pair): no GBK bytes exist for them.
  const std::wstring unusual = folder_ + L"\\\uD55C\uAD6D\U0001F600\u4E2D";
  ASSERT_TRUE(CreateDirectoryW(unusual.c_str(), nullptr));
  const std::wstring path = unusual + L"\\ip.txt";
  ASSERT_TRUE(ExportList(TwoProxies(), path));
  EXPECT_NE(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
  MemoryList list(8);
  ASSERT_TRUE(ImportList(list, path));
  EXPECT_EQ(list.RowCount(), 2);
}

TEST_F(ListFileFolder, WritesThatCannotHappenFail) {
  EXPECT_FALSE(ExportList(TwoProxies(), folder_ + L"\\missing\\ip.txt"));

  // A folder already named ip.txt cannot be replaced by the file. (A read-only
  // file would do too, but as root Wine lets the write through.)
  const std::wstring taken = folder_ + L"\\taken";
  ASSERT_TRUE(CreateDirectoryW(taken.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW((taken + L"\\ip.txt").c_str(), nullptr));
  EXPECT_FALSE(ExportList(TwoProxies(), taken + L"\\ip.txt"));

  const std::wstring locked = folder_ + L"\\locked.txt";
  ASSERT_TRUE(WriteWholeFile(locked, "keep"));
  HANDLE holder = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(ExportList(TwoProxies(), locked));
  CloseHandle(holder);
  EXPECT_EQ(ReadWholeFile(locked), std::optional<std::string>("keep"));
}

TEST_F(ListFileFolder, UnreadableFilesAddNoRow) {
  MemoryList list(8);
  EXPECT_FALSE(ImportList(list, folder_)) << "a folder is not a list file";
  EXPECT_FALSE(ImportList(list, folder_ + L"\\missing.txt"));

  const std::wstring locked = folder_ + L"\\locked.txt";
  ASSERT_TRUE(WriteWholeFile(locked, kTwoProxiesFile));
  HANDLE holder = CreateFileW(locked.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(ImportList(list, locked));
  CloseHandle(holder);
  EXPECT_EQ(list.RowCount(), 0);
}

TEST_F(ListFileFolder, FileOpenElsewhereWithSharingIsRead) {
  const std::wstring path = folder_ + L"\\ip.txt";
  ASSERT_TRUE(WriteWholeFile(path, kTwoProxiesFile));
  HANDLE writer = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  MemoryList list(8);
  EXPECT_TRUE(ImportList(list, path));
  CloseHandle(writer);
  EXPECT_EQ(list.RowCount(), 2);
}

// The buttons' steps over real files, with the dialog answered in advance.
class AnsweredDialogs : public ListFileHost {
 public:
  explicit AnsweredDialogs(std::wstring answer) : answer_(std::move(answer)) {}
  std::wstring BrowseForFolder(std::string_view, bool) override { return answer_; }
  void ShowMessage(const MessageText& text, std::string_view, unsigned style) override {
    messages.push_back(text);
    styles.push_back(style);
  }
  bool ExportList(const ListControl& list, const std::wstring& path) override { return ::ExportList(list, path); }
  bool ImportList(ListControl& list, const std::wstring& path) override { return ::ImportList(list, path); }

  std::vector<MessageText> messages;
  std::vector<unsigned> styles;

 private:
  std::wstring answer_;
};

TEST_F(ListFileFolder, ButtonsReportWhatReallyHappened) {
  MemoryList list = TwoProxies();
  AnsweredDialogs good(folder_);
  ExportToChosenFolder(list, good);
  AnsweredDialogs file(folder_ + L"\\ip.txt");
  ImportFromChosenFile(list, file);
  EXPECT_EQ(list.RowCount(), 4);
  ASSERT_EQ(good.messages.size(), 1u);
  EXPECT_EQ(good.messages[0].path, folder_ + L"\\ip.txt");
  EXPECT_EQ(good.styles[0], kMessageIconInformation);

  AnsweredDialogs gone(folder_ + L"\\missing");
  ExportToChosenFolder(list, gone);
  ASSERT_EQ(gone.messages.size(), 1u);
  EXPECT_EQ(gone.messages[0].path, folder_ + L"\\missing\\ip.txt");
  EXPECT_EQ(gone.styles[0], kMessageIconError);

  AnsweredDialogs folderAsFile(folder_);
  ImportFromChosenFile(list, folderAsFile);
  EXPECT_EQ(list.RowCount(), 4);
  ASSERT_EQ(folderAsFile.styles.size(), 1u);
  EXPECT_EQ(folderAsFile.styles[0], kMessageIconError);
}

}  // namespace
