// The six page cutters on generated pages in each site's markup. Each runs
// at 50,000 and 500,000 rows: bytes per second give the throughput, and the
// two sizes show whether the time grows linearly with the page.
#include <benchmark/benchmark.h>

#include <string>

#include "sources/PageCutters.h"

namespace {

std::string Ip(int i) {
  return std::to_string(1 + i % 223) + "." + std::to_string(i / 223 % 256) + "." + std::to_string(i / 7 % 256) + "." +
         std::to_string(1 + i % 254);
}

const std::string kRegion = "\xB9\xE3\xB6\xAB\xCA\xA1\xC9\xEE\xDB\xDA\xCA\xD0";  // 广东省深圳市

std::string FiveUPage(int rows) {
  std::string page = "<html><head><title>5u</title></head><body><span>(\xB8\xFC\xD0\xC2:26-12-11 09:30)</span><br/>"
                     "<table><tr><th>IP</th><th>\xB9\xFA\xBC\xD2</th></tr>\n";
  for (int i = 0; i < rows; ++i)
    page += "<tr><td>" + Ip(i) + "</td><td width=\"60\">8080</td><td width=\"60\">HTTP</td><td width=\"60\">" +
            kRegion + "</td></tr>\n";
  return page + "</table><div class=\"foot\">5u</div></body></html>";
}

std::string ChunzhenPage(int rows) {
  std::string page = "<html><body><div>\xB7\xA2\xB2\xBC\xC8\xD5\xC6\xDA\xA3\xBA" "2026-12-11&nbsp;</div><table>\r\n";
  for (int i = 0; i < rows; ++i)
    page += "    <tr><td>" + Ip(i) + "</td><td>8080</td><td>HTTP</td><td>anon</td><td><div class=\"a\">" + kRegion +
            "</div></td></tr>\r\n";
  return page + "</table></body></html>";
}

std::string PubccPage(int rows) {
  std::string page = "<html><body><ul>\n";
  for (int i = 0; i < rows; ++i) {
    const std::string proxy = Ip(i) + ":8080";
    page += "<li><a href=\"#\" title=\"Http anonymous proxy " + proxy + "\">" + proxy + "</a></li>\n";
  }
  return page + "</ul><p>Last update: 2026-12-11</p></body></html>";
}

std::string HuixunText(int rows) {
  std::string text;
  for (int i = 0; i < rows; ++i) text += Ip(i) + ":8080\r\n";
  return text;
}

std::string DailiZhongguoPage(int rows) {
  std::string page = "<HTML><BODY><TABLE>\r\n";
  for (int i = 0; i < rows; ++i)
    page += "<TR><TD class=\"list\"><SCRIPT LANGUAGE=\"JavaScript\">\r\n<!--\r\ndocument.write(\"" + Ip(i) +
            "\");\r\ndocument.write(\"\");\r\n//--></SCRIPT></TD><TD class=\"list\">8080</TD><TD class=\"list\">HTTP"
            "</TD><TD class=\"list\">" + kRegion + "</TD><TD class=\"list\">12-01 10:00</TD><TD class=\"list\">0.5"
            "</TD><TD class=\"list\">ProxyCN</TD></TR>\r\n";
  return page + "</TABLE></BODY></HTML>";
}

std::string DailiFuwuqiWangPage(int rows) {
  std::string page = "<html><body><table><tr><td>IP</td><td>type</td></tr>\r\n";
  for (int i = 0; i < rows; ++i)
    page += "<tr><td>" + Ip(i) + "<SCRIPT type=text/javascript>document.write(\":\"+q+d+q+d)</SCRIPT></td><td>HTTP"
            "</td><td>0.5</td><td>" + kRegion + "</td></tr>\r\n";
  return page + "</table></body></html>";
}

template <std::string (*Make)(int), CutPage (*Cut)(std::string_view)>
void BM_Cut(benchmark::State& state) {
  const std::string page = Make(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    const CutPage cut = Cut(page);
    if (cut.rows.size() + 2 < static_cast<std::size_t>(state.range(0))) state.SkipWithError("rows missing");
    benchmark::DoNotOptimize(cut.rows.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.size()));
  state.counters["rows"] = static_cast<double>(state.range(0));
}

#define CUTTER_BENCHMARK(name, make, cut) \
  BENCHMARK(BM_Cut<make, cut>)->Name(name)->Arg(50000)->Arg(500000)->Unit(benchmark::kMillisecond)

CUTTER_BENCHMARK("Cut5u", FiveUPage, Cut5u);
CUTTER_BENCHMARK("CutChunzhen", ChunzhenPage, CutChunzhen);
CUTTER_BENCHMARK("CutPubcc", PubccPage, CutPubcc);
CUTTER_BENCHMARK("CutHuixun", HuixunText, CutHuixun);
CUTTER_BENCHMARK("CutDailiZhongguo", DailiZhongguoPage, CutDailiZhongguo);
CUTTER_BENCHMARK("CutDailiFuwuqiWang", DailiFuwuqiWangPage, CutDailiFuwuqiWang);

}  // namespace
