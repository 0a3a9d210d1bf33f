#include "util/json_text_boundary.h"

#include <algorithm>

#include "util/code_page.h"

namespace velmo {
namespace {

// The loops below run over pointers: a text may be a hundred megabytes long.

unsigned code_of(char unit) { return static_cast<unsigned char>(unit); }
unsigned code_of(char16_t unit) { return unit; }

size_t length_before_nul(const char16_t* units, size_t size) {
  size_t length = 0;
  while (length < size && units[length] != 0) ++length;
  return length;
}

template <typename Unit>
size_t ascii_run_end(const Unit* units, size_t begin, size_t size) {
  while (begin < size && code_of(units[begin]) < 0x80) ++begin;
  return begin;
}

// A lead byte takes its trail byte along, which may look like ASCII.
size_t gbk_run_end(const char* bytes, size_t begin, size_t size) {
  while (begin < size && code_of(bytes[begin]) >= 0x80) {
    const bool lead = code_of(bytes[begin]) >= 0x81 && code_of(bytes[begin]) <= 0xFE;
    begin += lead && begin + 1 < size ? 2 : 1;
  }
  return begin;
}

size_t wide_run_end(const char16_t* units, size_t begin, size_t size) {
  while (begin < size && units[begin] >= 0x80) ++begin;
  return begin;
}

template <typename Out, typename In>
void append_ascii(Out& out, const In* units, size_t count) {
  const size_t start = out.size();
  out.resize(start + count);
  auto* target = &out[0] + start;
  for (size_t i = 0; i < count; ++i) target[i] = static_cast<typename Out::value_type>(units[i]);
}

}  // namespace

// ASCII runs are copied unit for unit (every code page maps them so), the
// rest goes through the code-page conversion a run at a time: most of a
// server's reply is ASCII, and converting only the rest keeps parsing fast.
std::u16string gbk_to_engine(std::string_view gbk) {
  const char* bytes = gbk.data();
  const size_t size = std::min(gbk.size(), gbk.find('\0'));
  std::u16string wide;
  wide.reserve(size);
  for (size_t i = 0; i < size;) {
    const size_t ascii_end = ascii_run_end(bytes, i, size);
    append_ascii(wide, bytes + i, ascii_end - i);
    const size_t run_end = gbk_run_end(bytes, ascii_end, size);
    if (run_end > ascii_end) {
      wide += bytes_to_wide(gbk.substr(ascii_end, run_end - ascii_end), code_page_gbk);
    }
    i = run_end;
  }
  return wide;
}

std::string engine_to_gbk(std::u16string_view wide) {
  const char16_t* units = wide.data();
  const size_t size = length_before_nul(units, wide.size());
  std::string gbk;
  gbk.reserve(size);
  for (size_t i = 0; i < size;) {
    const size_t ascii_end = ascii_run_end(units, i, size);
    append_ascii(gbk, units + i, ascii_end - i);
    const size_t run_end = wide_run_end(units, ascii_end, size);
    if (run_end > ascii_end) {
      gbk += wide_to_bytes(wide.substr(ascii_end, run_end - ascii_end), code_page_gbk);
    }
    i = run_end;
  }
  return gbk;
}

}  // namespace velmo
