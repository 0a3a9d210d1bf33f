// Entry of UpDate: start-up, then the window's message loop.
#include <windows.h>

#include "updater/startup/startup_win32.h"
#include "updater/window/update_window_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (!velmo::run_startup(instance)) return 0;
  return velmo::update_window().run_message_loop();
}
