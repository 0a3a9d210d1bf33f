#include "updater/startup/single_instance_win32.h"

#include <windows.h>

#include <cstdlib>

namespace velmo {

void guard_single_instance(const char* event_name) {
  if (HANDLE existing = OpenEventA(EVENT_ALL_ACCESS, FALSE, event_name)) {
    CloseHandle(existing);
    std::exit(0);
  }
  // Any other reason for the open to fail (an event of another user that this
  // one may not open) counts as no other copy. A failed creation runs unguarded.
  CreateEventA(nullptr, FALSE, FALSE, event_name);
}

}  // namespace velmo
