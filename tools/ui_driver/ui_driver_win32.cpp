// ui-driver: drives the updater's window from scripts, as a user would.
// Each command prints what it saw in plain lines; a time-out exits with 1,
// bad usage with 2.
//   ui-driver wait-window TITLE [TIMEOUT_MS]    waits until a window so titled exists
//   ui-driver close-window TITLE [TIMEOUT_MS]   closes it and waits until it is gone
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/ui_driver/ui_automation_win32.h"

namespace {

DWORD timeout_argument(const std::vector<std::string>& args, size_t index) {
  return index < args.size() ? static_cast<DWORD>(std::strtoul(args[index].c_str(), nullptr, 10))
                             : 20000;
}

int wait_window(const std::vector<std::string>& args) {
  HWND window = velmo::ui::wait_for_top_window(args[1], 0, timeout_argument(args, 2));
  if (!window) {
    std::printf("timeout: no window \"%s\"\n", args[1].c_str());
    return 1;
  }
  std::printf("window \"%s\" process %u\n", args[1].c_str(), velmo::ui::window_process(window));
  return 0;
}

int close_window(const std::vector<std::string>& args) {
  HWND window = velmo::ui::wait_for_top_window(args[1], 0, timeout_argument(args, 2));
  if (!window) {
    std::printf("timeout: no window \"%s\"\n", args[1].c_str());
    return 1;
  }
  PostMessageW(window, WM_CLOSE, 0, 0);
  if (!velmo::ui::wait_until([&] { return !IsWindow(window); }, timeout_argument(args, 2))) {
    std::printf("timeout: window \"%s\" still open\n", args[1].c_str());
    return 1;
  }
  std::printf("closed \"%s\"\n", args[1].c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() >= 2 && args[0] == "wait-window") return wait_window(args);
  if (args.size() >= 2 && args[0] == "close-window") return close_window(args);
  std::fprintf(stderr, "usage: ui-driver wait-window|close-window TITLE [TIMEOUT_MS]\n");
  return 2;
}
