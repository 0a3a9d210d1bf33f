#pragma once
// The updater's process-wide state. Every item lives from process start to
// process exit; release_globals, registered at start-up, empties it.
#include <string>
#include <vector>

namespace velmo {

struct ProcessState {
  std::string access_key;         // the first command-line argument, unchanged
  std::string main_program_name;  // [SoftName] Name of Config.ini
  std::string staging_dir;        // %TEMP%\Update\, set at first activation
  std::string install_dir;        // the run directory followed by "\"
  std::vector<std::string> file_inventory;
};

ProcessState& process_state();

// The exit hook.
void release_globals();

}  // namespace velmo
