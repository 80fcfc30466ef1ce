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

// The port script of a 代理服务器网 row writes each digit as '+' and a letter:
// replaces "+d" by "0", "+b" by "1", ... "+l" by "9", in that order, each over
// the whole text. Done as ten ReplaceSubtext calls, each would scan and copy
// the whole page. No replacement can make or break an occurrence for a later
// one (a digit takes the place of two whole ASCII characters, and neither a
// digit nor its neighbours can form a '+' and a letter that were not there
// before), so one walk over the text that replaces all ten gives the same text.
std::string ReplacePortDigits(std::string_view text) {
  static constexpr std::string_view kLetters = "dbkzmxwiql";  // digit n is '+' and kLetters[n]
  std::string result;
  result.reserve(text.size());
  std::size_t copied = 0;
  for (int plus = FindText(text, "+"); plus != -1; plus = FindText(text, "+", plus + 1)) {
    const std::size_t at = static_cast<std::size_t>(plus - 1);
    if (at + 1 >= text.size()) break;
    const std::size_t digit = kLetters.find(text[at + 1]);
    if (digit == std::string_view::npos) continue;
    result.append(text.substr(copied, at - copied));
    result.push_back(static_cast<char>('0' + digit));
    copied = at + 2;
    plus = static_cast<int>(copied);  // resume after the letter: FindText starts at plus + 1
  }
  result.append(text.substr(copied));
  return result;
}

}  // namespace

CutPage Cut5u(std::string_view page) {
  CutPage cut;
  cut.caption = "\xD7\xEE\xBA\xF3\xB8\xFC\xD0\xC2:20" +  // 最后更新:20
                TextBetween(page, "(\xB8\xFC\xD0\xC2:", ")</span><br/>", 1);  // (更新:
  cut.hasCaption = true;
  const std::string_view table = TextBetweenView(page, "<th>\xB9\xFA\xBC\xD2</th>", "<div class=", 0);  // <th>国家</th>
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
    const std::string_view item = TextBetweenView(pieces[i], ">", "</a></li>", 0);
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
  std::string flat = ReplaceAll(std::string(page), {
      // Ends the address field where the port script begins.
      {"<SCRIPT type=text/javascript>document.write(\":\"", "|"},
      {")</SCRIPT>", ""},
      {"</td><td>", "|"},
      {"</td></tr>", "|"},
  });
  flat = ReplacePortDigits(flat);
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
