#include "listfile/ListFileButtons.h"

// Placeholders until the list file lands.
void On按钮9Click(AppContext&) {}
void On按钮10Click(AppContext&) {}
