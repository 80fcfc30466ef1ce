// Loading the proxy list from the selected source.
#pragma once

#include "app/AppContext.h"

// Item-activate handler of 超级列表框2.
void LoadSource(AppContext& app);
