// Numbers read from literals and written back as JScript writes them.
#include "util/json_number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace velmo {
namespace {

TEST(JsonNumberText, WritesNumbersByTheECMAScriptRules) {
  struct Case {
    double number;
    std::string text;
  };
  const double infinity = std::numeric_limits<double>::infinity();
  const Case cases[] = {
      {0, "0"},
      {-0.0, "0"},
      {1, "1"},
      {-1, "-1"},
      {100, "100"},
      {1.25, "1.25"},
      {0.1, "0.1"},
      {0.1 + 0.2, "0.30000000000000004"},
      {1e20, "100000000000000000000"},
      {123456789012345680000.0, "123456789012345680000"},
      {1e21, "1e+21"},
      {1.5e21, "1.5e+21"},
      {0.000001, "0.000001"},
      {1e-7, "1e-7"},
      {-1.5e-7, "-1.5e-7"},
      {9007199254740992.0, "9007199254740992"},
      {1.7976931348623157e308, "1.7976931348623157e+308"},
      {5e-324, "5e-324"},
      {std::numeric_limits<double>::quiet_NaN(), "NaN"},
      {infinity, "Infinity"},
      {-infinity, "-Infinity"},
  };
  for (const Case& c : cases) EXPECT_EQ(number_to_js_text(c.number), c.text) << c.text;
}

TEST(JsonNumberText, ReadsDecimalLiterals) {
  struct Case {
    std::string text;
    double number;
  };
  const Case cases[] = {
      {"0", 0},
      {".5", 0.5},
      {"5.", 5},
      {"019.5", 19.5},
      {"1e3", 1000},
      {"1E-2", 0.01},
      {"0.1", 0.1},
      {"1e400", std::numeric_limits<double>::infinity()},
      {"0.0000000001e999", std::numeric_limits<double>::infinity()},
      {"2.4e-324", 0},
      {"1000e-1000", 0},
      {"0e99999999999999999999", 0},
      {"123456789012345678901234567890", 1.2345678901234568e29},
  };
  for (const Case& c : cases) EXPECT_EQ(decimal_literal_value(c.text), c.number) << c.text;
}

TEST(JsonNumberText, ReadsOctalAndHexadecimalDigits) {
  struct Case {
    std::string digits;
    int radix;
    double number;
  };
  const Case cases[] = {
      {"1F", 16, 31},
      {"ff", 16, 255},
      {"17", 8, 15},
      {"0", 8, 0},
      {"20000000000000000001", 16, std::ldexp(1.0, 77)},  // rounded to nearest
      {"7777777777777777777777", 8, std::ldexp(1.0, 66)},
      {std::string(300, 'f'), 16, std::numeric_limits<double>::infinity()},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(radix_literal_value(c.digits, c.radix), c.number) << c.digits << " base " << c.radix;
  }
}

}  // namespace
}  // namespace velmo
