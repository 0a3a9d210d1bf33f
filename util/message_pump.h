#pragma once
// Lets long portable work keep a window responsive without knowing about
// windows: the work calls pump_messages() now and then, and the Win32 layer
// installs a pump that processes the calling thread's pending window
// messages (util/message_pump_win32.h). Until then it does nothing.
namespace velmo {

using MessagePump = void (*)();

// Installs `pump` for every thread; nullptr restores the default, which does
// nothing. Install it before starting threads that may call pump_messages().
void set_message_pump(MessagePump pump);

void pump_messages();

}  // namespace velmo
