#include "updater/window/directories_win32.h"

#include <windows.h>
// windows.h first
#include <dbghelp.h>
#include <shlwapi.h>

namespace velmo {

std::string temp_directory() {
  char buffer[255] = {};
  const DWORD length = GetTempPathA(sizeof buffer, buffer);
  if (length == 0 || length >= sizeof buffer) return {};
  return std::string(buffer, length);
}

bool is_directory(const std::string& path) { return PathIsDirectoryA(path.c_str()) != FALSE; }

bool make_directory_path(std::string path) {
  if (path.empty() || path.back() != '\\') path += '\\';
  return MakeSureDirectoryPathExists(path.c_str()) != FALSE;
}

}  // namespace velmo
