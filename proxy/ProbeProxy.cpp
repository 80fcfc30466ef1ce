#include "proxy/ProbeProxy.h"

#include "proxy/TimeLimit.h"
#include "sources/text/GbkText.h"
#include "web/Utf8ToGbk.h"

namespace {

// "正在更新你的当前ip,如显示乱码即此ip不可用....."
constexpr char kUpdating[] =
    "\xD5\xFD\xD4\xDA\xB8\xFC\xD0\xC2\xC4\xE3\xB5\xC4\xB5\xB1\xC7\xB0" "ip,"
    "\xC8\xE7\xCF\xD4\xCA\xBE\xC2\xD2\xC2\xEB\xBC\xB4\xB4\xCB" "ip"
    "\xB2\xBB\xBF\xC9\xD3\xC3" ".....";
constexpr char kAddressLine[] = "\xC4\xE3\xB5\xB1\xC7\xB0\xCD\xE2\xCD\xF8" "ip" "\xCE\xAA:";  // "你当前外网ip为:"
constexpr char kFromPart[] = " \xC0\xB4\xD7\xD4:";                                             // " 来自:"
// "该代理ip测试超时，不可用！"
constexpr char kTimedOutLine[] =
    "\xB8\xC3\xB4\xFA\xC0\xED" "ip" "\xB2\xE2\xCA\xD4\xB3\xAC\xCA\xB1\xA3\xAC\xB2\xBB\xBF\xC9\xD3\xC3\xA3\xA1";
constexpr char kAddressMarker[] = "\xC4\xFA\xB5\xC4" "IP" "\xB5\xD8\xD6\xB7:";  // "您的IP地址:"
constexpr char kLocationMarker[] = "\xC0\xB4\xD7\xD4:";                       // "来自:"

}  // namespace

std::string ProbeProxy(AppContext& app) {
  // A probe started while the window is going away touches nothing.
  if (app.state.ending) return kVerdictTimedOut;
  MainControls& ui = app.ui;
  ui.标签4.SetCaption(kUpdating);
  if (app.state.CurrentProxy.empty()) app.proxySwitch.ClearSystemProxy();
  const int limit = ParseTimeLimit(ui.编辑框3.GetText());

  FetchArguments request;
  request.url = "http://" + app.hosts.ipEcho + "/";
  request.verb = "GET";
  request.proxy = app.state.CurrentProxy;
  request.timeLimitSeconds = limit;
  const ByteArray body = app.web.FetchWithTimeout(request);
  // The window may have been closed while the request waited.
  if (app.state.ending) return kVerdictTimedOut;

  const std::string page = BytesToText(ConvertUtf8ToGbk(BytesToText(body)));
  const std::string address = TextBetween(page, kAddressMarker, "<", 1);
  const std::string location = TextBetween(page, kLocationMarker, "&nbsp", 1);
  ui.标签4.SetCaption(kAddressLine + address + kFromPart + location);
  if (page.empty()) {
    ui.标签4.SetCaption(kTimedOutLine);
    return kVerdictTimedOut;
  }
  return kVerdictWorking;
}
