#include "BenchPages.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

namespace {

// The sample sites' vocabulary (tests/e2e/make_sites.py), in GBK.
constexpr std::string_view kRegions[] = {
    "\xB9\xE3\xB6\xAB\xCA\xA1\xC9\xEE\xDB\xDA\xCA\xD0",  // 广东省深圳市
    "\xB1\xB1\xBE\xA9\xCA\xD0",                          // 北京市
    "\xC9\xCF\xBA\xA3\xCA\xD0",                          // 上海市
    "\xD5\xE3\xBD\xAD\xCA\xA1\xBA\xBC\xD6\xDD\xCA\xD0",  // 浙江省杭州市
    "\xC3\xC0\xB9\xFA",                                  // 美国
    "\xCF\xE3\xB8\xDB",                                  // 香港
};
constexpr std::string_view kPorts[] = {"80", "8080", "3128", "8000", "8888", "1080", "9000", "8118", "81", "6588"};
constexpr std::string_view kTypes[] = {"HTTP", "HTTP", "HTTPS", "SOCKS4", "SOCKS5"};
constexpr std::string_view kAnonymity[] = {
    "\xB8\xDF\xC4\xE4",  // 高匿
    "\xC4\xE4\xC3\xFB",  // 匿名
    "\xCD\xB8\xC3\xF7",  // 透明
};
// Digit n of a 代理服务器网 port is written as '+' and kPortLetters[n].
constexpr std::string_view kPortLetters = "dbkzmxwiql";

// A fixed-seed generator, so that a page's bytes depend only on its site and
// row count.
class Dice {
 public:
  explicit Dice(std::uint64_t seed) : state_(seed) {}

  int Below(int n) {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<int>((state_ >> 33) % static_cast<std::uint64_t>(n));
  }

  template <std::size_t N>
  std::string_view Pick(const std::string_view (&choices)[N]) {
    return choices[Below(static_cast<int>(N))];
  }

 private:
  std::uint64_t state_;
};

struct Proxy {
  std::string ip;
  std::string_view port;
  std::string_view type;
  std::string_view anonymity;
  std::string_view region;
  std::string speed;
  std::string checkedAt;
};

// Loopback addresses only, like the sample sites: a generated page must never
// point anything at another machine.
Proxy NextProxy(Dice& dice) {
  char text[32];
  Proxy proxy;
  std::snprintf(text, sizeof text, "127.%d.%d.%d", 1 + dice.Below(254), dice.Below(256), 1 + dice.Below(254));
  proxy.ip = text;
  proxy.port = dice.Pick(kPorts);
  proxy.type = dice.Pick(kTypes);
  proxy.anonymity = dice.Pick(kAnonymity);
  proxy.region = dice.Pick(kRegions);
  std::snprintf(text, sizeof text, "%d.%d", dice.Below(4), dice.Below(10));
  proxy.speed = text;
  std::snprintf(text, sizeof text, "12-%02d %02d:%02d", 1 + dice.Below(11), dice.Below(24), dice.Below(60));
  proxy.checkedAt = text;
  return proxy;
}

std::string Head(std::string_view title) {
  std::string head =
      "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
      "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">\n"
      "<html xmlns=\"http://www.w3.org/1999/xhtml\">\n<head>\n"
      "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\" />\n<title>";
  head += title;
  head +=
      "</title>\n<link rel=\"stylesheet\" type=\"text/css\" href=\"/css/style.css\" />\n"
      "<script type=\"text/javascript\" src=\"/js/common.js\"></script>\n"
      "<script type=\"text/javascript\">var pageTracker = null; function nav(i) { return i; }</script>\n"
      "</head>\n";
  return head;
}

// Room for the rows, so that building a large page does not copy it over and over.
std::string Start(std::string_view title, int rows, std::size_t bytesPerRow) {
  std::string page;
  page.reserve(4096 + static_cast<std::size_t>(rows) * bytesPerRow);
  page += Head(title);
  return page;
}

std::string FiveUPage(int rows) {
  Dice dice(1);
  std::string page = Start("5u", rows, 160);
  page +=
      "<body>\n<div class=\"nav\"><ul><li><a href=\"/\">\xCA\xD7\xD2\xB3</a></li>"  // 首页
      "<li><a href=\"/http_fast.html\">\xD7\xEE\xBF\xEC\xB4\xFA\xC0\xED</a></li></ul></div>\n"  // 最快代理
      "<div class=\"main\">\n<span class=\"time\">(\xB8\xFC\xD0\xC2:26-12-11 09:30)</span><br/>\n"  // 更新
      "<table class=\"list\" cellspacing=\"0\">\n"
      "<tr><th>IP</th><th width=\"60\">\xB6\xCB\xBF\xDA</th>"            // 端口
      "<th width=\"60\">\xC4\xE4\xC3\xFB\xB6\xC8</th>"                    // 匿名度
      "<th width=\"60\">\xC0\xE0\xD0\xCD</th><th>\xB9\xFA\xBC\xD2</th></tr>\n";  // 类型, 国家
  for (int i = 0; i < rows; ++i) {
    const Proxy p = NextProxy(dice);
    page += "<tr><td>" + p.ip + "</td><td width=\"60\">";
    page.append(p.port).append("</td><td width=\"60\">").append(p.anonymity).append("</td><td width=\"60\">");
    page.append(p.type).append("</td><td width=\"60\">").append(p.region).append("</td></tr>\n");
  }
  page += "</table>\n</div>\n<div class=\"footer\">5u &copy; 2026</div>\n</body>\n</html>\n";
  return page;
}

std::string ChunzhenPage(int rows) {
  Dice dice(2);
  std::string page = Start("\xB4\xBF\xD5\xE6\xCD\xF8\xC2\xE7", rows, 170);  // 纯真网络
  page +=
      "<body>\r\n<div class=\"date\">\xB7\xA2\xB2\xBC\xC8\xD5\xC6\xDA\xA3\xBA"  // 发布日期：
      "2026-12-11 09:15&nbsp;&nbsp;</div>\r\n<table width=\"100%\" border=\"0\">\r\n"
      "    <tr class=\"head\"><th>IP</th><th>\xB6\xCB\xBF\xDA</th><th>\xC0\xE0\xD0\xCD</th>"  // 端口, 类型
      "<th>\xC4\xE4\xC3\xFB</th><th>\xB5\xD8\xC7\xF8</th></tr>\r\n";  // 匿名, 地区
  for (int i = 0; i < rows; ++i) {
    const Proxy p = NextProxy(dice);
    page += "    <tr><td>" + p.ip + "</td><td>";
    page.append(p.port).append("</td><td>").append(p.type).append("</td><td>").append(p.anonymity);
    page.append("</td><td><div class=\"addr\" title=\"").append(p.region).append("\">").append(p.region);
    page.append("</div></td></tr>\r\n");
  }
  page += "</table>\r\n<div class=\"foot\">\xB0\xE6\xC8\xA8\xCB\xF9\xD3\xD0</div>\r\n</body>\r\n</html>\r\n";  // 版权所有
  return page;
}

std::string PubccPage(int rows) {
  Dice dice(3);
  std::string page = Start("Free proxy list - pubcc", rows, 100);
  page +=
      "<body>\n<div id=\"nav\"><a href=\"/\">Home</a> <a href=\"/about.html\">About</a></div>\n"
      "<div id=\"list\"><h1>Http anonymous proxy list</h1>\n<ul class=\"proxies\">\n";
  for (int i = 0; i < rows; ++i) {
    const Proxy p = NextProxy(dice);
    std::string proxy = p.ip + ":";
    proxy.append(p.port);
    page += "<li><a href=\"#\" title=\"Http anonymous proxy " + proxy + "\">" + proxy + "</a></li>\n";
  }
  page += "</ul>\n<p>Last update: 2026-12-11 08:00:00</p>\n</div>\n</body>\n</html>\n";
  return page;
}

std::string HuixunText(int rows) {
  Dice dice(4);
  std::string text;
  text.reserve(static_cast<std::size_t>(rows) * 24);
  for (int i = 0; i < rows; ++i) {
    const Proxy p = NextProxy(dice);
    text.append(p.ip).append(":").append(p.port).append("\r\n");
  }
  return text;
}

std::string DailiZhongguoPage(int rows) {
  Dice dice(5);
  std::string page = Start("\xB4\xFA\xC0\xED\xD6\xD0\xB9\xFA ProxyCN", rows, 330);  // 代理中国
  page +=
      "<BODY>\r\n<TABLE class=\"list\" width=\"100%\">\r\n"
      "<TR><TD class=\"head\">IP\xB5\xD8\xD6\xB7</TD><TD class=\"head\">\xB6\xCB\xBF\xDA</TD>"  // IP地址, 端口
      "<TD class=\"head\">\xC0\xE0\xD0\xCD</TD><TD class=\"head\">\xB5\xD8\xC7\xF8</TD>"      // 类型, 地区
      "<TD class=\"head\">\xD1\xE9\xD6\xA4\xCA\xB1\xBC\xE4</TD>"                               // 验证时间
      "<TD class=\"head\">\xCF\xEC\xD3\xA6</TD><TD class=\"head\">whois</TD></TR>\r\n";        // 响应
  for (int i = 0; i < rows; ++i) {
    const Proxy p = NextProxy(dice);
    // The address is written in three script calls, split at its dots.
    const std::size_t secondDot = p.ip.find('.', p.ip.find('.') + 1);
    const std::size_t thirdDot = p.ip.rfind('.');
    page += "<TR><TD class=\"list\"><SCRIPT LANGUAGE=\"JavaScript\">\r\n<!--\r\ndocument.write(\"";
    page.append(p.ip, 0, secondDot).append("\");\r\ndocument.write(\"");
    page.append(p.ip, secondDot, thirdDot + 1 - secondDot).append("\");\r\ndocument.write(\"");
    page.append(p.ip, thirdDot + 1).append("\");\r\n//--></SCRIPT></TD><TD class=\"list\">");
    page.append(p.port).append("</TD><TD class=\"list\">").append(p.type).append("</TD><TD class=\"list\">");
    page.append(p.region).append("</TD><TD class=\"list\">").append(p.checkedAt).append("</TD><TD class=\"list\">");
    page.append(p.speed).append("</TD><TD class=\"list\"><A href=\"/whois.asp?ip=").append(p.ip);
    page.append("\">ProxyCN</A></TD></TR>\r\n");
  }
  page += "</TABLE>\r\n<DIV class=\"foot\">Copyright ProxyCN</DIV>\r\n</BODY>\r\n</HTML>\r\n";
  return page;
}

std::string DailiFuwuqiWangPage(int rows) {
  Dice dice(6);
  std::string page = Start("\xB4\xFA\xC0\xED\xB7\xFE\xCE\xF1\xC6\xF7\xCD\xF8", rows, 150);  // 代理服务器网
  page +=
      "<body>\r\n<script type=\"text/javascript\">var z=\"3\";var m=\"4\";var d=\"0\";var b=\"1\";var k=\"2\";"
      "var x=\"5\";var w=\"6\";var i=\"7\";var q=\"8\";var l=\"9\";</script>\r\n<table class=\"proxy\">\r\n"
      "<tr><td>IP:\xB6\xCB\xBF\xDA</td><td>\xC0\xE0\xD0\xCD</td><td>\xCB\xD9\xB6\xC8</td>"  // 端口, 类型, 速度
      "<td>\xB5\xD8\xC7\xF8</td></tr>\r\n";                                                // 地区
  for (int i = 0; i < rows; ++i) {
    const Proxy p = NextProxy(dice);
    page += "<tr><td>" + p.ip + "<SCRIPT type=text/javascript>document.write(\":\"";
    for (const char digit : p.port) page.append("+").append(1, kPortLetters[static_cast<std::size_t>(digit - '0')]);
    page.append(")</SCRIPT></td><td>").append(p.type).append("</td><td>").append(p.speed).append("</td><td>");
    page.append(p.region).append("</td></tr>\r\n");
  }
  page += "</table>\r\n<div class=\"foot\">\xB0\xE6\xC8\xA8\xCB\xF9\xD3\xD0</div>\r\n</body>\r\n</html>\r\n";  // 版权所有
  return page;
}

}  // namespace

const std::vector<BenchSite>& BenchSites() {
  static const std::vector<BenchSite> sites = {
      {"5u", "html", FiveUPage, Cut5u},
      {"chunzhen", "html", ChunzhenPage, CutChunzhen},
      {"pubcc", "html", PubccPage, CutPubcc},
      {"huixun", "txt", HuixunText, CutHuixun},
      {"dailizhongguo", "html", DailiZhongguoPage, CutDailiZhongguo},
      {"dailifuwuqiwang", "html", DailiFuwuqiWangPage, CutDailiFuwuqiWang},
  };
  return sites;
}

std::string BenchPageFileName(const BenchSite& site, int rows) {
  std::string name(site.name);
  name.append("-").append(std::to_string(rows)).append(".").append(site.extension);
  return name;
}

bool WriteBenchPages(const std::string& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  for (const BenchSite& site : BenchSites()) {
    for (const int rows : {kBenchSmallRows, kBenchLargeRows}) {
      const std::filesystem::path path = std::filesystem::path(folder) / BenchPageFileName(site, rows);
      const std::string page = site.make(rows);
      std::ofstream file(path, std::ios::binary);
      file.write(page.data(), static_cast<std::streamsize>(page.size()));
      if (!file) {
        std::cerr << "cannot write " << path << "\n";
        return false;
      }
    }
  }
  return true;
}
