#include "util/message_pump.h"

#include <atomic>

namespace velmo {
namespace {

std::atomic<MessagePump> installed_pump{nullptr};

}  // namespace

void set_message_pump(MessagePump pump) { installed_pump.store(pump); }

void pump_messages() {
  if (const MessagePump pump = installed_pump.load()) pump();
}

}  // namespace velmo
