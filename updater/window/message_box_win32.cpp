#include "updater/window/message_box_win32.h"

#include <windows.h>

#include "updater/window/update_window_win32.h"
#include "util/wide_text_win32.h"

namespace velmo {

void show_message(const std::string& text) {
  MessageBoxW(update_window().handle(), gbk_to_wstring(text).c_str(),
              gbk_to_wstring("温馨提示").c_str(), MB_OK);
}

}  // namespace velmo
