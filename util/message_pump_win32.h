#pragma once
// The Win32 message pump for util/message_pump.h.
namespace velmo {

// Processes the calling thread's pending window messages and returns when
// there are none left. A WM_QUIT that it meets is posted again, so that the
// thread's own message loop still ends.
void process_pending_messages();

// set_message_pump(process_pending_messages); the window calls it at start-up.
void install_window_message_pump();

}  // namespace velmo
