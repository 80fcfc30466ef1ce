#include "app/ProgramState.h"

void InitProgramState(ProgramState& state) {
  state.CurrentProxy.clear();
  state.ending = false;
}

void ExitCleanup(ProgramState& state) {
  state.CurrentProxy.clear();
  state.CurrentProxy.shrink_to_fit();
}
