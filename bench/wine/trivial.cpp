// Starts and ends at once: what Wine itself needs to start and end a Windows
// program in a warm prefix, subtracted from the program's start-up figure.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return 0; }
