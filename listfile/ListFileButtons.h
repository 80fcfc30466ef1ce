// Handlers of the import and export buttons (Windows: they show the shell's
// folder browser and message boxes).
#pragma once

#include "app/AppContext.h"

void On按钮9Click(AppContext& app);   // 导入
void On按钮10Click(AppContext& app);  // 导出
