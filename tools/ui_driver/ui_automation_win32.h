#pragma once
// Driving another process's windows as a user would: find windows by title,
// read captions and states, click buttons, answer message boxes, read list
// rows and the progress bar. Used by the Windows tests and the UI driver.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace velmo::ui {

// Polls `condition` every 20 ms until it holds or `timeout_ms` has passed.
bool wait_until(const std::function<bool()>& condition, DWORD timeout_ms);

// Top-level windows titled `title` (GBK), of process `process_id` unless it is 0.
std::vector<HWND> top_windows(const std::string& title, std::uint32_t process_id = 0);
HWND wait_for_top_window(const std::string& title, std::uint32_t process_id, DWORD timeout_ms);

// The child window of `parent` of the given class whose caption is
// `caption` (any caption when empty); the index-th of several.
HWND find_child(HWND parent, const std::string& class_name, const std::string& caption = "",
                int index = 0);

std::string window_text(HWND window);
bool is_visible(HWND window);
bool is_enabled(HWND window);
std::uint32_t window_process(HWND window);

// Posts a click, so that a handler that opens a modal box does not block us.
void click(HWND button);

// The message boxes titled "温馨提示" of a process.
inline constexpr const char* message_box_title = "温馨提示";
HWND wait_for_message_box(std::uint32_t process_id, DWORD timeout_ms);
std::string message_box_text(HWND box);
// Presses the box's button (IDOK, IDYES, IDNO); true when the box closed.
bool answer_message_box(HWND box, int button_id, DWORD timeout_ms = 5000);

// List view rows of another process.
struct ListRow {
  std::vector<std::string> cells;
  int image = -1;
};
int list_row_count(HWND list);
std::vector<ListRow> list_rows(HWND list, int columns);
struct ListColumn {
  std::string header;
  int width = 0;
};
std::vector<ListColumn> list_columns(HWND list, int columns);

int progress_position(HWND progress);

}  // namespace velmo::ui
