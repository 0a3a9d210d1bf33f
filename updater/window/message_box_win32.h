#pragma once
#include <string>

namespace velmo {

// A message box titled "温馨提示" with one OK button and no icon, owned by the
// update window. Callable from any thread; returns when the user closed it.
void show_message(const std::string& text);

}  // namespace velmo
