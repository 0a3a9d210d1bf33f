#pragma once

namespace velmo {

// The update check, on its own thread: inventory, request, reply, list.
void run_update_check();

}  // namespace velmo
