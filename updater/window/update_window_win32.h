#pragma once
// UpdateWindow, the updater's only window. It owns its controls; the other
// subsystems reach them through the accessors below.
#include <windows.h>
// windows.h first
#include <commctrl.h>

#include "updater/window/banner_win32.h"
#include "util/win32_handle.h"

namespace velmo {

class UpdateWindow {
 public:
  UpdateWindow() = default;
  UpdateWindow(const UpdateWindow&) = delete;
  UpdateWindow& operator=(const UpdateWindow&) = delete;

  // Creates and shows the window with all its controls.
  bool create(HINSTANCE instance);
  // Runs the message loop until the window is closed; returns the exit code.
  int run_message_loop();

  HWND handle() const { return window_; }
  HWND progress_bar() const { return progress_bar_; }    // 进度_显示副
  HWND update_button() const { return update_button_; }  // 按钮_更新
  HWND notes_button() const { return notes_button_; }    // 按钮_查看
  HWND notes_edit() const { return notes_edit_; }        // 编辑框_新版本
  HWND list_view() const { return list_view_; }          // 超级_显示

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l);
  LRESULT handle_message(UINT message, WPARAM w, LPARAM l);
  void create_controls();
  void create_list_columns();
  void on_first_activated();
  void on_command(int control_id, int notification);

  HINSTANCE instance_ = nullptr;
  HWND window_ = nullptr;
  HWND picture_box_ = nullptr;  // 图片框1
  HWND progress_bar_ = nullptr;
  HWND update_button_ = nullptr;
  HWND notes_button_ = nullptr;
  HWND notes_edit_ = nullptr;
  HWND list_view_ = nullptr;
  HIMAGELIST row_images_ = nullptr;
  UniqueFont control_font_;
  UniqueFont list_font_;
  Banner banner_;
  bool first_activation_done_ = false;
};

// The process's one update window.
UpdateWindow& update_window();

}  // namespace velmo
