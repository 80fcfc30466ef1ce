#include "sources/Catalogue.h"

// Placeholder until the catalogue lands.
void AddSource(ListControl&, std::string_view, std::string_view, std::string_view) {}

void FillSourceList(ListControl&, const SiteHosts&) {}
