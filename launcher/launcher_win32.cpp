// launcher: records the main program in Config.ini beside itself, starts
// UpDate with the access key and ends. It has no window and reports nothing.
#include <windows.h>
// windows.h first
#include <shellapi.h>

#include <string>

#include "util/module_path_win32.h"

namespace {

constexpr char main_program_file_name[] = "Velmo.exe";
constexpr char access_key[] = "c47e0f9a2d51b6e8f03a7c95d2e4b1f6";

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::string directory = velmo::run_directory();
  const std::string settings = directory + "\\Config.ini";
  WritePrivateProfileStringA("SoftName", "Name", main_program_file_name, settings.c_str());
  const std::string updater = directory + "\\UpDate.exe";
  ShellExecuteA(nullptr, nullptr, updater.c_str(), access_key, "", SW_SHOWNORMAL);
  return 0;
}
