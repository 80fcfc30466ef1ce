#include "listfile/ListFileButtons.h"

#include "listfile/ListFileCommands.h"
#include "listfile/ShellListFileHost_win32.h"

void On按钮9Click(AppContext& app) {
  ShellListFileHost host;
  ImportFromChosenFile(app.ui.超级列表框1, host);
}

void On按钮10Click(AppContext& app) {
  ShellListFileHost host;
  ExportToChosenFolder(app.ui.超级列表框1, host);
}
