// The update window of the real program: its controls as they stand after
// the first activation, and the staging directory it prepares.
#include <gtest/gtest.h>

#include "tests/win32/support/updater_fixture_win32.h"
// after windows.h
#include <commctrl.h>

namespace velmo::test {
namespace {

std::string staging_directory() {
  char buffer[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathA(sizeof buffer, buffer);
  return std::string(buffer, length) + "Update";
}

RECT client_place(HWND parent, HWND child) {
  RECT place;
  GetWindowRect(child, &place);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
  return place;
}

class UpdateWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryA(staging_directory().c_str(), nullptr);
    leftover_ = staging_directory() + "\\left-from-earlier.dll";
    ASSERT_TRUE(write_whole_file(leftover_, "old bytes"));
    updater_ = dir_.start_updater();
    window_ = wait_for_update_window(updater_);
    ASSERT_TRUE(window_);
    update_button_ = ui::find_child(window_, "Button", "立即更新");
    notes_button_ = ui::find_child(window_, "Button", "查看新版本内容");
    edit_ = ui::find_child(window_, "Edit");
    list_ = ui::find_child(window_, "SysListView32");
    progress_ = ui::find_child(window_, "msctls_progress32");
    ASSERT_TRUE(update_button_ && notes_button_ && edit_ && list_ && progress_);
    // The first activation hides the edit box; wait for it.
    ASSERT_TRUE(ui::wait_until([&] { return !ui::is_visible(edit_); }, start_timeout_ms));
  }
  void TearDown() override {
    if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
    updater_.wait_for_exit(start_timeout_ms);
    DeleteFileA(leftover_.c_str());
  }

  UpdaterDirectory dir_;
  ChildProcess updater_;
  std::string leftover_;
  HWND window_ = nullptr, update_button_ = nullptr, notes_button_ = nullptr;
  HWND edit_ = nullptr, list_ = nullptr, progress_ = nullptr;
};

TEST_F(UpdateWindowTest, FirstActivationLeavesTheListAndADisabledUpdateButton) {
  EXPECT_FALSE(ui::is_enabled(update_button_));
  EXPECT_TRUE(ui::is_enabled(notes_button_));
  EXPECT_TRUE(ui::is_visible(list_));
  EXPECT_FALSE(ui::is_visible(edit_));
  EXPECT_EQ(ui::list_row_count(list_), 0);
  EXPECT_EQ(ui::progress_position(progress_), 0);
  EXPECT_EQ(ui::window_text(edit_), "");
}

TEST_F(UpdateWindowTest, StagingDirectoryExistsAndKeepsEarlierFiles) {
  EXPECT_TRUE(GetFileAttributesA(staging_directory().c_str()) & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(read_whole_file(leftover_), "old bytes");
}

TEST_F(UpdateWindowTest, HasItsSizeAndControlPlaces) {
  RECT frame;
  GetWindowRect(window_, &frame);
  EXPECT_EQ(frame.right - frame.left, 570);
  EXPECT_EQ(frame.bottom - frame.top, 460);
  struct Expected {
    HWND control;
    RECT place;
  };
  const Expected expected[] = {
      {progress_, {1, 86, 561, 110}},        {update_button_, {288, 122, 424, 162}},
      {notes_button_, {136, 122, 272, 162}}, {edit_, {8, 162, 554, 419}},
      {list_, {8, 162, 554, 419}},
  };
  for (const Expected& e : expected) {
    const RECT place = client_place(window_, e.control);
    EXPECT_EQ(place.left, e.place.left) << ui::window_text(e.control);
    EXPECT_EQ(place.top, e.place.top) << ui::window_text(e.control);
    EXPECT_EQ(place.right, e.place.right) << ui::window_text(e.control);
    EXPECT_EQ(place.bottom, e.place.bottom) << ui::window_text(e.control);
  }
  HWND picture = ui::find_child(window_, "Static");
  ASSERT_TRUE(picture);
  const RECT banner = client_place(window_, picture);
  EXPECT_EQ(banner.left, 2);
  EXPECT_EQ(banner.top, 3);
  EXPECT_EQ(banner.right - banner.left, 558);
  EXPECT_EQ(banner.bottom - banner.top, 80);
}

TEST_F(UpdateWindowTest, ListHasThreeColumnsTheLastHidden) {
  const std::vector<ui::ListColumn> columns = ui::list_columns(list_, 3);
  ASSERT_EQ(columns.size(), 3u);
  EXPECT_EQ(columns[0].header, "更新列表");
  EXPECT_EQ(columns[0].width, 310);
  EXPECT_EQ(columns[1].header, "文件MD5");
  EXPECT_EQ(columns[1].width, 230);
  EXPECT_EQ(columns[2].header, "文件直链");
  EXPECT_EQ(columns[2].width, 0);
  const LONG_PTR style = GetWindowLongPtrW(list_, GWL_STYLE);
  EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
}

TEST_F(UpdateWindowTest, EditBoxIsAReadOnlyMultiLineBoxWithScrollBar) {
  const LONG_PTR style = GetWindowLongPtrW(edit_, GWL_STYLE);
  EXPECT_TRUE(style & ES_MULTILINE);
  EXPECT_TRUE(style & ES_READONLY);
  EXPECT_TRUE(style & WS_VSCROLL);
  for (HWND control : {update_button_, notes_button_, edit_, list_}) {
    EXPECT_TRUE(GetWindowLongPtrW(control, GWL_STYLE) & WS_TABSTOP);
  }
  EXPECT_FALSE(GetWindowLongPtrW(progress_, GWL_STYLE) & WS_TABSTOP);
}

TEST_F(UpdateWindowTest, ActivatingAgainChangesNothing) {
  UpdaterDirectory other("other");
  ChildProcess bystander = other.start_main_program();
  HWND bystander_window = ui::wait_for_top_window("Velmo 1", bystander.id(), start_timeout_ms);
  ASSERT_TRUE(bystander_window);
  SetForegroundWindow(bystander_window);
  ASSERT_TRUE(ui::wait_until([&] { return GetForegroundWindow() == bystander_window; }, 5000));
  SetForegroundWindow(window_);
  ASSERT_TRUE(ui::wait_until([&] { return GetForegroundWindow() == window_; }, 5000));
  EXPECT_FALSE(ui::is_visible(edit_));
  EXPECT_FALSE(ui::is_enabled(update_button_));
  EXPECT_TRUE(ui::is_visible(list_));
}

}  // namespace
}  // namespace velmo::test
