#include "sources/LoadSource.h"

#include <string>

#include "sources/Parsers.h"

namespace {

// Parser keys, as stored in cell 3 of a source row (GBK).
constexpr std::string_view kKey5u = "5u";
constexpr std::string_view kKeyChunzhen = "\xB4\xBF\xD5\xE6";                                // 纯真
constexpr std::string_view kKeyDailiZhongguo = "\xB4\xFA\xC0\xED\xD6\xD0\xB9\xFA";           // 代理中国
constexpr std::string_view kKeyDailiFuwuqiWang = "\xB4\xFA\xC0\xED\xB7\xFE\xCE\xF1\xC6\xF7\xCD\xF8";  // 代理服务器网
constexpr std::string_view kKeyPubcc = "pubcc";
constexpr std::string_view kKeyHuixun = "\xBB\xE1\xD1\xB0";                                  // 会寻

}  // namespace

void LoadSource(AppContext& app) {
  MainControls& ui = app.ui;
  ui.ts.SetCaption("\xD5\xFD\xD4\xDA\xBC\xD3\xD4\xD8\xC7\xEB\xC9\xD4\xBA\xF2...");  // 正在加载请稍候...
  ui.时间.SetCaption("");
  const int selected = ui.超级列表框2.Selection();
  const std::string url = ui.超级列表框2.GetCell(selected, 2);
  const std::string key = ui.超级列表框2.GetCell(selected, 3);
  ui.超级列表框2.SetEnabled(false);
  ui.超级列表框1.DeleteAllRows();
  app.proxySwitch.ClearSystemProxy();

  // Byte-for-byte comparisons: letter case counts and nothing is trimmed.
  if (key == kKey5u) Parse5u(app, url);
  if (key == kKeyChunzhen) ParseChunzhen(app, url);
  if (key == kKeyDailiZhongguo) ParseDailiZhongguo(app, url);
  if (key == kKeyDailiFuwuqiWang) ParseDailiFuwuqiWang(app, url);
  if (key == kKeyPubcc) ParsePubcc(app);
  if (key == kKeyHuixun) ParseHuixun(app);

  // Closed during the 5u wait: the controls are gone.
  if (app.state.ending) return;
  ui.ts.SetCaption("\xBC\xD3\xD4\xD8\xCD\xEA\xB1\xCF");  // 加载完毕
  ui.超级列表框2.SetEnabled(true);
}
