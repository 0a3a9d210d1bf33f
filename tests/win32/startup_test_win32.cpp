// The updater's start-up with the real program: the single-instance guard,
// the access key, Config.ini and the termination of the main program.
#include <gtest/gtest.h>

#include "tests/win32/support/updater_fixture_win32.h"

namespace velmo::test {
namespace {

constexpr char event_name[] = "g5s2g54s2j";

bool event_exists() {
  HANDLE event = OpenEventA(EVENT_ALL_ACCESS, FALSE, event_name);
  if (!event) return false;
  CloseHandle(event);
  return true;
}

void close_window_and_wait(const ChildProcess& updater, HWND window) {
  PostMessageW(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(updater.wait_for_exit(start_timeout_ms));
}

TEST(Startup, WithoutArgumentEndsSilentlyAndTerminatesNothing) {
  UpdaterDirectory dir;
  dir.write_config("Velmo.exe");
  ChildProcess main_program = dir.start_main_program();
  ASSERT_TRUE(ui::wait_for_top_window("Velmo 1", main_program.id(), start_timeout_ms));
  ChildProcess updater = dir.start_updater("");
  ASSERT_TRUE(updater.wait_for_exit(start_timeout_ms));
  EXPECT_TRUE(ui::top_windows(update_window_title, updater.id()).empty());
  EXPECT_TRUE(main_program.running());
  EXPECT_FALSE(event_exists());
}

TEST(Startup, EventLivesExactlyAsLongAsTheFirstCopy) {
  UpdaterDirectory dir;
  ASSERT_FALSE(event_exists());
  ChildProcess first = dir.start_updater();
  HWND window = wait_for_update_window(first);
  ASSERT_TRUE(window);
  EXPECT_TRUE(event_exists());
  close_window_and_wait(first, window);
  EXPECT_FALSE(event_exists());

  ChildProcess killed = dir.start_updater();
  ASSERT_TRUE(wait_for_update_window(killed));
  EXPECT_TRUE(event_exists());
  TerminateProcess(killed.handle(), 9);
  ASSERT_TRUE(killed.wait_for_exit(start_timeout_ms));
  EXPECT_TRUE(ui::wait_until([] { return !event_exists(); }, 5000));
}

TEST(Startup, SecondCopyEndsWithoutWindowAndLeavesTheFirstAlone) {
  UpdaterDirectory dir;
  ChildProcess first = dir.start_updater();
  HWND window = wait_for_update_window(first);
  ASSERT_TRUE(window);
  // Something else in front, to see that the second copy does not raise the first.
  UpdaterDirectory other("other");
  ChildProcess bystander = other.start_main_program();
  HWND bystander_window = ui::wait_for_top_window("Velmo 1", bystander.id(), start_timeout_ms);
  ASSERT_TRUE(bystander_window);
  SetForegroundWindow(bystander_window);
  ASSERT_TRUE(ui::wait_until([&] { return GetForegroundWindow() == bystander_window; }, 5000));

  for (const char* arguments : {sample_key, ""}) {
    ChildProcess second = dir.start_updater(arguments);
    ASSERT_TRUE(second.wait_for_exit(start_timeout_ms)) << "arguments: " << arguments;
    EXPECT_TRUE(ui::top_windows(update_window_title, second.id()).empty());
    EXPECT_TRUE(ui::top_windows(ui::message_box_title, second.id()).empty());
  }
  EXPECT_EQ(ui::top_windows(update_window_title).size(), 1u);
  EXPECT_EQ(GetForegroundWindow(), bystander_window);
  EXPECT_TRUE(first.running());
  close_window_and_wait(first, window);
}

TEST(Startup, WithoutConfigOpensTheWindowAndTerminatesNothing) {
  UpdaterDirectory dir;
  ChildProcess main_program = dir.start_main_program();
  ASSERT_TRUE(ui::wait_for_top_window("Velmo 1", main_program.id(), start_timeout_ms));
  ChildProcess updater = dir.start_updater();
  HWND window = wait_for_update_window(updater);
  ASSERT_TRUE(window);
  EXPECT_TRUE(main_program.running());
  close_window_and_wait(updater, window);
}

struct TerminationCase {
  const char* config_name;
  bool terminated;
};

class MainProgramTermination : public testing::TestWithParam<TerminationCase> {};

TEST_P(MainProgramTermination, EndsEveryCopyOfTheNamedProgramWherever) {
  UpdaterDirectory dir;
  UpdaterDirectory elsewhere("elsewhere");
  dir.write_config(GetParam().config_name);
  ChildProcess here = dir.start_main_program();
  ChildProcess twin = dir.start_main_program();
  ChildProcess distant = elsewhere.start_main_program();
  for (const ChildProcess* p : {&here, &twin, &distant}) {
    ASSERT_TRUE(ui::wait_for_top_window("Velmo 1", p->id(), start_timeout_ms));
  }
  ChildProcess updater = dir.start_updater();
  HWND window = wait_for_update_window(updater);
  ASSERT_TRUE(window);
  // The window opens only after the termination step, so a survivor has
  // been spared for good once the window is there.
  const DWORD wait_ms = GetParam().terminated ? start_timeout_ms : 500;
  for (const ChildProcess* p : {&here, &twin, &distant}) {
    EXPECT_EQ(p->wait_for_exit(wait_ms), GetParam().terminated)
        << "Name=" << GetParam().config_name;
  }
  close_window_and_wait(updater, window);
}

INSTANTIATE_TEST_SUITE_P(Names, MainProgramTermination,
                         testing::Values(TerminationCase{"Velmo.exe", true},
                                         TerminationCase{"VELMO.EXE", true},
                                         TerminationCase{"Velmo", false},
                                         TerminationCase{"", false}));

TEST(Startup, ConfigNamingTheUpdaterItselfEndsTheUpdater) {
  UpdaterDirectory dir;
  dir.write_config("update.EXE");
  ChildProcess updater = dir.start_updater();
  ASSERT_TRUE(updater.wait_for_exit(start_timeout_ms));
  EXPECT_EQ(updater.exit_code(), 0u);
  EXPECT_TRUE(ui::top_windows(update_window_title, updater.id()).empty());
}

TEST(Startup, TakesAKeyOfAnyBytesAndLength) {
  UpdaterDirectory dir;
  const std::string long_key(20000, 'k');
  for (const std::string& key : {long_key, std::string("\"\xb8\xfc \xd0\xc2 '<&>'\"")}) {
    ChildProcess updater = dir.start_updater(key);
    HWND window = wait_for_update_window(updater);
    ASSERT_TRUE(window);
    close_window_and_wait(updater, window);
  }
}

}  // namespace
}  // namespace velmo::test
