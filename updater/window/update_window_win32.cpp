#include "updater/window/update_window_win32.h"

#include "updater/check/update_check_job_win32.h"
#include "updater/run/update_run_win32.h"
#include "updater/startup/process_state.h"
#include "updater/window/directories_win32.h"
#include "updater/window/release_notes_view_win32.h"
#include "updater/window/resource_ids.h"
#include "updater/window/row_images_win32.h"
#include "util/message_pump_win32.h"
#include "util/module_path_win32.h"
#include "util/wide_text_win32.h"

namespace velmo {
namespace {

constexpr wchar_t window_class_name[] = L"VelmoUpdateWindow";
constexpr int window_width = 570;  // frame and title bar included
constexpr int window_height = 460;

enum ControlId : int {
  id_picture_box = 1001,
  id_progress_bar,
  id_update_button,
  id_notes_button,
  id_notes_edit,
  id_list_view,
};

struct ControlPlace {
  int left, top, width, height;
};
constexpr ControlPlace picture_box_place{2, 3, 558, 80};
constexpr ControlPlace progress_bar_place{1, 86, 560, 24};
constexpr ControlPlace update_button_place{288, 122, 136, 40};
constexpr ControlPlace notes_button_place{136, 122, 136, 40};
constexpr ControlPlace lower_area_place{8, 162, 546, 257};  // edit box and list view

struct ListColumn {
  const char* header;
  int width;
};
constexpr ListColumn list_columns[] = {{"更新列表", 310}, {"文件MD5", 230}, {"文件直链", 0}};

DWORD WINAPI update_check_thread(void*) {
  run_update_check();
  return 0;
}

HFONT create_list_font() {
  return CreateFontW(14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, gbk_to_wstring("宋体").c_str());
}

HFONT create_control_font() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    return nullptr;
  }
  return CreateFontIndirectW(&metrics.lfMessageFont);
}

}  // namespace

UpdateWindow& update_window() {
  static UpdateWindow window;
  return window;
}

bool UpdateWindow::create(HINSTANCE instance) {
  instance_ = instance;
  install_window_message_pump();  // long portable work keeps the window responsive
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);

  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = &UpdateWindow::procedure;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = window_class_name;
  RegisterClassExW(&window_class);

  const int left = (GetSystemMetrics(SM_CXSCREEN) - window_width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - window_height) / 2;
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  window_ = CreateWindowExW(WS_EX_CONTROLPARENT, window_class_name, L"UpDate-Velmo", style,
                            left > 0 ? left : 0, top > 0 ? top : 0, window_width, window_height,
                            nullptr, nullptr, instance, this);
  if (!window_) return false;
  ShowWindow(window_, SW_SHOWNORMAL);
  ::UpdateWindow(window_);
  return true;
}

int UpdateWindow::run_message_loop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (window_ && IsDialogMessageW(window_, &message)) continue;  // Tab moves the focus
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

LRESULT CALLBACK UpdateWindow::procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<UpdateWindow*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<UpdateWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, w, l);
  return self->handle_message(message, w, l);
}

LRESULT UpdateWindow::handle_message(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_CREATE:
      create_controls();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(w) != WA_INACTIVE && !first_activation_done_) {
        first_activation_done_ = true;
        on_first_activated();
      }
      break;
    case WM_COMMAND:
      on_command(LOWORD(w), HIWORD(w));
      return 0;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(l);
      if (item->CtlID == id_picture_box) {
        banner_.paint(*item);
        return TRUE;
      }
      break;
    }
    case WM_CTLCOLORSTATIC:
      // The read-only edit box draws black on white, not on the dialog colour.
      if (reinterpret_cast<HWND>(l) == notes_edit_) {
        HDC dc = reinterpret_cast<HDC>(w);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
      }
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, w, l);
}

void UpdateWindow::create_controls() {
  control_font_.reset(create_control_font());
  list_font_.reset(create_list_font());
  banner_.load(instance_, VELMO_BANNER_PNG, GetSysColor(COLOR_BTNFACE));

  auto make = [this](DWORD ex_style, const wchar_t* window_class, const char* caption, DWORD style,
                     const ControlPlace& place, int id) {
    HWND control = CreateWindowExW(
        ex_style, window_class, gbk_to_wstring(caption).c_str(), WS_CHILD | WS_VISIBLE | style,
        place.left, place.top, place.width, place.height, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(control_font_.get()), FALSE);
    return control;
  };
  picture_box_ = make(0, L"STATIC", "", SS_OWNERDRAW, picture_box_place, id_picture_box);
  progress_bar_ = make(0, PROGRESS_CLASSW, "", 0, progress_bar_place, id_progress_bar);
  SendMessageW(progress_bar_, PBM_SETRANGE32, 0, 100);
  SendMessageW(progress_bar_, PBM_SETPOS, 0, 0);
  update_button_ = make(0, L"BUTTON", "立即更新", WS_TABSTOP | BS_PUSHBUTTON, update_button_place,
                        id_update_button);
  notes_button_ = make(0, L"BUTTON", "查看新版本内容", WS_TABSTOP | BS_PUSHBUTTON,
                       notes_button_place, id_notes_button);
  notes_edit_ = make(WS_EX_STATICEDGE, L"EDIT", "",
                     WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                     lower_area_place, id_notes_edit);
  list_view_ = make(WS_EX_CLIENTEDGE, WC_LISTVIEWW, "", WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS,
                    lower_area_place, id_list_view);
  SendMessageW(list_view_, WM_SETFONT, reinterpret_cast<WPARAM>(list_font_.get()), FALSE);
  row_images_ = create_row_images();
  SendMessageW(list_view_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(row_images_));
  create_list_columns();
}

void UpdateWindow::create_list_columns() {
  for (int index = 0; index < static_cast<int>(std::size(list_columns)); ++index) {
    std::wstring header = gbk_to_wstring(list_columns[index].header);
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = list_columns[index].width;
    column.pszText = header.data();
    column.iSubItem = index;
    SendMessageW(list_view_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&column));
  }
}

void UpdateWindow::on_first_activated() {
  ProcessState& state = process_state();
  state.staging_dir = temp_directory() + "Update\\";
  if (!is_directory(state.staging_dir)) make_directory_path(state.staging_dir);
  state.install_dir = run_directory() + "\\";
  ShowWindow(notes_edit_, SW_HIDE);
  EnableWindow(update_button_, FALSE);
  if (HANDLE thread = CreateThread(nullptr, 0, update_check_thread, nullptr, 0, nullptr)) {
    CloseHandle(thread);  // the check runs on by itself; nobody waits for it
  }
}

void UpdateWindow::on_command(int control_id, int notification) {
  if (notification != BN_CLICKED) return;
  if (control_id == id_notes_button) on_notes_button_clicked();
  if (control_id == id_update_button) on_update_button_clicked();
}

}  // namespace velmo
