// The program as a whole: start-up in order, the event loop, shutdown.
#pragma once

#include <windows.h>

// Runs the program until its main window is closed; returns the exit code.
int RunApplication(HINSTANCE instance);
