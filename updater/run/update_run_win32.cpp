#include "updater/run/update_run_win32.h"

namespace velmo {

// Nothing to run before the update check can fill the list.
void on_update_button_clicked() {}

}  // namespace velmo
