// Tests CurrentProxy by fetching the IP-echo page through it.
#pragma once

#include <string>

#include "app/AppContext.h"

// Shows the external address in 标签4; returns "正常" or "超时" (GBK).
std::string ProbeProxy(AppContext& app);
