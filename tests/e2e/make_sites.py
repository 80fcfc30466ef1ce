#!/usr/bin/env python3
"""Generates the sample pages of the local internet into tests/e2e/sites/.

Each site gets a page at every path the source list points to, in the markup
that site uses, with 10 to 30 plausible proxies, one of them the working proxy that the local
internet can run (LISTED_PROXY). The output is deterministic
(fixed seed), so the committed pages only change when this script does.
expected.json records, per site and path, the proxy rows the program should
show for each page (eight cells, UTF-8).
5u pages are UTF-8; the other sites' pages are GBK bytes.

    python3 tests/e2e/make_sites.py [--out DIR]
"""
import argparse
import json
import pathlib
import random

HERE = pathlib.Path(__file__).resolve().parent

FIVE_U_PATHS = ["/http_fast.html", "/http_anonymous.html", "/http_non_anonymous.html", "/socks5.html"]
CHUNZHEN_PATHS = (["/proxy/index.shtml"] + [f"/proxy/http_{n}.shtml" for n in range(2, 11)]
                  + ["/proxy/socks4.shtml", "/proxy/socks4_2.shtml", "/proxy/socks4_3.shtml"])
DAILIZHONGGUO_PATHS = [f"/html_proxy/{name}-1.html" for name in
                       ["30fastproxy", "http", "countryDX", "countryWT", "countryYD", "countryLT",
                        "countryGD", "countryBJ", "countrySH", "countryUS", "countryHK", "countryTW"]]
DAILIFUWUQIWANG_PATHS = [f"/proxy{n}.html" for n in range(1, 11)]

REGIONS = ["广东省深圳市", "北京市", "上海市", "浙江省杭州市", "江苏省南京市", "美国", "香港", "台湾省",
           "日本", "四川省成都市", "湖北省武汉市", "山东省青岛市"]
PORTS = ["80", "8080", "3128", "8000", "8888", "1080", "9000", "8118", "81", "6588"]
TYPES = ["HTTP", "HTTP", "HTTPS", "SOCKS4", "SOCKS5"]
ANONYMITY = ["高匿", "匿名", "透明"]
PORT_LETTERS = "dbkzmxwiql"  # digit n is written as "+" and PORT_LETTERS[n]
# Every page lists this one once: the local internet can answer there as a
# working proxy (localnet.py, LISTED_PROXY), so a verified list shows some.
LISTED_PROXY = ("127.0.0.3", "8080")


def proxies(rng, count):
    rows = []
    for _ in range(count):
        # Loopback addresses only: verifying a sample list must never send
        # traffic off this machine. 127.0.0.x is left to the local sites.
        ip = f"127.{rng.randint(1, 254)}.{rng.randint(0, 255)}.{rng.randint(1, 254)}"
        rows.append({
            "ip": ip,
            "port": rng.choice(PORTS),
            "type": rng.choice(TYPES),
            "anon": rng.choice(ANONYMITY),
            "region": rng.choice(REGIONS),
            "speed": f"{rng.randint(1, 40) / 10:.1f}",
            "checked": f"12-{rng.randint(1, 11):02d} {rng.randint(0, 23):02d}:{rng.randint(0, 59):02d}",
        })
    rows[rng.randrange(len(rows))].update(ip=LISTED_PROXY[0], port=LISTED_PROXY[1], type="HTTP")
    return rows


def head(title, charset):
    return (f'<!DOCTYPE html PUBLIC "-//W3C//DTD XHTML 1.0 Transitional//EN" '
            f'"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd">\n'
            f'<html xmlns="http://www.w3.org/1999/xhtml">\n<head>\n'
            f'<meta http-equiv="Content-Type" content="text/html; charset={charset}" />\n'
            f'<title>{title}</title>\n'
            f'<link rel="stylesheet" type="text/css" href="/css/style.css" />\n'
            f'<script type="text/javascript" src="/js/common.js"></script>\n'
            f'<script type="text/javascript">var pageTracker = null; function nav(i) {{ return i; }}</script>\n'
            f'</head>\n')


def five_u_page(rng, title, updated):
    rows = proxies(rng, rng.randint(10, 30))
    out = [head(title + " - 5u代理", "utf-8"), "<body>\n",
           '<div class="nav"><ul><li><a href="/">首页</a></li><li><a href="/http_fast.html">最快代理</a></li>'
           '<li><a href="/socks5.html">SOCKS5</a></li></ul></div>\n',
           '<div class="main">\n', f'<h2>{title}</h2>\n',
           f'<span class="time">(更新:{updated})</span><br/>\n',
           '<table class="list" cellspacing="0">\n',
           '<tr><th>IP</th><th width="60">端口</th><th width="60">匿名度</th><th width="60">类型</th>'
           '<th>国家</th></tr>\n']
    for r in rows:
        out.append(f'<tr><td>{r["ip"]}</td><td width="60">{r["port"]}</td><td width="60">{r["anon"]}</td>'
                   f'<td width="60">{r["type"]}</td><td width="60">{r["region"]}</td></tr>\n')
    out.append('</table>\n</div>\n<div class="footer">5u代理 每十分钟更新一次 &copy; 2026</div>\n'
               '</body>\n</html>\n')
    return "".join(out).encode("utf-8"), rows


def chunzhen_page(rng, title, updated):
    rows = proxies(rng, rng.randint(10, 30))
    out = [head(title + " - 纯真代理", "gb2312"), "<body>\r\n",
           '<div id="menu"><a href="/proxy/index.shtml">HTTP代理</a> | <a href="/proxy/socks4.shtml">SOCKS代理</a></div>\r\n',
           f'<div class="date">发布日期：{updated}&nbsp;&nbsp;共{len(rows)}条</div>\r\n',
           '<table width="100%" border="0">\r\n',
           '    <tr class="head"><th>IP</th><th>端口</th><th>类型</th><th>匿名</th><th>地区</th></tr>\r\n']
    for r in rows:
        out.append(f'    <tr><td>{r["ip"]}</td><td>{r["port"]}</td><td>{r["type"]}</td><td>{r["anon"]}</td>'
                   f'<td><div class="addr" title="{r["region"]}">{r["region"]}</div></td></tr>\r\n')
    out.append('</table>\r\n<div class="foot">纯真网络 版权所有</div>\r\n</body>\r\n</html>\r\n')
    return "".join(out).encode("gbk"), rows


def pubcc_page(rng, updated):
    rows = proxies(rng, rng.randint(10, 30))
    out = [head("Free proxy list - pubcc", "gb2312"), "<body>\n",
           '<div id="nav"><a href="/">Home</a> <a href="/about.html">About</a></div>\n',
           '<div id="list"><h1>Http anonymous proxy list</h1>\n<ul class="proxies">\n']
    for r in rows:
        out.append(f'<li><a href="#" title="Http anonymous proxy {r["ip"]}:{r["port"]}">'
                   f'{r["ip"]}:{r["port"]}</a></li>\n')
    out.append(f'</ul>\n<p>Last update: {updated}</p>\n</div>\n'
               '<div id="foot">每小时一更新</div>\n</body>\n</html>\n')
    return "".join(out).encode("gbk"), rows


def huixun_text(rng):
    rows = proxies(rng, rng.randint(10, 30))
    return "".join(f'{r["ip"]}:{r["port"]}\r\n' for r in rows).encode("gbk"), rows


def dailizhongguo_page(rng, title):
    rows = proxies(rng, rng.randint(10, 30))
    out = [head(title + " - 代理中国 ProxyCN", "gb2312"), "<BODY>\r\n",
           '<DIV class="menu"><A href="/">首页</A> <A href="/html_proxy/http-1.html">HTTP代理</A></DIV>\r\n',
           '<TABLE class="list" width="100%">\r\n',
           '<TR><TD class="head">IP地址</TD><TD class="head">端口</TD><TD class="head">类型</TD>'
           '<TD class="head">地区</TD><TD class="head">验证时间</TD><TD class="head">响应</TD>'
           '<TD class="head">whois</TD></TR>\r\n']
    for r in rows:
        a, b, c, d = r["ip"].split(".")
        out.append('<TR><TD class="list"><SCRIPT LANGUAGE="JavaScript">\r\n<!--\r\n'
                   f'document.write("{a}.{b}");\r\ndocument.write(".{c}.");\r\ndocument.write("{d}");\r\n'
                   '//--></SCRIPT></TD>'
                   f'<TD class="list">{r["port"]}</TD><TD class="list">{r["type"]}</TD>'
                   f'<TD class="list">{r["region"]}</TD><TD class="list">{r["checked"]}</TD>'
                   f'<TD class="list">{r["speed"]}</TD>'
                   f'<TD class="list"><A href="/whois.asp?ip={r["ip"]}">ProxyCN</A></TD></TR>\r\n')
    out.append('</TABLE>\r\n<DIV class="foot">Copyright ProxyCN 代理中国</DIV>\r\n</BODY>\r\n</HTML>\r\n')
    return "".join(out).encode("gbk"), rows


def dailifuwuqiwang_page(rng, title):
    rows = proxies(rng, rng.randint(10, 30))
    out = [head(title + " - 代理服务器网", "gb2312"), "<body>\r\n",
           '<script type="text/javascript">var z="3";var m="4";var d="0";var b="1";var k="2";var x="5";'
           'var w="6";var i="7";var q="8";var l="9";</script>\r\n',
           '<div class="nav"><a href="/proxy1.html">1</a> <a href="/proxy2.html">2</a></div>\r\n',
           '<table class="proxy">\r\n',
           '<tr><td>IP:端口</td><td>类型</td><td>速度</td><td>地区</td></tr>\r\n']
    for r in rows:
        script_port = "".join("+" + PORT_LETTERS[int(ch)] for ch in r["port"])
        out.append(f'<tr><td>{r["ip"]}<SCRIPT type=text/javascript>document.write(":"{script_port})</SCRIPT>'
                   f'</td><td>{r["type"]}</td><td>{r["speed"]}</td><td>{r["region"]}</td></tr>\r\n')
    out.append('</table>\r\n<div class="foot">代理服务器网 版权所有</div>\r\n</body>\r\n</html>\r\n')
    return "".join(out).encode("gbk"), rows


def home_page():
    return (head("Proxy switcher", "utf-8") + "<body>\n<h1>Proxy switcher</h1>\n"
            "<p>局域网代理切换工具 - 本地演示主页</p>\n</body>\n</html>\n").encode("utf-8")


def expected_rows(site, rows):
    """The eight cells of each proxy row the program shows for a page."""
    result = []
    for i, r in enumerate(rows):
        cells = [""] * 8
        if site == "5u":  # the header row is piece 1 and IDs are piece numbers + 1
            cells[0], cells[1], cells[2], cells[3] = str(i + 3), r["region"], r["ip"], r["port"]
        elif site == "chunzhen":
            cells[0], cells[1], cells[2], cells[3], cells[6] = str(i), r["region"], r["ip"], r["port"], r["type"]
        elif site in ("pubcc", "huixun"):
            cells[0], cells[2], cells[3] = str(i + 1), r["ip"], r["port"]
        elif site == "dailizhongguo":
            cells = [str(i + 1), r["region"], r["ip"], r["port"], "", r["speed"], r["type"], r["checked"]]
        elif site == "dailifuwuqiwang":
            cells = [str(i + 1), r["region"], r["ip"], r["port"], "", r["speed"], r["type"], ""]
        result.append(cells)
    return result


def generate(out):
    """Writes every page below out; returns {site: {path: rows}} for the record."""
    rng = random.Random(20261211)
    written = {}

    def put(site, path, data, rows=None):
        target = out / site / path.lstrip("/")
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(data)
        written.setdefault(site, {})[path] = rows

    titles = ["最快HTTP代理服务器", "匿名HTTP代理服务器", "透明HTTP代理服务器", "SOCKS5代理服务器"]
    for n, (path, title) in enumerate(zip(FIVE_U_PATHS, titles)):
        put("5u", path, *five_u_page(rng, title, f"26-12-11 0{n}:30"))
    data, rows = pubcc_page(rng, "2026-12-11 08:00:00")
    put("pubcc", "/index.html", data, rows)
    data, rows = huixun_text(rng)
    put("huixun", "/proxy/today.txt", data, rows)
    for n, path in enumerate(CHUNZHEN_PATHS):
        put("chunzhen", path, *chunzhen_page(rng, f"纯真最新代理{n + 1}", f"2026-12-11 {n:02d}:15"))
    for path in DAILIZHONGGUO_PATHS:
        put("dailizhongguo", path, *dailizhongguo_page(rng, "今日最新代理列表"))
    for n, path in enumerate(DAILIFUWUQIWANG_PATHS):
        put("dailifuwuqiwang", path, *dailifuwuqiwang_page(rng, f"代理服务器网{n + 1}-HTTP"))
    put("home", "/index.html", home_page())
    expected = {site: {path: expected_rows(site, rows) for path, rows in pages.items()}
                for site, pages in written.items() if site != "home"}
    lines = ["{"]
    for s_i, (site, pages) in enumerate(expected.items()):
        lines.append(f" {json.dumps(site)}: {{")
        for p_i, (path, rows) in enumerate(pages.items()):
            lines.append(f"  {json.dumps(path)}: [")
            lines += [f"   {json.dumps(row, ensure_ascii=False)}{',' if r_i + 1 < len(rows) else ''}"
                      for r_i, row in enumerate(rows)]
            lines.append("  ]" + ("," if p_i + 1 < len(pages) else ""))
        lines.append(" }" + ("," if s_i + 1 < len(expected) else ""))
    lines.append("}")
    (out / "expected.json").write_text("\n".join(lines) + "\n", encoding="utf-8")
    return written


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=str(HERE / "sites"))
    args = parser.parse_args()
    written = generate(pathlib.Path(args.out))
    for site, pages in written.items():
        print(f"{site}: {len(pages)} page(s)")


if __name__ == "__main__":
    main()
