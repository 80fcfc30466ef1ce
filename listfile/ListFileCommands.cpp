#include "listfile/ListFileCommands.h"

namespace {

constexpr char kExportTitle[] = "\xC7\xEB\xD1\xA1\xD4\xF1\xB4\xE6\xB7\xC5\xC2\xB7\xBE\xB6";  // "请选择存放路径"
constexpr char kImportTitle[] = "\xC7\xEB\xD1\xA1\xD4\xF1\xB5\xBC\xC8\xEB\xCE\xC4\xBC\xFE";  // "请选择导入文件"
// "路径选择错误，请重新选择!"
constexpr char kNoFolder[] =
    "\xC2\xB7\xBE\xB6\xD1\xA1\xD4\xF1\xB4\xED\xCE\xF3\xA3\xAC\xC7\xEB\xD6\xD8\xD0\xC2\xD1\xA1\xD4\xF1!";
// "导入文件选择错误，请重新选择!"
constexpr char kNoFile[] =
    "\xB5\xBC\xC8\xEB\xCE\xC4\xBC\xFE\xD1\xA1\xD4\xF1\xB4\xED\xCE\xF3\xA3\xAC\xC7\xEB\xD6\xD8\xD0\xC2\xD1\xA1\xD4\xF1!";
constexpr char kSaved[] = " \xB1\xA3\xB4\xE6\xB3\xC9\xB9\xA6";         // " 保存成功"
constexpr char kSaveFailed[] = " \xB1\xA3\xB4\xE6\xCA\xA7\xB0\xDC";    // " 保存失败"
constexpr char kSavedCaption[] = "\xB2\xD9\xD7\xF7\xB3\xC9\xB9\xA6";   // "操作成功"
constexpr char kRead[] = "\xB6\xC1\xC8\xA1\xB3\xC9\xB9\xA6";           // "读取成功"
constexpr char kReadFailed[] = "\xB6\xC1\xC8\xA1\xCA\xA7\xB0\xDC\xA3\xBA";  // "读取失败："

}  // namespace

void ExportToChosenFolder(ListControl& list, ListFileHost& host) {
  const std::wstring folder = host.BrowseForFolder(kExportTitle, false);
  if (folder.empty()) {
    host.ShowMessage({kNoFolder, {}, {}}, kDefaultCaption, kMessageOk);
    return;
  }
  // The backslash is always added: a drive root gives "C:\\ip.txt", which
  // Windows accepts.
  const std::wstring path = folder + L"\\ip.txt";
  if (host.ExportList(list, path)) {
    host.ShowMessage({{}, path, kSaved}, kSavedCaption, kMessageIconInformation);
  } else {
    host.ShowMessage({{}, path, kSaveFailed}, kDefaultCaption, kMessageIconError);
  }
}

void ImportFromChosenFile(ListControl& list, ListFileHost& host) {
  const std::wstring path = host.BrowseForFolder(kImportTitle, true);
  if (path.empty()) {
    host.ShowMessage({kNoFile, {}, {}}, kDefaultCaption, kMessageOk);
    return;
  }
  if (host.ImportList(list, path)) {
    host.ShowMessage({kRead, {}, {}}, kDefaultCaption, kMessageOk);
  } else {
    host.ShowMessage({kReadFailed, path, {}}, kDefaultCaption, kMessageIconError);
  }
}
