// The one translate-and-dispatch routine. The main loop and every wait that
// pumps messages go through it, so keys behave the same inside a wait: Esc
// closes the main window from any control, Tab moves the focus.
#pragma once

#include <windows.h>

// The window whose controls the keyboard rules apply to (null: none).
void SetKeyboardWindow(HWND window);

// Applies the keyboard rules to msg, then translates and dispatches it.
void TranslateAndDispatch(MSG& msg);

// Dispatches every pending message. Returns false once WM_QUIT has been seen;
// it is posted again so the outermost loop ends too.
bool PumpPendingMessages();

// The event loop: runs until WM_QUIT; returns its exit code.
int RunMessageLoop();

// True once the program has started to end (WM_QUIT seen or the main window
// destroyed). Code that waits gives up at once, and loops stop.
bool ProgramIsEnding();
void MarkProgramEnding();
