#include "proxy/ProxyControls.h"

#include "proxy/ProbeProxy.h"

namespace {

constexpr char kCancelling[] = "\xD5\xFD\xD4\xDA\xC8\xA1\xCF\xFB" "ip";  // "正在取消ip"
constexpr int kIpColumn = 2;
constexpr int kPortColumn = 3;
constexpr int kStatusColumn = 4;

// The proxy text is always the two boxes as they read now, untrimmed.
void FormCurrentProxy(AppContext& app) {
  app.state.CurrentProxy = app.ui.编辑框1.GetText() + ":" + app.ui.编辑框2.GetText();
}

}  // namespace

void On按钮2Click(AppContext& app) {
  app.ui.进度条1.SetPosition(0);
  FormCurrentProxy(app);
  app.proxySwitch.SetSystemProxy(app.state.CurrentProxy);
  ProbeProxy(app);
}

void On按钮3Click(AppContext& app) {
  app.ui.标签4.SetCaption(kCancelling);
  app.state.CurrentProxy.clear();
  app.proxySwitch.ClearSystemProxy();
  ProbeProxy(app);
}

void On超级列表框1DoubleClick(AppContext& app, int, int, int) {
  // The selection is read once per box: a handler running in between could
  // change it, and each box then shows what the list held at that moment.
  ListControl& list = app.ui.超级列表框1;
  app.ui.编辑框1.SetText(list.GetCell(list.Selection(), kIpColumn));
  app.ui.编辑框2.SetText(list.GetCell(list.Selection(), kPortColumn));
}

void VerifyAll(AppContext& app) {
  MainControls& ui = app.ui;
  ui.按钮5.SetEnabled(false);
  ui.进度条1.SetMaximum(ui.超级列表框1.RowCount());
  // n is fixed here. Every probe pumps messages, so a source load can replace
  // the rows under the run: rows are read by index afresh each time, and an
  // index past the end reads as empty and takes no verdict.
  const int n = ui.超级列表框1.RowCount();
  for (int i = 1; i <= n; ++i) {
    ui.进度条1.SetPosition(i);
    ui.编辑框1.SetText(ui.超级列表框1.GetCell(i - 1, kIpColumn));
    ui.编辑框2.SetText(ui.超级列表框1.GetCell(i - 1, kPortColumn));
    FormCurrentProxy(app);
    app.proxySwitch.SetSystemProxy(app.state.CurrentProxy);
    const std::string verdict = ProbeProxy(app);
    // The window was closed during the wait: its controls are gone.
    if (app.state.ending) return;
    ui.超级列表框1.SetCell(i - 1, kStatusColumn, verdict);
  }
  ui.按钮5.SetEnabled(true);
}
