#include <windows.h>

#include "app/Application_win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) { return RunApplication(instance); }
