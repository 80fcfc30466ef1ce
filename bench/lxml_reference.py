"""The way popular scrapers cut proxy-list pages, timed on the benchmark pages.

Each page is parsed with lxml.html into a tree, its table rows (or list items)
are found and the cells a user wants are read: ip, port, type and region, with
the script-built address or port decoded the way a scraper would. The plain
text list (会寻) has no markup: it is decoded and split into lines and fields.

    python3 bench/lxml_reference.py PAGE_FOLDER [--repetitions N] [--json OUT]

PAGE_FOLDER holds the pages that `proxy_bench --write-pages=PAGE_FOLDER`
writes: <site>-<rows>.<html|txt>. For every page the script prints the median
throughput over N runs, in MB/s (10^6 bytes per second) of process CPU time
(the machine is shared, so wall time would count other programs' work), and
checks that every run read as many rows as the page has.
"""
import argparse
import json
import pathlib
import re
import statistics
import sys
import time

import lxml.etree
import lxml.html

ENCODING = "gbk"
PORT_DIGITS = {letter: str(digit) for digit, letter in enumerate("dbkzmxwiql")}
WRITE_CALL = re.compile(r'document\.write\("([^"]*)"\)')
PORT_LETTER = re.compile(r"\+([a-z])")


def tree(page):
    parser = lxml.html.HTMLParser(encoding=ENCODING)
    return lxml.html.document_fromstring(page, parser=parser)


def cells(row):
    return [td.text_content().strip() for td in row.iter("td")]


def cut_5u(page):
    rows = []
    for tr in tree(page).iterfind(".//table//tr"):
        c = cells(tr)
        if len(c) >= 5:
            rows.append({"ip": c[0], "port": c[1], "type": c[3], "region": c[4]})
    return rows


def cut_chunzhen(page):
    rows = []
    for tr in tree(page).iterfind(".//table//tr"):
        c = cells(tr)
        if len(c) >= 5:
            rows.append({"ip": c[0], "port": c[1], "type": c[2], "region": c[4]})
    return rows


def cut_pubcc(page):
    rows = []
    for a in tree(page).iterfind(".//ul/li/a"):
        ip, _, port = a.text_content().partition(":")
        rows.append({"ip": ip, "port": port})
    return rows


def cut_huixun(page):
    rows = []
    for line in page.decode(ENCODING).splitlines():
        ip, _, port = line.partition(":")
        if ip:
            rows.append({"ip": ip, "port": port})
    return rows


def cut_dailizhongguo(page):
    rows = []
    for tr in tree(page).iterfind(".//table//tr"):
        tds = list(tr.iter("td"))
        if len(tds) < 6:
            continue
        scripts = tds[0].findall("script")
        if not scripts:  # the header row
            continue
        ip = "".join(WRITE_CALL.findall(scripts[0].text or ""))
        c = [td.text_content().strip() for td in tds[1:6]]
        rows.append({"ip": ip, "port": c[0], "type": c[1], "region": c[2], "checked": c[3], "speed": c[4]})
    return rows


def cut_dailifuwuqiwang(page):
    rows = []
    for tr in tree(page).iterfind(".//table//tr"):
        tds = list(tr.iter("td"))
        if len(tds) < 4:
            continue
        scripts = tds[0].findall("script")
        if not scripts:  # the header row
            continue
        port = "".join(PORT_DIGITS[letter] for letter in PORT_LETTER.findall(scripts[0].text or ""))
        c = [td.text_content().strip() for td in tds[1:4]]
        rows.append({"ip": (tds[0].text or "").strip(), "port": port, "type": c[0], "speed": c[1], "region": c[2]})
    return rows


CUTTERS = {
    "5u": cut_5u,
    "chunzhen": cut_chunzhen,
    "pubcc": cut_pubcc,
    "huixun": cut_huixun,
    "dailizhongguo": cut_dailizhongguo,
    "dailifuwuqiwang": cut_dailifuwuqiwang,
}


def time_page(path, repetitions):
    site, _, rows = path.stem.rpartition("-")
    page = path.read_bytes()
    cut = CUTTERS[site]
    seconds = []
    for _ in range(repetitions):
        start = time.process_time()
        found = cut(page)
        seconds.append(time.process_time() - start)
        if len(found) != int(rows):
            raise SystemExit(f"{path.name}: read {len(found)} rows, the page has {rows}")
    median = statistics.median(seconds)
    return {"site": site, "rows": int(rows), "bytes": len(page), "seconds": median,
            "mb_per_s": len(page) / median / 1e6}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("folder", type=pathlib.Path)
    parser.add_argument("--repetitions", type=int, default=5)
    parser.add_argument("--json", type=pathlib.Path, help="also write the results here")
    args = parser.parse_args()
    results = []
    for path in sorted(args.folder.iterdir()):
        if path.stem.rpartition("-")[0] in CUTTERS:
            results.append(time_page(path, args.repetitions))
    for r in results:
        print(f"{r['site']:16} {r['rows']:>7} rows {r['bytes'] / 1e6:8.2f} MB {r['mb_per_s']:8.2f} MB/s")
    if args.json:
        versions = {"python": sys.version.split()[0],
                    "lxml": ".".join(map(str, lxml.etree.LXML_VERSION[:3])),
                    "libxml2": ".".join(map(str, lxml.etree.LIBXML_VERSION))}
        args.json.write_text(json.dumps({"versions": versions, "results": results}, indent=1))
    return 0


if __name__ == "__main__":
    sys.exit(main())
