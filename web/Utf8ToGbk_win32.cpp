#include "web/Utf8ToGbk.h"

// Placeholder until the converter lands.
std::string ConvertUtf8ToGbk(std::string_view) { return {}; }
