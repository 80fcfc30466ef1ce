// Tests CurrentProxy by fetching the IP-echo page through it.
#pragma once

#include <string>

#include "app/AppContext.h"

inline constexpr char kVerdictWorking[] = "\xD5\xFD\xB3\xA3";   // "正常"
inline constexpr char kVerdictTimedOut[] = "\xB3\xAC\xCA\xB1";  // "超时"

// Shows the external address in 标签4; returns "正常" or "超时" (GBK).
std::string ProbeProxy(AppContext& app);
