#pragma once
// A program directory holding the real UpDate.exe, and the ways a test
// starts it and waits for its window.
#include <string>

#include "tests/win32/support/build_paths.h"
#include "tests/win32/support/process_win32.h"
#include "tests/win32/support/program_directory_win32.h"
#include "tools/ui_driver/ui_automation_win32.h"

namespace velmo::test {

inline constexpr const char* update_window_title = "UpDate-Velmo";
inline constexpr const char* sample_key = "c47e0f9a2d51b6e8f03a7c95d2e4b1f6";
inline constexpr unsigned long start_timeout_ms = 20000;

class UpdaterDirectory : public ProgramDirectory {
 public:
  explicit UpdaterDirectory(const std::string& hint = "updater") : ProgramDirectory(hint) {
    add_copy(VELMO_UPDATE_EXE, "UpDate.exe");
  }
  void write_config(const std::string& main_program_name) const {
    write_file("Config.ini", "[SoftName]\r\nName=" + main_program_name + "\r\n");
  }
  ChildProcess start_updater(const std::string& arguments = sample_key) const {
    return ChildProcess::start(file("UpDate.exe"), arguments);
  }
  // A stand-in main program copied here under `name` and started.
  ChildProcess start_main_program(const std::string& name = "Velmo.exe") const {
    add_copy(std::string(VELMO_STANDIN_DIR) + "\\Velmo.exe", name);
    return ChildProcess::start(file(name));
  }
};

// The update window of `updater`, once it is shown.
inline HWND wait_for_update_window(const ChildProcess& updater) {
  return ui::wait_for_top_window(update_window_title, updater.id(), start_timeout_ms);
}

}  // namespace velmo::test
