// The program-wide variables. They live for the whole run and are used on the
// GUI thread only, without locks.
#pragma once

#include <string>

struct ProgramState {
  // The proxy last applied, "address:port"; empty means none.
  std::string CurrentProxy;
  // Set once the main window is gone: handlers still running inside a wait
  // stop at their next step instead of touching controls or the network.
  bool ending = false;
};

// Gives every variable its initial value.
void InitProgramState(ProgramState& state);

// Releases what the variables hold. Touches neither windows nor system settings:
// a proxy the user applied stays in force after the program ends.
void ExitCleanup(ProgramState& state);
