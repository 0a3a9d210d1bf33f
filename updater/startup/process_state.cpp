#include "updater/startup/process_state.h"

namespace velmo {

ProcessState& process_state() {
  static ProcessState state;
  return state;
}

void release_globals() { process_state() = ProcessState{}; }

}  // namespace velmo
