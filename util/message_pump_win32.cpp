#include "util/message_pump_win32.h"

#include <windows.h>

#include "util/message_pump.h"

namespace velmo {

void process_pending_messages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void install_window_message_pump() { set_message_pump(process_pending_messages); }

}  // namespace velmo
