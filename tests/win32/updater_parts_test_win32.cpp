// Win32 parts of the updater tested in-process: reading Config.ini beside
// the running program, and the row images.
#include <gtest/gtest.h>

#include "tests/win32/support/program_directory_win32.h"
#include "updater/startup/config_ini_win32.h"
#include "updater/window/row_images_win32.h"
#include "util/module_path_win32.h"

namespace velmo::test {
namespace {

class ConfigIni : public testing::Test {
 protected:
  void TearDown() override {
    DeleteFileA(path_.c_str());
    RemoveDirectoryA(path_.c_str());
  }
  const std::string path_ = run_directory() + "\\Config.ini";
};

struct ConfigCase {
  const char* label;
  std::string contents;
  std::string name;
};

TEST_F(ConfigIni, ReadsTheMainProgramName) {
  const ConfigCase cases[] = {
      {"plain", "[SoftName]\r\nName=Velmo.exe\r\n", "Velmo.exe"},
      {"blanks around", "[SoftName]\r\nName = Velmo.exe \r\n", "Velmo.exe"},
      {"other keys", "[A]\r\nName=x\r\n[SoftName]\r\nOther=1\r\nName=VELMO.EXE\r\n", "VELMO.EXE"},
      {"Chinese", "[SoftName]\r\nName=\xb8\xfc\xd0\xc2.exe\r\n", "\xb8\xfc\xd0\xc2.exe"},
      {"no section", "Name=Velmo.exe\r\n", ""},
      {"no key", "[SoftName]\r\nOther=Velmo.exe\r\n", ""},
      {"empty file", "", ""},
      {"garbage", std::string("\x00\xff\xfe[\x01=\n\n==[[]]\x7f", 16), ""},
  };
  for (const ConfigCase& c : cases) {
    ASSERT_TRUE(write_whole_file(path_, c.contents));
    EXPECT_EQ(read_main_program_name(), c.name) << c.label;
  }
}

TEST_F(ConfigIni, MissingOrUnreadableGivesAnEmptyName) {
  DeleteFileA(path_.c_str());
  EXPECT_EQ(read_main_program_name(), "");
  ASSERT_TRUE(CreateDirectoryA(path_.c_str(), nullptr));
  EXPECT_EQ(read_main_program_name(), "");
}

TEST_F(ConfigIni, LongValueIsCutToTheBuffer) {
  ASSERT_TRUE(write_whole_file(path_, "[SoftName]\r\nName=" + std::string(20000, 'v') + "\r\n"));
  EXPECT_EQ(read_main_program_name(), std::string(10239, 'v'));
}

COLORREF pixel_of_image(HIMAGELIST images, int index, int x, int y) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP canvas = CreateCompatibleBitmap(screen, 16, 16);
  HGDIOBJ old = SelectObject(dc, canvas);
  const RECT all{0, 0, 16, 16};
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(dc, &all, red);  // shows through wherever an image is transparent
  ImageList_Draw(images, index, dc, 0, 0, ILD_NORMAL);
  const COLORREF colour = GetPixel(dc, x, y);
  SelectObject(dc, old);
  DeleteObject(red);
  DeleteObject(canvas);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return colour;
}

bool is_grey(COLORREF c) {
  return GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c) && GetRValue(c) > 40 &&
         GetRValue(c) < 220;
}

TEST(RowImages, ThreeOpaqueSixteenPixelGlyphsOnWhite) {
  HIMAGELIST images = create_row_images();
  ASSERT_TRUE(images);
  EXPECT_EQ(ImageList_GetImageCount(images), 3);
  int width = 0, height = 0;
  ImageList_GetIconSize(images, &width, &height);
  EXPECT_EQ(width, 16);
  EXPECT_EQ(height, 16);
  for (int index = 0; index < 3; ++index) {
    EXPECT_EQ(pixel_of_image(images, index, 0, 0), RGB(255, 255, 255)) << index;
    EXPECT_EQ(pixel_of_image(images, index, 15, 15), RGB(255, 255, 255)) << index;
    int grey = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) grey += is_grey(pixel_of_image(images, index, x, y));
    EXPECT_GT(grey, 12) << "image " << index << " has no grey glyph";
  }
  // The three glyphs differ: bars, a tick, a cross.
  EXPECT_NE(pixel_of_image(images, 0, 8, 4), pixel_of_image(images, 1, 8, 4));
  EXPECT_NE(pixel_of_image(images, 1, 5, 5), pixel_of_image(images, 2, 5, 5));
  ImageList_Destroy(images);
}

}  // namespace
}  // namespace velmo::test
