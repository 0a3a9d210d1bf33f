#include "util/md5.h"

#include <gtest/gtest.h>

#include "util/md5_hex.h"

namespace velmo {
namespace {

struct Case {
  std::string_view input;
  std::string_view expected;
};

// RFC 1321's test suite, and lengths around the padding boundaries.
const Case rfc_cases[] = {
    {"", "d41d8cd98f00b204e9800998ecf8427e"},
    {"a", "0cc175b9c0f1b6a831c399e269772661"},
    {"abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
     "d174ab98d277d9f5a5611c2c9f419d9f"},
    {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "57edf4a22be3c955ac49da2e2107b67a"},
    {"The quick brown fox jumps over the lazy dog", "9e107d9d372bb6826bd81d3542a419d6"},
    {{"\0", 1}, "93b885adfe0da089cdf634904fd59f71"},
};

TEST(Md5Hex, Rfc1321Vectors) {
  for (const Case& c : rfc_cases) EXPECT_EQ(md5_hex(c.input), c.expected) << c.input;
}

TEST(Md5Hex, UpperAndMiddleOnly) {
  EXPECT_EQ(md5_hex("abc", true), "900150983CD24FB0D6963F7D28E17F72");
  EXPECT_EQ(md5_hex("abc", false, true), "3cd24fb0d6963f7d");  // digits 9 to 24
  EXPECT_EQ(md5_hex("abc", true, true), "3CD24FB0D6963F7D");
}

TEST(Md5, PiecesGiveTheDigestOfTheWhole) {
  std::string data;
  for (int i = 0; i < 300; ++i) data.push_back(static_cast<char>(i * 7 + 3));
  for (size_t length : {0u, 55u, 56u, 63u, 64u, 65u, 119u, 120u, 128u, 300u}) {
    const std::string_view whole = std::string_view(data).substr(0, length);
    const std::string expected = md5_hex(whole);
    for (size_t piece = 1; piece <= 70; ++piece) {
      Md5 md5;
      for (size_t pos = 0; pos < whole.size(); pos += piece) md5.update(whole.substr(pos, piece));
      EXPECT_EQ(digest_hex(md5.finish()), expected) << "length " << length << " piece " << piece;
    }
  }
}

TEST(Md5, FinishStartsOver) {
  Md5 md5;
  md5.update("junk");
  md5.finish();
  md5.update("abc");
  EXPECT_EQ(digest_hex(md5.finish()), "900150983cd24fb0d6963f7d28e17f72");
}

TEST(Md5, MillionAs) {
  Md5 md5;
  const std::string thousand(1000, 'a');
  for (int i = 0; i < 1000; ++i) md5.update(thousand);
  EXPECT_EQ(digest_hex(md5.finish()), "7707d6ae4e027c70eea2a935c2296f21");
}

}  // namespace
}  // namespace velmo
