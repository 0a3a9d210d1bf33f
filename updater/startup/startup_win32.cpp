#include "updater/startup/startup_win32.h"

#include <cstdlib>
#include <vector>

#include "updater/startup/command_line.h"
#include "updater/startup/config_ini_win32.h"
#include "updater/startup/main_program_termination_win32.h"
#include "updater/startup/process_state.h"
#include "updater/startup/single_instance_win32.h"
#include "updater/window/update_window_win32.h"

namespace velmo {

bool run_startup(HINSTANCE instance) {
  std::atexit(release_globals);
  guard_single_instance(single_instance_event_name);

  const std::vector<std::string> arguments = split_command_line(GetCommandLineA());
  if (arguments.empty()) return false;
  ProcessState& state = process_state();
  state.access_key = arguments.front();
  state.main_program_name = read_main_program_name();

  terminate_main_program();
  return update_window().create(instance);
}

}  // namespace velmo
