#include "updater/startup/config_ini_win32.h"

#include <windows.h>

#include <vector>

#include "util/module_path_win32.h"

namespace velmo {

std::string read_main_program_name() {
  const std::string path = run_directory() + "\\Config.ini";
  std::vector<char> buffer(10240, '\0');
  const DWORD length = GetPrivateProfileStringA("SoftName", "Name", "", buffer.data(),
                                                static_cast<DWORD>(buffer.size()), path.c_str());
  return std::string(buffer.data(), length);
}

}  // namespace velmo
