#include "sources/Parsers.h"

#include "sources/text/GbkText.h"
#include "web/Utf8ToGbk.h"

namespace {

std::string DownloadText(AppContext& app, const std::string& url) {
  return BytesToText(app.web.DownloadPage(url));
}

}  // namespace

void ApplyCutPage(const CutPage& cut, CaptionControl& caption, ListControl& list) {
  if (cut.hasCaption) caption.SetCaption(cut.caption);
  for (const CutRow& row : cut.rows) {
    int index = 0;
    if (row.idFromPosition) {
      index = list.AppendRow();
      list.SetCell(index, kColumnId, NumberToText(static_cast<long long>(index) + row.positionOffset));
    } else {
      index = list.AppendRow(row.id);
    }
    if (index < 0) continue;  // the list could not take the row
    for (const CellWrite& cell : row.cells) list.SetCell(index, cell.column, cell.text);
  }
}

void Parse5u(AppContext& app, const std::string& url) {
  FetchArguments request;
  request.url = url;
  request.verb = "GET";
  request.timeLimitSeconds = 10;
  const ByteArray body = app.web.FetchWithTimeout(request);
  // The window may have been closed while the request was waited for.
  if (app.state.ending) return;
  const std::string page = BytesToText(ConvertUtf8ToGbk(BytesToText(body)));
  ApplyCutPage(Cut5u(page), app.ui.时间, app.ui.超级列表框1);
}

void ParseChunzhen(AppContext& app, const std::string& url) {
  ApplyCutPage(CutChunzhen(DownloadText(app, url)), app.ui.时间, app.ui.超级列表框1);
}

void ParsePubcc(AppContext& app) {
  ApplyCutPage(CutPubcc(DownloadText(app, "http://" + app.hosts.pubcc + "/")), app.ui.时间, app.ui.超级列表框1);
}

void ParseHuixun(AppContext& app) {
  ApplyCutPage(CutHuixun(DownloadText(app, "http://" + app.hosts.huixun + "/proxy/today.txt")), app.ui.时间,
               app.ui.超级列表框1);
}

void ParseDailiZhongguo(AppContext& app, const std::string& url) {
  ApplyCutPage(CutDailiZhongguo(DownloadText(app, url)), app.ui.时间, app.ui.超级列表框1);
}

void ParseDailiFuwuqiWang(AppContext& app, const std::string& url) {
  app.ui.超级列表框1.DeleteAllRows();
  ApplyCutPage(CutDailiFuwuqiWang(DownloadText(app, url)), app.ui.时间, app.ui.超级列表框1);
}
