#include <gtest/gtest.h>

#include "server/name_patterns.h"
#include "server/published_path.h"

namespace velmo::server {
namespace {

TEST(PublishedPathTest, ReleasePathsAsTheUpdaterIsToldThem) {
  struct Case {
    std::string release_path;
    std::string expected;  // empty: refused
  };
  const Case cases[] = {
      {"Velmo.exe", "Velmo.exe"},
      {"plugins/b.dll", "plugins/b.dll"},
      {u8"中文 目录/数据 1.dat", u8"中文 目录/数据 1.dat"},
      {"_parent/x.dll", "../x.dll"},
      {"_parent/_parent/lib/x.dll", "../../lib/x.dll"},
      {"plugins/_parent/x.dll", "plugins/_parent/x.dll"},  // only leading ones climb
      {"_parent", "_parent"},                              // a file of that name
      {"lib.dll.d/lib.dll", "lib.dll.d/lib.dll"},
      {"_parent/_parent", "../_parent"},  // the last name is the file
      {"a/../b.dll", ""},                 // ".." anywhere but as climbing
      {"a/./b.dll", ""},
      {"x../y.dll", ""},  // would read as a climb once "../" is removed
      {"trailing./x", ""},
      {"blank /x", ""},
      {"c:/x.dll", ""},
      {"a\\b.dll", ""},
      {"what?.txt", ""},
      {"pipe|.txt", ""},
      {"tab\t.txt", ""},
      {"NUL", ""},
      {"aux.txt", ""},
      {"plugins/com1.dll", ""},
      {"com10.dll", "com10.dll"},
      {"console.log", "console.log"},
      {"bad\xFFutf8.dll", ""},
      {u8"emoji😀.txt", ""},  // GBK lacks it
      {u8"\u4E57.txt", ""},  // GBK 81 5C: a trail byte that reads as a backslash
  };
  for (const Case& c : cases) {
    const PublishedPath published = publish_release_path(c.release_path);
    EXPECT_EQ(published.path, c.expected) << c.release_path;
    EXPECT_EQ(published.problem.empty(), !c.expected.empty()) << c.release_path;
  }
}

TEST(PathKeyTest, UpdaterAndReleaseSpellingsMeet) {
  struct Case {
    std::string path;
    std::string expected;
  };
  const Case cases[] = {
      {"\\Velmo.exe", "velmo.exe"},
      {"\\Plugins\\B.DLL", "plugins/b.dll"},
      {"plugins/b.dll", "plugins/b.dll"},
      {u8"\\中文\\Ä.txt", u8"中文/Ä.txt"},  // only ASCII letters fold
  };
  for (const Case& c : cases) EXPECT_EQ(path_key(c.path), c.expected) << c.path;
}

TEST(NamePatternsTest, DefaultsAndPatterns) {
  struct Case {
    std::vector<std::string> patterns;
    std::string release_path;
    bool excluded;
  };
  const Case cases[] = {
      {default_excluded_patterns(), "UpDate.exe", true},
      {default_excluded_patterns(), "update.EXE", true},
      {default_excluded_patterns(), "launcher.exe", true},
      {default_excluded_patterns(), "config.ini", true},
      {default_excluded_patterns(), "sub/Config.ini", true},
      {default_excluded_patterns(), "Velmo.exe", false},
      {default_excluded_patterns(), "UpDate.exe.bak", false},
      {{"*.pdb"}, "bin/x.pdb", true},
      {{"logs/*"}, "logs/a.txt", true},
      {{"logs/*"}, "logs/deep/a.txt", false},
      {{"logs/*"}, "other/logs/a.txt", false},
      {{}, "UpDate.exe", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NamePatterns(c.patterns).matches(c.release_path), c.excluded) << c.release_path;
  }
}

}  // namespace
}  // namespace velmo::server
