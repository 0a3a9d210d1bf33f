#include "net/thread_end_probe_win32.h"

#include <windows.h>

#include <memory>

#include "util/win32_handle.h"

namespace velmo {

TransferEndedProbe calling_thread_end_probe() {
  auto thread = std::make_shared<UniqueHandle>(
      OpenThread(SYNCHRONIZE | THREAD_QUERY_LIMITED_INFORMATION, FALSE, GetCurrentThreadId()));
  if (!*thread) return nullptr;
  return [thread] { return WaitForSingleObject(thread->get(), 0) == WAIT_OBJECT_0; };
}

}  // namespace velmo
