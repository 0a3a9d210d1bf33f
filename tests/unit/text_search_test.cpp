#include "util/text_search.h"

#include <gtest/gtest.h>

namespace velmo {
namespace {

TEST(LastPathSeparator, SkipsTrailBytesThatLookLikeABackslash) {
  EXPECT_EQ(last_path_separator("C:\\Apps\\Velmo.exe"), 7u);
  EXPECT_EQ(last_path_separator("Velmo.exe"), std::string_view::npos);
  // 0x81 0x5C is one GBK character whose second byte is a backslash.
  EXPECT_EQ(last_path_separator("C:\\dir\x81\\name"), 2u);
  EXPECT_EQ(last_path_separator("C:\\dir\x81\\\\name"), 8u);
  EXPECT_EQ(last_path_separator("C:\\"), 2u);
}

TEST(AsciiLower, LowersOnlyAsciiLetters) {
  EXPECT_EQ(ascii_lower("AbC.EXE"), "abc.exe");
  EXPECT_EQ(ascii_lower("\xc0\xc1Z"), "\xc0\xc1z");
  EXPECT_EQ(ascii_lower("\xc1\x41Z"), "\xc1\x41z");
}

}  // namespace
}  // namespace velmo
