#include "sources/PageCutters.h"

#include <boost/regex.hpp>

#include <optional>
#include <stdexcept>

#include "sources/text/GbkText.h"

namespace {

CutRow FixedIdRow(std::string id) {
  CutRow row;
  row.id = std::move(id);
  return row;
}

CutRow PositionIdRow(int offset) {
  CutRow row;
  row.idFromPosition = true;
  row.positionOffset = offset;
  return row;
}

// Pieces and fields are views into the page: only the texts that become cells
// are copied out of it.
using Views = std::vector<std::string_view>;

// Field n (1-based) of a record, when the record has it.
const std::string_view* Field(const Views& fields, std::size_t n) {
  return n <= fields.size() ? &fields[n - 1] : nullptr;
}

// Appends the cells whose fields exist, in the order given.
void AddFields(CutRow& row, const Views& fields, std::initializer_list<std::pair<int, std::size_t>> columnFromField) {
  row.cells.reserve(row.cells.size() + columnFromField.size());
  for (const auto& [column, field] : columnFromField) {
    if (field <= fields.size()) row.cells.push_back({column, std::string(fields[field - 1])});
  }
}

std::string ReplaceAll(std::string page, std::initializer_list<std::pair<std::string_view, std::string_view>> chain) {
  for (const auto& [sub, replacement] : chain) page = ReplaceSubtext(page, sub, replacement, true);
  return page;
}

}  // namespace

CutPage Cut5u(std::string_view page) {
  CutPage cut;
  cut.caption = "\xD7\xEE\xBA\xF3\xB8\xFC\xD0\xC2:20" +  // 最后更新:20
                TextBetween(page, "(\xB8\xFC\xD0\xC2:", ")</span><br/>", 1);  // (更新:
  cut.hasCaption = true;
  const std::string table = TextBetween(page, "<th>\xB9\xFA\xBC\xD2</th>", "<div class=", 0);  // <th>国家</th>
  Views pieces;
  SplitTextViews(table, "</tr>", std::nullopt, pieces);
  cut.rows.reserve(pieces.size());
  for (std::size_t k = 1; k <= pieces.size(); ++k) {
    const std::string_view piece = pieces[k - 1];
    if (piece.empty()) continue;
    std::string ip = TextBetween(piece, "<td>", "</td>", 1);
    if (ip.empty()) continue;
    CutRow row = FixedIdRow(NumberToText(static_cast<long long>(k) + 1));
    row.cells.push_back({kColumnIp, std::move(ip)});
    row.cells.push_back({kColumnPort, TextBetween(piece, "<td width=\"60\">", "</td>", 1)});
    row.cells.push_back({kColumnRegion, TextBetween(piece, "<td width=\"60\">", "</td>", 3)});
    cut.rows.push_back(std::move(row));
  }
  return cut;
}

CutPage CutChunzhen(std::string_view page) {
  CutPage cut;
  cut.caption = "\xD7\xEE\xBA\xF3\xB8\xFC\xD0\xC2:" +  // 最后更新:
                TextBetween(page, "\xB7\xA2\xB2\xBC\xC8\xD5\xC6\xDA\xA3\xBA", "&nbsp;", 1);  // 发布日期：
  cut.hasCaption = true;

  // mod_s: '.' matches every byte, CR and LF included, so a row may span lines.
  static const boost::regex pattern("    <tr><td>(.*?)</div></td></tr>\r\n",
                                    boost::regex::perl | boost::regex::mod_s);
  // Every match ends with the terminator, so nothing past the last one can
  // match. Searching only up to there also keeps the lazy group linear: a
  // start that has no terminator after it would otherwise make the engine scan
  // to the end of the page once for every such start.
  static constexpr std::string_view kTerminator = "</div></td></tr>\r\n";
  const std::size_t lastTerminator = page.rfind(kTerminator);
  if (lastTerminator == std::string_view::npos) return cut;
  const char* const begin = page.data();
  const char* const end = page.data() + lastTerminator + kTerminator.size();
  Views fields;
  try {
    for (boost::cregex_iterator it(begin, end, pattern), last; it != last; ++it) {
      SplitTextViews(std::string_view((*it)[1].first, static_cast<std::size_t>((*it)[1].length())), "</td><td>",
                     std::nullopt, fields);
      CutRow row = PositionIdRow(0);
      if (const std::string_view* region = Field(fields, 5)) row.cells.push_back({kColumnRegion, TextAfterLast(*region, ">")});
      AddFields(row, fields, {{kColumnIp, 1}, {kColumnPort, 2}, {kColumnType, 3}});
      cut.rows.push_back(std::move(row));
    }
  } catch (const std::runtime_error&) {
    // The engine gives up when a match grows too complex for its limit: the
    // rows found so far stand.
  }
  return cut;
}

CutPage CutPubcc(std::string_view page) {
  CutPage cut;
  cut.caption = "\xD7\xEE\xBA\xF3\xB8\xFC\xD0\xC2\xCA\xB1\xBC\xE4\xA3\xBA" +  // 最后更新时间：
                TextBetween(page, "<p>Last update: ", "</p>", 0);
  cut.hasCaption = true;
  Views pieces;
  SplitTextViews(page, "<li><a href=\"#\" title=\"Http anonymous proxy", std::nullopt, pieces);
  if (pieces.size() < 2) return cut;
  cut.rows.reserve(pieces.size() - 1);
  Views fields;
  for (std::size_t i = 1; i < pieces.size(); ++i) {
    const std::string item = TextBetween(pieces[i], ">", "</a></li>", 0);
    SplitTextViews(item, ":", std::nullopt, fields);
    CutRow row = PositionIdRow(1);
    AddFields(row, fields, {{kColumnIp, 1}, {kColumnPort, 2}});
    cut.rows.push_back(std::move(row));
  }
  return cut;
}

CutPage CutHuixun(std::string_view page) {
  CutPage cut;
  Views lines;
  SplitTextViews(page, "\r\n", std::nullopt, lines);
  if (lines.size() < 2) return cut;
  cut.rows.reserve(lines.size());
  Views fields;
  for (std::size_t k = 1; k <= lines.size(); ++k) {
    SplitTextViews(lines[k - 1], ":", std::nullopt, fields);
    CutRow row = FixedIdRow(NumberToText(static_cast<long long>(k)));
    AddFields(row, fields, {{kColumnIp, 1}, {kColumnPort, 2}});
    cut.rows.push_back(std::move(row));
  }
  return cut;
}

CutPage CutDailiZhongguo(std::string_view page) {
  CutPage cut;
  const std::string flat = ReplaceAll(std::string(page), {
      // Joins the pieces of an address written by several script calls.
      {"\");\r\ndocument.write(\"", ""},
      // Closes the address field where the script ends.
      {"\");\r\n//--></SCRIPT></TD><TD class=\"list\">", "|"},
      {"</TD><TD class=\"list\">", "|"},
      {"ProxyCN", ""},
  });
  Views pieces;
  SplitTextViews(flat, "<SCRIPT LANGUAGE=\"JavaScript\">\r\n<!--\r\ndocument.write(\"", std::nullopt, pieces);
  if (pieces.size() < 2) return cut;
  cut.rows.reserve(pieces.size() - 1);
  Views fields;
  for (std::size_t k = 1; k < pieces.size(); ++k) {
    SplitTextViews(pieces[k], "|", 7, fields);
    CutRow row = FixedIdRow(NumberToText(static_cast<long long>(k)));
    AddFields(row, fields, {{kColumnIp, 1}, {kColumnPort, 2}, {kColumnType, 3},
                            {kColumnRegion, 4}, {kColumnSpeed, 6}, {kColumnCheckedAt, 5}});
    cut.rows.push_back(std::move(row));
  }
  return cut;
}

CutPage CutDailiFuwuqiWang(std::string_view page) {
  CutPage cut;
  const std::string flat = ReplaceAll(std::string(page), {
      // Ends the address field where the port script begins.
      {"<SCRIPT type=text/javascript>document.write(\":\"", "|"},
      {")</SCRIPT>", ""},
      {"</td><td>", "|"},
      {"</td></tr>", "|"},
      // The port script writes each digit as '+' and a letter.
      {"+d", "0"}, {"+b", "1"}, {"+k", "2"}, {"+z", "3"}, {"+m", "4"},
      {"+x", "5"}, {"+w", "6"}, {"+i", "7"}, {"+q", "8"}, {"+l", "9"},
  });
  Views pieces;
  SplitTextViews(flat, "<tr><td>", std::nullopt, pieces);
  if (pieces.size() < 2) return cut;
  cut.rows.reserve(pieces.size() - 2);
  Views fields;
  // The first two pieces are the page before the table and its header row.
  for (std::size_t i = 2; i < pieces.size(); ++i) {
    SplitTextViews(pieces[i], "|", 5, fields);
    CutRow row = FixedIdRow(NumberToText(static_cast<long long>(i - 1)));
    AddFields(row, fields, {{kColumnIp, 1}, {kColumnPort, 2}, {kColumnType, 3}, {kColumnRegion, 5}, {kColumnSpeed, 4}});
    cut.rows.push_back(std::move(row));
  }
  return cut;
}
