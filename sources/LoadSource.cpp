#include "sources/LoadSource.h"

// Placeholder until the parsers land.
void LoadSource(AppContext&) {}
