#include "updater/startup/process_name_match.h"

#include <gtest/gtest.h>

namespace velmo {
namespace {

struct Case {
  const char* entry;
  const char* name;
  bool exact;
  bool matches;
};

class ProcessNameMatch : public testing::TestWithParam<Case> {};

TEST_P(ProcessNameMatch, ComparesAsTheTerminationStepDoes) {
  const Case& c = GetParam();
  EXPECT_EQ(process_name_matches(c.entry, c.name, c.exact), c.matches)
      << c.entry << " vs " << c.name << (c.exact ? " exact" : "");
}

const Case cases[] = {
    {"Velmo.exe", "Velmo.exe", false, true},
    {"VELMO.EXE", "Velmo.exe", false, true},
    {"velmo.exe", "VELMO.EXE", false, true},
    {"VELMO.EXE", "Velmo.exe", true, false},
    {"Velmo.exe", "Velmo.exe", true, true},
    {"Velmo.exe", "", false, false},
    {"Velmo.exe", "Velmo", false, false},
    {"Velmo.exe.bak", "Velmo.exe", false, false},
    // Only A-Z are lowered: the bytes of a double-byte character are kept.
    {"\xb8\xfc\xd0\xc2.exe", "\xb8\xfc\xd0\xc2.EXE", false, true},
    {"\xc1\x41.exe", "\xc1\x61.exe", false, false},  // a trail byte is not a letter
    {"\xc1\x41.EXE", "\xc1\x41.exe", false, true},
    {"\xc0\xc1.exe", "\xe0\xe1.exe", false, false},
};

INSTANTIATE_TEST_SUITE_P(Table, ProcessNameMatch, testing::ValuesIn(cases));

}  // namespace
}  // namespace velmo
