#pragma once
#include <windows.h>

namespace velmo {

// The updater's start-up, in its fixed order: exit hook, single-instance
// guard, access key, Config.ini, main-program termination, the window.
// Returns false when this copy is not to run on (then it has already ended
// the process or the caller returns at once); true once the window is open.
bool run_startup(HINSTANCE instance);

}  // namespace velmo
