#pragma once
// The rows of the update list 超级_显示: column 0 the path, column 1 the
// digest the file must have, column 2 (hidden) its download address.
#include <windows.h>

#include <string>

namespace velmo {

enum UpdateListColumn : int { column_path = 0, column_md5 = 1, column_url = 2 };

// Appends a row with image 0 (waiting) and returns its index, -1 on failure.
int append_update_row(HWND list, const std::string& path, const std::string& md5,
                      const std::string& url);
int update_row_count(HWND list);
std::string update_row_text(HWND list, int row, int column);
void set_update_row_image(HWND list, int row, int image);

}  // namespace velmo
