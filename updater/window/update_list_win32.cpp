#include "updater/window/update_list_win32.h"

#include <commctrl.h>

#include <vector>

#include "updater/window/row_images_win32.h"
#include "util/wide_text_win32.h"

namespace velmo {
namespace {

void set_cell(HWND list, int row, int column, const std::string& text) {
  std::wstring wide = gbk_to_wstring(text);
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = wide.data();
  SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

int append_update_row(HWND list, const std::string& path, const std::string& md5,
                      const std::string& url) {
  std::wstring wide_path = gbk_to_wstring(path);
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = update_row_count(list);
  item.pszText = wide_path.data();
  item.iImage = row_image_waiting;
  const auto row =
      static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  if (row < 0) return -1;
  set_cell(list, row, column_md5, md5);
  set_cell(list, row, column_url, url);
  return row;
}

int update_row_count(HWND list) {
  return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

std::string update_row_text(HWND list, int row, int column) {
  // LVM_GETITEMTEXT reports how much it copied, not how long the text is:
  // grow until the copy no longer fills the room.
  for (size_t room = 512;; room *= 4) {
    std::vector<wchar_t> buffer(room, L'\0');
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(room);
    const auto copied = static_cast<size_t>(SendMessageW(
        list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
    if (copied + 1 < room || room >= (size_t{1} << 24)) {
      return wstring_to_gbk(std::wstring(buffer.data(), copied));
    }
  }
}

void set_update_row_image(HWND list, int row, int image) {
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  item.iImage = image;
  SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

}  // namespace velmo
