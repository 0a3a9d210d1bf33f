// The real launcher.exe beside a stand-in UpDate.exe that records how it was started.
#include <gtest/gtest.h>

#include "tests/win32/support/build_paths.h"
#include "tests/win32/support/process_win32.h"
#include "tests/win32/support/program_directory_win32.h"
#include "tools/ui_driver/ui_automation_win32.h"
#include "updater/startup/command_line.h"

namespace velmo::test {
namespace {

constexpr char expected_key[] = "c47e0f9a2d51b6e8f03a7c95d2e4b1f6";
constexpr unsigned long timeout_ms = 20000;

std::string profile_value(const std::string& path, const char* section, const char* key) {
  char buffer[256] = {};
  const DWORD length =
      GetPrivateProfileStringA(section, key, "", buffer, sizeof buffer, path.c_str());
  return std::string(buffer, length);
}

class LauncherTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.add_copy(VELMO_LAUNCHER_EXE, "launcher.exe")); }
  void run_launcher() {
    ChildProcess launcher = ChildProcess::start(dir_.file("launcher.exe"));
    ASSERT_TRUE(launcher.started());
    ASSERT_TRUE(launcher.wait_for_exit(timeout_ms));
    EXPECT_EQ(launcher.exit_code(), 0u);
  }
  // The command line the stand-in recorded, once it has written it.
  std::string recorded_command_line() {
    const std::string record = dir_.file("standin-command-line.txt");
    ui::wait_until([&] { return !read_whole_file(record).empty(); }, timeout_ms);
    return read_whole_file(record);
  }

  ProgramDirectory dir_{"launcher"};
};

TEST_F(LauncherTest, CreatesConfigAndStartsTheUpdaterWithTheKey) {
  ASSERT_TRUE(dir_.add_copy(std::string(VELMO_STANDIN_DIR) + "\\UpDate.exe", "UpDate.exe"));
  run_launcher();
  const std::string config = dir_.file("Config.ini");
  EXPECT_EQ(profile_value(config, "SoftName", "Name"), "Velmo.exe");
  const std::string text = read_whole_file(config);
  EXPECT_NE(text.find("[SoftName]"), std::string::npos) << text;
  EXPECT_EQ(text.find("[SoftName]"), text.rfind("["));  // the one section
  EXPECT_EQ(split_command_line(recorded_command_line()), std::vector<std::string>{expected_key});
}

TEST_F(LauncherTest, OverwritesAnotherNameAndKeepsOtherKeys) {
  ASSERT_TRUE(dir_.add_copy(std::string(VELMO_STANDIN_DIR) + "\\UpDate.exe", "UpDate.exe"));
  ASSERT_TRUE(dir_.write_file(
      "Config.ini", "[SoftName]\r\nName=Other.exe\r\nChannel=beta\r\n[Extra]\r\nA=1\r\n"));
  run_launcher();
  const std::string config = dir_.file("Config.ini");
  EXPECT_EQ(profile_value(config, "SoftName", "Name"), "Velmo.exe");
  EXPECT_EQ(profile_value(config, "SoftName", "Channel"), "beta");
  EXPECT_EQ(profile_value(config, "Extra", "A"), "1");
  EXPECT_FALSE(recorded_command_line().empty());
}

TEST_F(LauncherTest, WithoutTheUpdaterEndsWithZeroAndShowsNothing) {
  run_launcher();
  EXPECT_EQ(profile_value(dir_.file("Config.ini"), "SoftName", "Name"), "Velmo.exe");
  EXPECT_FALSE(file_exists(dir_.file("standin-command-line.txt")));
}

}  // namespace
}  // namespace velmo::test
