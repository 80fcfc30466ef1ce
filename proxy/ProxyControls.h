// Handlers of the proxy controls on the first page.
#pragma once

#include "app/AppContext.h"

void On按钮2Click(AppContext& app);  // 设置代理
void On按钮3Click(AppContext& app);  // 取消代理
void On超级列表框1DoubleClick(AppContext& app, int x, int y, int keys);
void VerifyAll(AppContext& app);     // 全自动效验可用性
