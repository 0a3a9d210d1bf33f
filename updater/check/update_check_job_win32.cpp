#include "updater/check/update_check_job_win32.h"

namespace velmo {

// The inventory, the request and the list come with the update check itself;
// until then the check ends at once and the update button stays disabled.
void run_update_check() {}

}  // namespace velmo
