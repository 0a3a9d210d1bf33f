#include "tools/ui_driver/ui_automation_win32.h"

#include <commctrl.h>

#include "util/wide_text_win32.h"

namespace velmo::ui {
namespace {

constexpr UINT send_timeout_ms = 5000;

LRESULT send(HWND window, UINT message, WPARAM w, LPARAM l) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, w, l, SMTO_ABORTIFHUNG, send_timeout_ms, &result)) {
    return 0;
  }
  return static_cast<LRESULT>(result);
}

std::string class_of(HWND window) {
  wchar_t name[256] = {};
  const int length = GetClassNameW(window, name, 256);
  return wstring_to_gbk(std::wstring(name, static_cast<size_t>(length)));
}

// Memory in another process, for the list view messages that carry pointers.
class RemoteBuffer {
 public:
  RemoteBuffer(HWND owner, size_t size) : size_(size) {
    DWORD process_id = 0;
    GetWindowThreadProcessId(owner, &process_id);
    process_ =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process_id);
    if (process_) {
      address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
  }
  ~RemoteBuffer() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  bool ok() const { return address_ != nullptr; }
  char* at(size_t offset) const { return static_cast<char*>(address_) + offset; }
  bool write(size_t offset, const void* data, size_t size) const {
    return offset + size <= size_ &&
           WriteProcessMemory(process_, at(offset), data, size, nullptr) != FALSE;
  }
  bool read(size_t offset, void* data, size_t size) const {
    return offset + size <= size_ &&
           ReadProcessMemory(process_, at(offset), data, size, nullptr) != FALSE;
  }

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
  size_t size_;
};

constexpr size_t text_room = 4096;

std::string list_cell(HWND list, const RemoteBuffer& remote, int row, int column, int* image) {
  LVITEMA item{};
  item.mask = LVIF_TEXT | (image ? LVIF_IMAGE : 0);
  item.iItem = row;
  item.iSubItem = column;
  item.pszText = remote.at(sizeof item);
  item.cchTextMax = static_cast<int>(text_room);
  if (!remote.write(0, &item, sizeof item)) return {};
  send(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote.at(0)));
  std::string text(text_room, '\0');
  remote.read(0, &item, sizeof item);
  remote.read(sizeof item, text.data(), text_room);
  if (image) *image = item.iImage;
  return text.substr(0, text.find('\0'));
}

}  // namespace

bool wait_until(const std::function<bool()>& condition, DWORD timeout_ms) {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(20);
  }
}

namespace {

struct WindowSearch {
  std::string title;
  std::uint32_t process_id;
  std::vector<HWND> found;
};

// A named callback: a lambda does not convert to the stdcall pointer on i686.
BOOL CALLBACK collect_matching_window(HWND window, LPARAM l) {
  auto* search = reinterpret_cast<WindowSearch*>(l);
  if (search->process_id != 0 && window_process(window) != search->process_id) return TRUE;
  if (window_text(window) == search->title) search->found.push_back(window);
  return TRUE;
}

}  // namespace

std::vector<HWND> top_windows(const std::string& title, std::uint32_t process_id) {
  WindowSearch search{title, process_id, {}};
  EnumWindows(collect_matching_window, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND wait_for_top_window(const std::string& title, std::uint32_t process_id, DWORD timeout_ms) {
  HWND found = nullptr;
  wait_until(
      [&] {
        const std::vector<HWND> windows = top_windows(title, process_id);
        found = windows.empty() ? nullptr : windows.front();
        return found != nullptr;
      },
      timeout_ms);
  return found;
}

HWND find_child(HWND parent, const std::string& class_name, const std::string& caption, int index) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (_stricmp(class_of(child).c_str(), class_name.c_str()) != 0) continue;
    if (!caption.empty() && window_text(child) != caption) continue;
    if (index-- == 0) return child;
  }
  return nullptr;
}

std::string window_text(HWND window) {
  const auto length = static_cast<int>(send(window, WM_GETTEXTLENGTH, 0, 0));
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const auto copied = static_cast<int>(
      send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return wstring_to_gbk(text);
}

bool is_visible(HWND window) { return IsWindowVisible(window) != FALSE; }
bool is_enabled(HWND window) { return IsWindowEnabled(window) != FALSE; }

std::uint32_t window_process(HWND window) {
  DWORD process_id = 0;
  GetWindowThreadProcessId(window, &process_id);
  return process_id;
}

void click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

HWND wait_for_message_box(std::uint32_t process_id, DWORD timeout_ms) {
  HWND found = nullptr;
  wait_until(
      [&] {
        for (HWND window : top_windows(message_box_title, process_id)) {
          if (class_of(window) == "#32770" && is_visible(window)) {
            found = window;
            return true;
          }
        }
        return false;
      },
      timeout_ms);
  return found;
}

std::string message_box_text(HWND box) { return window_text(GetDlgItem(box, 0xFFFF)); }

bool answer_message_box(HWND box, int button_id, DWORD timeout_ms) {
  HWND button = GetDlgItem(box, button_id);
  if (!button) return false;
  click(button);
  return wait_until([&] { return !IsWindow(box) || !is_visible(box); }, timeout_ms);
}

int list_row_count(HWND list) { return static_cast<int>(send(list, LVM_GETITEMCOUNT, 0, 0)); }

std::vector<ListRow> list_rows(HWND list, int columns) {
  std::vector<ListRow> rows;
  RemoteBuffer remote(list, sizeof(LVITEMA) + text_room);
  if (!remote.ok()) return rows;
  const int count = list_row_count(list);
  for (int row = 0; row < count; ++row) {
    ListRow read;
    for (int column = 0; column < columns; ++column) {
      read.cells.push_back(
          list_cell(list, remote, row, column, column == 0 ? &read.image : nullptr));
    }
    rows.push_back(std::move(read));
  }
  return rows;
}

std::vector<ListColumn> list_columns(HWND list, int columns) {
  std::vector<ListColumn> result;
  RemoteBuffer remote(list, sizeof(LVCOLUMNA) + text_room);
  if (!remote.ok()) return result;
  for (int index = 0; index < columns; ++index) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = remote.at(sizeof column);
    column.cchTextMax = static_cast<int>(text_room);
    remote.write(0, &column, sizeof column);
    if (!send(list, LVM_GETCOLUMNA, static_cast<WPARAM>(index),
              reinterpret_cast<LPARAM>(remote.at(0)))) {
      break;
    }
    std::string text(text_room, '\0');
    remote.read(0, &column, sizeof column);
    remote.read(sizeof column, text.data(), text_room);
    result.push_back({text.substr(0, text.find('\0')), column.cx});
  }
  return result;
}

int progress_position(HWND progress) { return static_cast<int>(send(progress, PBM_GETPOS, 0, 0)); }

}  // namespace velmo::ui
