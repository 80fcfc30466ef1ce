// The six page parsers that LoadSource runs by the source row's key. Each
// fetches its page, writes the update time into 时间 where its site offers one
// and appends one row per proxy to 超级列表框1.
#pragma once

#include <string>

#include "app/AppContext.h"
#include "sources/PageCutters.h"

void Parse5u(AppContext& app, const std::string& url);
void ParseChunzhen(AppContext& app, const std::string& url);
void ParsePubcc(AppContext& app);
void ParseHuixun(AppContext& app);
void ParseDailiZhongguo(AppContext& app, const std::string& url);
void ParseDailiFuwuqiWang(AppContext& app, const std::string& url);

// Writes the caption (when the cut has one) and appends the rows: each row is
// appended with its ID, then its cells are set in order.
void ApplyCutPage(const CutPage& cut, CaptionControl& caption, ListControl& list);
