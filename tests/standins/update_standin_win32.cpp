// Stand-in for UpDate.exe in the launcher's tests: records its command line
// in standin-command-line.txt beside itself and ends.
#include <windows.h>

#include <cstdio>
#include <string>

#include "util/module_path_win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::string record = velmo::run_directory() + "\\standin-command-line.txt";
  FILE* file = std::fopen(record.c_str(), "wb");
  if (!file) return 1;
  const char* line = GetCommandLineA();
  std::fwrite(line, 1, std::char_traits<char>::length(line), file);
  std::fclose(file);
  return 0;
}
