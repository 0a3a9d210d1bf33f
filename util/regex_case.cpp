#include "util/regex_case.h"

namespace velmo::regex {
namespace {

// A block of upper-case letters whose lower-case forms lie `offset` above.
struct ShiftedBlock {
  char16_t first;
  char16_t last;
  char16_t offset;
};

constexpr ShiftedBlock shifted_blocks[] = {
    {0x0041, 0x005A, 0x20},  // A-Z
    {0x00C0, 0x00D6, 0x20},  // Latin-1 letters (0xD7 is the multiplication sign)
    {0x00D8, 0x00DE, 0x20}, {0x0391, 0x03A1, 0x20},  // Greek (0x03A2 is unassigned)
    {0x03A3, 0x03A9, 0x20}, {0x0410, 0x042F, 0x20},  // Cyrillic
    {0x0400, 0x040F, 0x50}, {0x2160, 0x216F, 0x10},  // Roman numerals
    {0xFF21, 0xFF3A, 0x20},                          // full-width A-Z
};

// Latin Extended-A pairs each upper-case letter with the next code point.
bool is_paired_upper(char16_t c) {
  if (c >= 0x0100 && c <= 0x0137) return c % 2 == 0;
  if (c >= 0x0139 && c <= 0x0148) return c % 2 == 1;
  if (c >= 0x014A && c <= 0x0177) return c % 2 == 0;
  if (c >= 0x0179 && c <= 0x017E) return c % 2 == 1;
  return false;
}

}  // namespace

char16_t lower_case(char16_t c) {
  for (const ShiftedBlock& block : shifted_blocks) {
    if (c >= block.first && c <= block.last) return static_cast<char16_t>(c + block.offset);
  }
  return is_paired_upper(c) ? static_cast<char16_t>(c + 1) : c;
}

char16_t upper_case(char16_t c) {
  for (const ShiftedBlock& block : shifted_blocks) {
    const char16_t lower_first = static_cast<char16_t>(block.first + block.offset);
    const char16_t lower_last = static_cast<char16_t>(block.last + block.offset);
    if (c >= lower_first && c <= lower_last) return static_cast<char16_t>(c - block.offset);
  }
  return c > 0 && is_paired_upper(static_cast<char16_t>(c - 1)) ? static_cast<char16_t>(c - 1) : c;
}

}  // namespace velmo::regex
