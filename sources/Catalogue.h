// The fixed catalogue of proxy-list sources that fills the source list.
#pragma once

#include <string_view>

#include "app/Controls.h"
#include "app/SiteHosts.h"

// Appends one row: cell 0 the row's position + 1, then name, url and key.
void AddSource(ListControl& list, std::string_view name, std::string_view url, std::string_view key);

// Fills the source list with the whole catalogue, in order.
void FillSourceList(ListControl& list, const SiteHosts& hosts);
